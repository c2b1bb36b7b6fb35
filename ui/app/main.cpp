// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QApplication>
#include <cstdio>
#include <optional>

#include "ui/app/commandline.h"
#include "ui/windows/frmKippwerk.h"

int main(int argc, char** argv) {
  // Read before the toolkit starts: --help and --version need no display.
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const kippwerk::ui::CommandLine line =
      kippwerk::ui::readCommandLine(arguments, QStringLiteral(KIPPWERK_VERSION));
  if (line.action != kippwerk::ui::CommandLine::Action::Run) {
    std::fputs(line.output.toLocal8Bit().constData(),
               line.action == kippwerk::ui::CommandLine::Action::Error ? stderr : stdout);
    return line.exitCode;
  }
  std::optional<kippwerk::ui::StartGuard> guard(std::in_place);
  QApplication app(argc, argv);
  guard.reset();
  QApplication::setApplicationName(QStringLiteral("Kippwerk"));
  QApplication::setApplicationVersion(QStringLiteral(KIPPWERK_VERSION));
  kippwerk::ui::frmKippwerk window;
  window.show();
  return QApplication::exec();
}
