// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// frmMonoflop: the monostable timer beside the astable one. Part one turns R and C1 into the
// pulse length at every key; part two turns a desired length into the ten best pairs of
// standard parts with their spread, the chip's limits and a picture of trigger and pulse, and
// Übernehmen copies the highlighted pair into part one. Every change of an input reads the
// inputs with the program's number rules and calls the core; the window keeps nothing but the
// pairs last found. With the surroundings it shows the highlighted pair's real spread, the
// largest cause and the pass rate with its histogram. It shows no message box: what it cannot
// compute it says in place.

#include <QWidget>
#include <map>
#include <vector>

#include "core/monoflop.h"
#include "ui/widgets/partfields.h"
#include "ui/windows/frmNachmessen.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace kippwerk::ui {

struct DataSheet;
class DesignDocument;
class DeviationHistogram;
class PictureBox;
class RankedRows;
class RealSpreadPanel;
class PulsePicture;
class ResultTable;

class frmMonoflop : public QWidget {  // NOLINT(readability-identifier-naming)
  Q_OBJECT

 public:
  explicit frmMonoflop(QWidget* parent = nullptr);

  // Shows the window and brings it to the front, its inputs as they are.
  void open();

  const std::vector<PulsePair>& pairs() const { return pairs_; }
  DesignDocument* document() const { return document_; }

  // Event operations.
  void txtMR_Change();
  void recompute();
  void cmdMUebernehmen_Click();
  void cmdMNachmessen_Click();

 signals:
  void remeasure(const kippwerk::ui::frmNachmessen::Start& start);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void build();
  void buildDocument();
  std::map<QString, QString> partsOf(int row) const;
  DataSheet sheet() const;
  void findControls();
  void connectEvents();
  Result<PulseSearch, QString> readRequest();
  TimerDesign designOf(const PulsePair& p) const;
  std::vector<Hint> hintsOf(const PulsePair& p) const;
  void surroundingsChanged();
  void readEnvironment();
  void showPairs(int highlight);
  void showRows(int highlight);
  void showRanked(const std::vector<std::size_t>& order);
  void showProblem(const QString& status);
  void showSelected();
  const PulsePair* selectedPair() const;

  PulseSearch request_;
  double ub_ = 9.0;  // the supply read with it
  ChipFamily family_ = kChipFamilies[0];
  std::vector<PulsePair> candidates_;  // best by deviation first
  std::vector<std::size_t> rows_;      // the candidate of each row
  std::vector<PulsePair> pairs_;       // the rows' pairs
  RealSpreadPanel* spread_ = nullptr;  // with the surroundings last read
  RankedRows* ranked_ = nullptr;
  DesignDocument* document_ = nullptr;

  struct Controls {
    PictureBox* picMSchaltung;
    QLineEdit *txtMR, *txtMC, *txtMT, *txtMUb;
    QComboBox *cmbMR, *cmbMC, *cmbMTyp, *cmbMSortierung;
    QProgressBar* prgMAusbeute;
    QLabel *lblMZeit, *lblMStatus, *lblMToleranz, *lblMUmgebung, *lblMReihenfolge;
    ResultTable* tblMonoflop;
    PulsePicture* picMSignal;
    DeviationHistogram* picMHistogramm;
    QPushButton *cmdMNachmessen, *cmdMUebernehmen, *cmdMSchliessen;
  } c_{};
};

}  // namespace kippwerk::ui
