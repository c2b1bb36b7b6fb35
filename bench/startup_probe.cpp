// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Opens a window and writes one line to standard output once its first frame is painted, then
// ends. Built twice: as the real window and, with KIPPWERK_BARE_WINDOW, as a bare main window
// of the same size with a menu bar, the reference the start-up figures are measured against.

#include <unistd.h>
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>
#include <cstdio>

#ifndef KIPPWERK_BARE_WINDOW
#include "ui/windows/frmKippwerk.h"
#endif

namespace {

class FirstPaint : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      // Report once the paint has finished and reached the screen.
      QTimer::singleShot(0, [] {
        std::fputs("painted\n", stdout);
        std::fflush(stdout);
        ::_exit(0);
      });
    }
    return false;
  }

 private:
  bool seen_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
#ifdef KIPPWERK_BARE_WINDOW
  QMainWindow w;
  w.menuBar()->addMenu(QStringLiteral("&Datei"));
  w.setCentralWidget(new QWidget);
  w.centralWidget()->setFixedSize(496, 398);
#else
  kippwerk::ui::frmKippwerk w;
#endif
  FirstPaint probe;
  w.installEventFilter(&probe);
  w.show();
  return QApplication::exec();
}
