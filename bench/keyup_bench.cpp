// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Keys typed into a time box, each timed from the key press to the end of the repaint of the
// window that shows its result: the t-EIN box of the time-entry page, and the t-EIN box of the
// standard-values window with its table and signal picture, without and with the diode, and
// the t box of the monoflop window, and the measured t-EIN of the remeasuring window; the real
// spread and the rows' pass rates start with each key in the first two. Each
// key changes the text, so every run recomputes and repaints. Then the time from a key to the
// last row's pass rate, and to a hundred sets ranked by it.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "ui/windows/frmKippwerk.h"

namespace {

void measure(const char* what, QLineEdit* box, QWidget* shown) {
  box->setFocus();
  QTest::keyClick(box, Qt::Key_End);
  QApplication::processEvents();
  constexpr int kKeys = 4000;
  std::vector<double> us;
  us.reserve(kKeys);
  for (int i = 0; i < kKeys; ++i) {
    const auto start = std::chrono::steady_clock::now();
    if (i % 2 == 0) {
      QTest::keyClick(box, Qt::Key_1);
    } else {
      QTest::keyClick(box, Qt::Key_Backspace);
    }
    shown->repaint();
    QApplication::processEvents();
    us.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                     .count());
  }
  std::sort(us.begin(), us.end());
  std::printf("%s, %d keys: median %.0f us, 99th percentile %.0f us\n", what, kKeys,
              us[us.size() / 2], us[us.size() * 99 / 100]);
}

// The offscreen platform notes every window's size hints and every raise(); they say nothing of
// the program and would crowd out the figures.
void quietOffscreenNotes() {
  static QtMessageHandler previous = nullptr;
  previous = qInstallMessageHandler(
      [](QtMsgType type, const QMessageLogContext& context, const QString& msg) {
        if (msg.startsWith(QLatin1String("This plugin does not support"))) return;
        if (previous != nullptr) previous(type, context, msg);
      });
}

// From a key to the moment `done` holds (the column full, the ranking shown), `rounds` keys,
// each after the last one's work ended; the median and the slowest.
template <class Done>
void measureUntil(const char* what, QLineEdit* box, int rounds, Done done) {
  box->setFocus();
  QTest::keyClick(box, Qt::Key_End);
  std::vector<double> ms;
  for (int i = 0; i < rounds; ++i) {
    const auto start = std::chrono::steady_clock::now();
    QTest::keyClick(box, i % 2 == 0 ? Qt::Key_1 : Qt::Key_Backspace);
    while (!done()) {
      QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count());
  }
  std::sort(ms.begin(), ms.end());
  std::printf("%s, %d keys: median %.0f ms, slowest %.0f ms\n", what, rounds, ms[ms.size() / 2],
              ms.back());
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  quietOffscreenNotes();
  QApplication app(argc, argv);
  kippwerk::ui::frmKippwerk w;
  w.show();
  for (const char* name : {"cmdBauteile", "cmdWeiter1"}) {
    w.findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
  }
  measure("key release in t-EIN (operation + repaint)",
          w.findChild<QLineEdit*>(QStringLiteral("txtTein")), &w);

  w.findChild<QAction*>(QStringLiteral("mnuNormwerte"))->trigger();
  auto* normwerte = w.findChild<QWidget*>(QStringLiteral("frmNormwerte"));
  measure("key in the standard-values t-EIN (search + table + picture + repaint)",
          normwerte->findChild<QLineEdit*>(QStringLiteral("txtNTein")), normwerte);
  normwerte->findChild<QCheckBox*>(QStringLiteral("chkNDiode"))->setChecked(true);
  measure("the same with a 1N4148 at 9 V",
          normwerte->findChild<QLineEdit*>(QStringLiteral("txtNTein")), normwerte);
  auto* tein = normwerte->findChild<QLineEdit*>(QStringLiteral("txtNTein"));
  auto* progress = normwerte->findChild<QProgressBar*>(QStringLiteral("prgNAusbeute"));
  auto* order = normwerte->findChild<QComboBox*>(QStringLiteral("cmbNSortierung"));
  auto* said = normwerte->findChild<QLabel*>(QStringLiteral("lblNReihenfolge"));
  auto full = [progress] { return progress->value() == progress->maximum(); };
  auto ranked = [said] { return said->text().startsWith(QStringLiteral("Nach Ausbeute")); };
  measureUntil("key to the last of the 10 rows' pass rates with a 1N4148 at 9 V", tein, 21, full);
  order->setCurrentIndex(1);
  measureUntil("key to 100 sets ranked by pass rate with a 1N4148 at 9 V", tein, 11, ranked);
  normwerte->findChild<QCheckBox*>(QStringLiteral("chkNDiode"))->setChecked(false);
  measureUntil("key to 100 sets ranked by pass rate without the diode", tein, 11, ranked);
  order->setCurrentIndex(0);
  // The widest series: E192 resistors and E24 capacitors, with the diode.
  normwerte->findChild<QCheckBox*>(QStringLiteral("chkNDiode"))->setChecked(true);
  normwerte->findChild<QComboBox*>(QStringLiteral("cmbNReiheR"))->setCurrentText("E192");
  normwerte->findChild<QComboBox*>(QStringLiteral("cmbNReiheC"))->setCurrentText("E24");
  measure("key in the standard-values t-EIN with E192 and E24 and a 1N4148 at 9 V", tein,
          normwerte);
  normwerte->close();

  w.findChild<QAction*>(QStringLiteral("mnuMonoflop"))->trigger();
  auto* monoflop = w.findChild<QWidget*>(QStringLiteral("frmMonoflop"));
  measure("key in the monoflop's t (search + table + pictures + repaint)",
          monoflop->findChild<QLineEdit*>(QStringLiteral("txtMT")), monoflop);
  monoflop->close();

  // The remeasuring window with the worked case: 150 k, 68 k, 4.7 uF and a 1N4148 at 9 V.
  w.findChild<QAction*>(QStringLiteral("mnuNachmessen"))->trigger();
  auto* nachmessen = w.findChild<QWidget*>(QStringLiteral("frmNachmessen"));
  nachmessen->findChild<QCheckBox*>(QStringLiteral("chkADiode"))->setChecked(true);
  measure("key in Nachmessen's measured t-EIN (inversion + search + trimmers + picture + repaint)",
          nachmessen->findChild<QLineEdit*>(QStringLiteral("txtAMessEin")), nachmessen);
  return 0;
}
