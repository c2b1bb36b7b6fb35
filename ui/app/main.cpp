// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>
#include <optional>

#include "ui/app/commandline.h"
#include "ui/files/designdocument.h"
#include "ui/windows/frmKippwerk.h"

namespace {

void say(const QString& text, std::FILE* to) {
  std::fputs(text.toLocal8Bit().constData(), to);
}

// The data sheet of a design, written without a window: 0, or 1 with the reason on stderr.
int writePdf(kippwerk::ui::frmKippwerk& main, const QString& design, const QString& output) {
  const kippwerk::Result<QWidget*, QString> opened = main.openDesign(design);
  if (!opened) {
    say(QStringLiteral("kippwerk: %1\n").arg(opened.error()), stderr);
    return 1;
  }
  auto* document = opened.value()->findChild<kippwerk::ui::DesignDocument*>();
  // The writer reports success even on a full disk: the sheet is drawn in memory first.
  const QByteArray pdf = kippwerk::ui::dataSheetPdf(document->sheet());
  const kippwerk::files::Written saved = kippwerk::files::saveBytes(output, pdf);
  if (!saved) {
    say(QStringLiteral("kippwerk: %1\n").arg(saved.error()), stderr);
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Read before the toolkit starts: --help and --version need no display.
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const kippwerk::ui::CommandLine line =
      kippwerk::ui::readCommandLine(arguments, QStringLiteral(KIPPWERK_VERSION));
  using Action = kippwerk::ui::CommandLine::Action;
  if (line.action != Action::Run && line.action != Action::Pdf) {
    say(line.output, line.action == Action::Error ? stderr : stdout);
    return line.exitCode;
  }
  // The data sheet needs no display unless the user chose one.
  if (line.action == Action::Pdf && !line.platformChosen &&
      qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  std::optional<kippwerk::ui::StartGuard> guard(std::in_place);
  QApplication app(argc, argv);
  guard.reset();
  QApplication::setApplicationName(QStringLiteral("Kippwerk"));
  QApplication::setApplicationVersion(QStringLiteral(KIPPWERK_VERSION));
  // The toolkit's own dialogs (files, printing, the question before changes are lost) in German.
  QTranslator qtGerman;
  if (qtGerman.load(QStringLiteral("qtbase_de"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtGerman);
  }
  kippwerk::ui::frmKippwerk window;
  if (line.action == Action::Pdf) return writePdf(window, line.design, line.pdf);
  window.show();
  if (!line.design.isEmpty()) {
    const kippwerk::Result<QWidget*, QString> opened = window.openDesign(line.design);
    if (opened) {
      opened.value()->show();
    } else {
      kippwerk::ui::designDialogs().warn(&window, opened.error());
    }
  }
  return QApplication::exec();
}
