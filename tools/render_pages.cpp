// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Renders every page of the window, a few filled-in states and the about box to PNG files:
//   render_pages OUTDIR
// Runs on the offscreen platform, so it needs no display.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QTableWidget>
#include <QTimer>
#include <cstdio>

#include "ui/windows/frmKippwerk.h"

using kippwerk::ui::frmKippwerk;

namespace {

void click(frmKippwerk& w, const char* name) {
  w.findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
}

// Until the spreads and pass rates built off the window's thread have arrived, every row's
// (at most ten seconds).
void settle(const QWidget& w) {
  QElapsedTimer timer;
  timer.start();
  auto computing = [&w] {
    for (const QLabel* l : w.findChildren<QLabel*>()) {
      if (l->text().contains(QStringLiteral("wird berechnet"))) return true;
    }
    for (const QProgressBar* p : w.findChildren<QProgressBar*>()) {
      if (p->value() >= 0 && p->value() < p->maximum()) return true;
    }
    return false;
  };
  do {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  } while (computing() && timer.elapsed() < 10000);
}

bool save(QWidget& w, const QDir& dir, const QString& file) {
  settle(w);
  const bool ok = w.grab().save(dir.filePath(file));
  std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(dir.filePath(file)));
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: render_pages OUTDIR\n");
    return 2;
  }
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  const QImage circuit(QStringLiteral(":/kippwerk/circuit.gif"));
  circuit.scaled(circuit.size() * 3).save(dir.filePath("circuit-3x.png"));
  frmKippwerk w;
  w.show();
  bool ok = save(w, dir, "page0-start.png");
  click(w, "cmdZeit");
  ok &= save(w, dir, "page4-timing.png");
  click(w, "cmdBerechne");
  ok &= save(w, dir, "page4-timing-result.png");
  w.findChild<QAction*>("mnuRestart")->trigger();
  click(w, "cmdBauteile");
  ok &= save(w, dir, "page1-known.png");
  click(w, "optR2");
  ok &= save(w, dir, "page1-known-r2.png");
  click(w, "optC1");
  click(w, "cmdWeiter1");
  ok &= save(w, dir, "page2-times.png");
  click(w, "cmdWeiter2");
  ok &= save(w, dir, "page3-result.png");
  click(w, "cmdFertig");
  ok &= save(w, dir, "page3-result-computed.png");

  // The standard-values window, opened from the menu, with other times and a 1N4148 at 5 V,
  // and with a range that holds no standard value.
  w.findChild<QAction*>("mnuNormwerte")->trigger();
  auto* normwerte = w.findChild<QWidget*>("frmNormwerte");
  normwerte->findChild<QLineEdit*>("txtNTein")->setText("0.6");
  normwerte->findChild<QLineEdit*>("txtNTaus")->setText("0.25");
  normwerte->findChild<QCheckBox*>("chkNDiode")->setChecked(true);
  normwerte->findChild<QLineEdit*>("txtNUb")->setText("5");
  ok &= save(*normwerte, dir, "normwerte.png");
  normwerte->findChild<QCheckBox*>("chkNDiode")->setChecked(false);
  normwerte->findChild<QLineEdit*>("txtNUb")->setText("9");
  normwerte->findChild<QComboBox*>("cmbNRmax")->setCurrentIndex(1);
  normwerte->findChild<QLineEdit*>("txtNRmax")->setText("0.5");
  ok &= save(*normwerte, dir, "normwerte-empty-range.png");

  // Nachmessen from the standard-values window's row 150 k, 68 k, 4.7 uF with a 1N4148 at 9 V,
  // for 540 ms and 220 ms, with the measured 515 ms and 205 ms it opens with.
  normwerte->findChild<QLineEdit*>("txtNRmax")->setText("10");
  normwerte->findChild<QComboBox*>("cmbNRmax")->setCurrentIndex(2);
  normwerte->findChild<QCheckBox*>("chkNDiode")->setChecked(true);
  normwerte->findChild<QComboBox*>("cmbNFest")->setCurrentIndex(1);
  normwerte->findChild<QLineEdit*>("txtNFest")->setText("4.7");
  normwerte->findChild<QLineEdit*>("txtNTein")->setText("0.54");
  normwerte->findChild<QLineEdit*>("txtNTaus")->setText("0.22");
  auto* table = normwerte->findChild<QTableWidget*>("tblNormwerte");
  for (int row = 0; row < table->rowCount(); ++row) {
    if (table->item(row, 0)->text() == "150 k Ohm" && table->item(row, 1)->text() == "68 k Ohm") {
      table->selectRow(row);
    }
  }
  ok &= save(*normwerte, dir, "normwerte-real-spread.png");
  normwerte->findChild<QAbstractButton*>("cmdNNachmessen")->click();
  auto* nachmessen = w.findChild<QWidget*>("frmNachmessen");
  nachmessen->findChild<QLineEdit*>("txtAMessEin")->setText("0.515");
  nachmessen->findChild<QLineEdit*>("txtAMessAus")->setText("0.205");
  ok &= save(*nachmessen, dir, "nachmessen.png");
  nachmessen->close();
  normwerte->close();

  // The monostable window with its defaults: 100 k and 4.7 uF, the pairs for 1 s.
  w.findChild<QAction*>("mnuMonoflop")->trigger();
  auto* monoflop = w.findChild<QWidget*>("frmMonoflop");
  ok &= save(*monoflop, dir, "monoflop.png");
  monoflop->findChild<QAbstractButton*>("cmdMNachmessen")->click();
  nachmessen->findChild<QLineEdit*>("txtAMessEin")->setText("0.94");
  ok &= save(*nachmessen, dir, "nachmessen-monoflop.png");
  nachmessen->close();
  monoflop->close();

  QTimer::singleShot(0, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      ok &= save(*box, dir, "about.png");
      box->accept();
    }
  });
  w.findChild<QAction*>("mnuAbout")->trigger();
  return ok ? 0 : 1;
}
