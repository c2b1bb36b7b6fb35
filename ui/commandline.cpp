// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/commandline.h"

#include <QCommandLineParser>

namespace kippwerk::ui {
namespace {

// The toolkit's options, which it takes from the command line itself.
const char* const kToolkitValueOptions[] = {
    "platform",     "platformpluginpath", "platformtheme", "plugin",      "qwindowgeometry",
    "geometry",     "qwindowtitle",       "title",         "qwindowicon", "icon",
    "style",        "stylesheet",         "session",       "display",     "name",
    "qmljsdebugger"};
const char* const kToolkitFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

const QString kHelp = QStringLiteral(
    "Aufruf: kippwerk [Optionen]\n"
    "\n"
    "Berechnet Kippstufen mit dem Timer 555: die astabile Kippstufe aus Bauteilen oder aus\n"
    "gewünschten Zeiten, Normwerte mit ihrer Streuung und den Monoflop. Ohne Optionen öffnet\n"
    "sich das Fenster; das Programm liest und schreibt keine Dateien.\n"
    "\n"
    "Optionen:\n"
    "  -h, --help     Zeigt diese Hilfe an.\n"
    "  -v, --version  Zeigt die Versionsnummer an.\n");

QString hint(const QString& program) {
  return QStringLiteral("Mehr dazu mit „%1 --help“.\n").arg(program);
}

}  // namespace

CommandLine readCommandLine(const QStringList& arguments, const QString& version) {
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
  const QCommandLineOption showVersion(QStringList{QStringLiteral("v"), QStringLiteral("version")});
  parser.addOption(help);
  parser.addOption(showVersion);
  for (const char* name : kToolkitValueOptions) {
    parser.addOption(QCommandLineOption(QString::fromLatin1(name), {}, QStringLiteral("x")));
  }
  for (const char* name : kToolkitFlags)
    parser.addOption(QCommandLineOption(QString::fromLatin1(name)));

  const QString program = QStringLiteral("kippwerk");
  if (!parser.parse(arguments)) {
    const QStringList unknown = parser.unknownOptionNames();
    auto asTyped = [&arguments](const QString& name) {
      const QString single = QLatin1Char('-') + name;
      return arguments.contains(single) ? single : QStringLiteral("--") + name;
    };
    const QString what =
        unknown.isEmpty() ? QStringLiteral("Einer Option fehlt ihr Wert.")
                          : QStringLiteral("Unbekannte Option „%1“.").arg(asTyped(unknown.front()));
    return {CommandLine::Action::Error,
            program + QStringLiteral(": ") + what + "\n" + hint(program), 1};
  }
  if (parser.isSet(help)) return {CommandLine::Action::Help, kHelp, 0};
  if (parser.isSet(showVersion)) {
    return {CommandLine::Action::Version, QStringLiteral("Kippwerk %1\n").arg(version), 0};
  }
  if (!parser.positionalArguments().isEmpty()) {
    return {CommandLine::Action::Error,
            program +
                QStringLiteral(": Unerwartetes Argument „%1“.\n")
                    .arg(parser.positionalArguments().front()) +
                hint(program),
            1};
  }
  return {};
}

}  // namespace kippwerk::ui
