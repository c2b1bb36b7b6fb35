// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// frmKippwerk: the one window. The controls come from the table in controls.cpp; this class
// wires their events to the event operations below. Each operation reads its controls, calls
// the core (which never touches a widget), stores the form-level quantities and writes the
// result texts. The current page is whichever member of Frame is visible; there is no page
// variable. Message boxes are shown only from here.

#include <QMainWindow>
#include <QMessageBox>
#include <functional>
#include <span>

#include "core/dimensioning.h"
#include "core/numbers.h"
#include "core/timing.h"
#include "ui/windows/frmNachmessen.h"
#include "ui/windows/frmNormwerte.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace kippwerk::ui {

class frmMonoflop;
class PictureBox;

class frmKippwerk : public QMainWindow {  // NOLINT(readability-identifier-naming)
 public:
  // The form-level quantities, in base units; both jobs share them.
  struct Quantities {
    double R1 = 0.0;
    double R2 = 0.0;
    double C1 = 0.0;
    Times times;
    bool Diode = false;
  };

  explicit frmKippwerk(QWidget* parent = nullptr);

  const Quantities& quantities() const { return q_; }

  // Event operations.
  void Form_Load();
  void cmdBerechne_Click();
  void txtTein_KeyUp();
  void txtTaus_KeyUp();
  void txtFrequenz_KeyUp();
  void chkDiode_Click();
  void optC1_Click();
  void optR2_Click();
  void cmdWeiter2_Click();
  void cmdFertig_Click();
  void mnuRestart_Click();
  void mnuBeenden_Click();
  void mnuAbout_Click();
  void mnuNormwerte_Click();
  void mnuMonoflop_Click();
  void mnuNachmessen_Click();
  void mnuEntwurfOeffnen_Click();
  // Opens a design file in its window and shows it; why not, else.
  Result<QWidget*, QString> openDesign(const QString& path);
  // Asks each design window with unsaved changes; false when the user cancelled.
  bool mayCloseDesigns();
  // A row of the standard-values or monoflop window to measure again.
  void openNachmessen(const frmNachmessen::Start& start);
  // A set of standard parts from frmNormwerte: into the timing page, then "Berechne Zeiten".
  void takeOverStandardSet(const frmNormwerte::HandOver& set);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenu();
  frmNormwerte* normwerte();
  frmMonoflop* monoflop();
  frmNachmessen* nachmessen();
  void connectEvents();
  QGroupBox* page(int index) const;
  void switchPage(int from, int to);
  void showOnlyPage(int index);
  void setText(QLineEdit* typedIn);
  void applyTimeEntry(QLineEdit* box, const std::function<Result<Times>(Times, double)>& op);
  void showMessage(QMessageBox::Icon icon, const QString& text);
  void showError(Error error);

  Quantities q_;
  // The times last set on the time-entry page (the timing page's results are not wishes):
  // what the standard-values window is offered.
  Times desired_;
  frmNormwerte* normwerte_ = nullptr;    // made on first use, lives with the window
  frmMonoflop* monoflop_ = nullptr;      // the same
  frmNachmessen* nachmessen_ = nullptr;  // the same
  // The time box that received the last key press while it had the focus.
  const QObject* keyPressedIn_ = nullptr;

  struct Controls {
    PictureBox* Picture1;
    QGroupBox* Frame[5];
    QGroupBox* Frame1[2];
    QLineEdit *txtGegR1, *txtGegR2, *txtGegC1, *txtC1, *txtR2;
    QLineEdit *txtTein, *txtTaus, *txtTperiode, *txtFrequenz;
    QComboBox *cmbGegR1, *cmbGegR2, *cmbGegC1, *cmbR2, *cmbC1;
    QCheckBox *chkD, *chkDiode;
    QRadioButton *optC1, *optR2;
    QLabel *lblZeiten, *lblErgebnis;
  } c_{};
};

}  // namespace kippwerk::ui
