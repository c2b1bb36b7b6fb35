// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// frmNachmessen: from the board as built and measured back to parts. Every change of an input
// reads all the inputs with the program's number rules and asks the core what C1 acts like,
// how far t-EIN is off the model, which standard resistors (the standard-values window's own
// search, with C1 fixed at what it acts like) and which fixed resistor with a trimmer bring the
// board onto the desired times; the window keeps nothing but the results last found. The
// standard-values and monoflop windows fill it with a row through open(Start). It shows no
// message box: what it cannot compute, and which box holds it back, it says in its status line.

#include <QWidget>
#include <map>
#include <vector>

#include "core/monoflop.h"
#include "core/normtext.h"
#include "core/remeasure.h"
#include "core/standardsearch.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kippwerk::ui {

struct DataSheet;
class DesignDocument;
class MeasurePicture;
class ResultTable;

class frmNachmessen : public QWidget {  // NOLINT(readability-identifier-naming)
  Q_OBJECT

 public:
  // What another window hands over: the row's parts (exact in their units), its circuit and
  // its desired time(s).
  struct Start {
    bool monostable = false;
    ScaledText r1, r2, c1;
    int family = 0;
    double ub = 9.0;
    bool diode = false;
    int diodeModel = 0;
    int capacitorType = 2;
    double wantTein = 0.0, wantTaus = 0.0;
  };

  explicit frmNachmessen(QWidget* parent = nullptr);

  // Shows the window as it is and brings it to the front.
  void open();
  // Takes over `start`, measured values kept, then shows it.
  void open(const Start& start);

  const std::vector<StandardSet>& sets() const { return sets_; }
  const std::vector<PulsePair>& pairs() const { return pairs_; }
  // t-EIN of the table's sets is this times the model's.
  double k() const { return reading_.k; }
  DesignDocument* document() const { return document_; }

  // Event operations.
  void recompute();
  void optAAstabil_Click();
  void optAZeiten_Click();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // What the inputs say, read in one go.
  struct Inputs {
    bool monostable = false;
    bool frequencyForm = false;
    Circuit circuit;
    double r1 = 0.0, r2 = 0.0, c1 = 0.0;
    double measuredTein = 0.0, measuredTaus = 0.0;
    double wantTein = 0.0, wantTaus = 0.0;
    double resistorTolerance = 0.0;
    Series series = Series::E24;
    double rMin = 0.0, rMax = 0.0;
    ChipFamily family = kChipFamilies[0];
    bool electrolytic = false;
  };

  void build();
  void buildDocument();
  std::map<QString, QString> partsOf(int row) const;
  DataSheet sheet() const;
  void findControls();
  void connectEvents();
  Result<Inputs, QString> readInputs() const;
  Result<std::pair<double, double>, QString> readMeasured(bool monostable) const;
  static RemeasureCase caseOf(const Inputs& in);
  void showProblem(const QString& status);
  void recomputeKind(const Inputs& in);
  void showAstable(const Inputs& in);
  void showMonostable(const Inputs& in);
  void showTrimmers(const Inputs& in, const Needed& needed);
  void showSelected();
  void showMeasuredForm();
  QString nameOf(const char* astable, const char* monostable) const;

  Inputs inputs_;
  Reading reading_;
  std::vector<StandardSet> sets_;
  std::vector<PulsePair> pairs_;
  DesignDocument* document_ = nullptr;

  struct Controls {
    QRadioButton *optAAstabil, *optAMonoflop, *optAZeiten, *optAFrequenz;
    QLineEdit *txtAR1, *txtAR2, *txtAC1, *txtAUb;
    QLineEdit *txtAMessEin, *txtAMessAus, *txtAMessF, *txtAMessTg, *txtASollEin, *txtASollAus;
    QComboBox *cmbAR1, *cmbAR2, *cmbAC1, *cmbADiodeTyp, *cmbATyp, *cmbAKondTyp;
    QCheckBox* chkADiode;
    QLabel *lblAR1, *lblAMessEin, *lblASollEin, *lblAMessHinweis;
    QLabel *lblAStatus, *lblAErgebnis, *lblATrimmer;
    ResultTable* tblNachmessen;
    MeasurePicture* picASignal;
    QPushButton* cmdASchliessen;
  } c_{};
};

}  // namespace kippwerk::ui
