// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QApplication>

#include "ui/frmKippwerk.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kippwerk"));
  kippwerk::ui::frmKippwerk window;
  window.show();
  return QApplication::exec();
}
