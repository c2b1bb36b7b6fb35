// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// frmNormwerte: standard parts for the desired times. Every change of an input reads all the
// inputs with the program's number rules, runs the search in the core and rewrites the table,
// the status line and the signal picture; the window keeps nothing but the sets last found.
// The selected row and the tolerances give the worst-case spread shown below the table, and
// with the surroundings (dielectric, temperatures, supply, the chip's own error) the real
// spread, the largest cause and the pass rate with its histogram.
// It knows the main window only through Start, what it is offered at each opening, and the
// takeOver signal that hands the selected set back. An opening takes over only what changed in
// the main window since the last one, so what the user typed here stays. It never shows a
// message box: what it cannot compute, or why the best set still misses, it says in its
// status line.

#include <QWidget>
#include <map>
#include <optional>
#include <vector>

#include "core/circuit.h"
#include "core/dimensioning.h"
#include "core/normtext.h"
#include "core/standardsearch.h"
#include "core/tolerance.h"
#include "ui/widgets/partfields.h"
#include "ui/windows/frmNachmessen.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace kippwerk::ui {

struct DataSheet;
class DesignDocument;
class DeviationHistogram;
class RankedRows;
class RealSpreadPanel;
class ResultTable;
class SignalPicture;

class frmNormwerte : public QWidget {  // NOLINT(readability-identifier-naming)
  Q_OBJECT

 public:
  // The main window's state that the inputs take over when the window is opened.
  struct Start {
    double tein = 0.0, taus = 0.0;  // the desired times of the time-entry page
    bool diode = false;
    KnownComponent known = KnownComponent::C1;
    QString c1Text, r2Text;  // the known-component page's boxes and their unit indices
    int c1Unit = -1, r2Unit = -1;
  };

  // A set as the timing page takes it: a number and a unit index for each part that give
  // exactly the part behind the row, in the table's form wherever that is exact.
  struct HandOver {
    ScaledText r1, r2, c1;
    bool diode = false;
  };

  explicit frmNormwerte(QWidget* parent = nullptr);

  // Takes over from `start` what differs from the last opening (everything the first time),
  // shows the window and brings it to the front.
  void open(const Start& start);

  const std::vector<StandardSet>& sets() const { return sets_; }
  DesignDocument* document() const { return document_; }

  // Event operations.
  void recompute();
  void cmbNFest_Click();
  void chkNDiode_Click();
  void cmdNUebernehmen_Click();
  void cmdNNachmessen_Click();

 signals:
  void takeOver(const kippwerk::ui::frmNormwerte::HandOver& set);
  void remeasure(const kippwerk::ui::frmNachmessen::Start& start);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void build();
  void buildDocument();
  std::map<QString, QString> partsOf(int row) const;
  std::map<QString, QString> computedTexts() const;
  DataSheet sheet() const;
  void findControls();
  void connectEvents();
  void fillFixedValue();
  Result<StandardSearch, QString> readRequest() const;
  void surroundingsChanged();
  void showSets(int highlight);
  void showRows(int highlight);
  void showRanked(const std::vector<std::size_t>& order);
  void showProblem(const QString& status);
  void showSelected();
  FixedPart fixedChoice() const;
  const StandardSet* selectedSet() const;
  ToleranceSpread spreadOf(const StandardSet& s) const;
  TimerDesign designOf(const StandardSet& s) const;
  void readEnvironment();
  std::vector<Hint> hintsOf(const StandardSet& s) const;
  static QStringList rowTexts(const StandardSet& s, const QString& rate, const QString& hints);
  QString hintText(const StandardSet& s) const;

  Start start_;
  bool opened_ = false;
  StandardSearch request_;
  ChipFamily family_ = kChipFamilies[0];
  std::vector<StandardSet> candidates_;  // best by deviation first
  std::vector<std::size_t> rows_;        // the candidate of each row
  std::vector<StandardSet> sets_;        // the rows' sets
  RealSpreadPanel* spread_ = nullptr;    // with the surroundings last read
  RankedRows* ranked_ = nullptr;
  DesignDocument* document_ = nullptr;

  struct Controls {
    QLineEdit *txtNTein, *txtNTaus, *txtNUb, *txtNFest;
    QComboBox *cmbNTyp, *cmbNDiodeTyp, *cmbNFest, *cmbNFestEinheit, *cmbNSortierung;
    QProgressBar* prgNAusbeute;
    QCheckBox* chkNDiode;
    ResultTable* tblNormwerte;
    QLabel *lblNStatus, *lblNToleranz, *lblNUmgebung, *lblNHinweis, *lblNReihenfolge;
    SignalPicture* picNSignal;
    DeviationHistogram* picNHistogramm;
    QPushButton *cmdNNachmessen, *cmdNUebernehmen, *cmdNSchliessen;
  } c_{};
};

}  // namespace kippwerk::ui
