// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/app/commandline.h"

#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>
#include <vector>

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
    "Aufruf: kippwerk [Optionen] [DATEI.kippwerk]\n"
    "        kippwerk --pdf AUSGABE.pdf DATEI.kippwerk\n"
    "\n"
    "Berechnet Kippstufen mit dem Timer 555: die astabile Kippstufe aus Bauteilen oder aus\n"
    "gewünschten Zeiten, Normwerte mit ihrer Streuung und den Monoflop, und schließt von\n"
    "einer gemessenen Schaltung auf Ersatzwiderstände. Ohne Optionen öffnet sich das\n"
    "Fenster; mit einer Entwurfsdatei dazu das Fenster des Entwurfs.\n"
    "\n"
    "Optionen:\n"
    "  -h, --help           Zeigt diese Hilfe an.\n"
    "  -v, --version        Zeigt die Versionsnummer an.\n"
    "  --pdf AUSGABE.pdf    Schreibt das Datenblatt des Entwurfs als PDF, ohne Fenster,\n"
    "                       und endet (Status 0, bei einem Fehler 1).\n"
    "  --                   Beendet die Optionen (für eine Datei wie „-x.kippwerk“).\n");

bool takesValue(const QString& name) {
  for (const char* option : kToolkitValueOptions) {
    if (name == QLatin1String(option)) return true;
  }
  return false;
}

// The option as typed: "-x" or "--rechne", without a value given with "=".
QString asTyped(const QString& argument) {
  return argument.section(QLatin1Char('='), 0, 0);
}

QString nameOf(const QString& argument) {
  QString name = asTyped(argument);
  while (name.startsWith(QLatin1Char('-'))) name.remove(0, 1);
  return name;
}

// Why the parser refused the arguments: an option it does not know, a value given to an option
// that takes none ("--version=1"), or an option whose value is missing ("-style" at the end).
QString whatWentWrong(const QCommandLineParser& parser, const QStringList& arguments) {
  const QStringList unknown = parser.unknownOptionNames();
  const QStringList options = arguments.mid(1);
  if (!unknown.isEmpty()) {
    for (const QString& a : options) {
      if (a.startsWith(QLatin1Char('-')) && nameOf(a) == unknown.front()) {
        return QStringLiteral("Unbekannte Option „%1“.").arg(asTyped(a));
      }
    }
    return QStringLiteral("Unbekannte Option „--%1“.").arg(unknown.front());
  }
  for (const QString& a : options) {
    if (a.startsWith(QLatin1Char('-')) && a.contains(QLatin1Char('=')) && !takesValue(nameOf(a))) {
      return QStringLiteral("Die Option „%1“ nimmt keinen Wert an.").arg(asTyped(a));
    }
  }
  const QString last = options.isEmpty() ? QString() : asTyped(options.back());
  return QStringLiteral("Der Option „%1“ fehlt ihr Wert.").arg(last);
}

CommandLine said(CommandLine::Action action, const QString& output, int exitCode) {
  CommandLine out;
  out.action = action;
  out.output = output;
  out.exitCode = exitCode;
  return out;
}

QString hint(const QString& program) {
  return QStringLiteral("Mehr dazu mit „%1 --help“.\n").arg(program);
}

}  // namespace

CommandLine readCommandLine(const QStringList& arguments, const QString& version) {
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
  const QCommandLineOption showVersion(QStringList{QStringLiteral("v"), QStringLiteral("version")});
  const QCommandLineOption pdf(QStringLiteral("pdf"), {}, QStringLiteral("AUSGABE.pdf"));
  parser.addOption(help);
  parser.addOption(showVersion);
  parser.addOption(pdf);
  for (const char* name : kToolkitValueOptions) {
    parser.addOption(QCommandLineOption(QString::fromLatin1(name), {}, QStringLiteral("x")));
  }
  for (const char* name : kToolkitFlags)
    parser.addOption(QCommandLineOption(QString::fromLatin1(name)));

  const QString program = QStringLiteral("kippwerk");
  if (!parser.parse(arguments)) {
    return said(
        CommandLine::Action::Error,
        program + QStringLiteral(": ") + whatWentWrong(parser, arguments) + "\n" + hint(program),
        1);
  }
  if (parser.isSet(help)) return said(CommandLine::Action::Help, kHelp, 0);
  if (parser.isSet(showVersion)) {
    return said(CommandLine::Action::Version, QStringLiteral("Kippwerk %1\n").arg(version), 0);
  }
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1) {
    return said(CommandLine::Action::Error,
                program + QStringLiteral(": Unerwartetes Argument „%1“.\n").arg(files.at(1)) +
                    hint(program),
                1);
  }
  CommandLine out;
  out.design = files.value(0);
  out.platformChosen = parser.isSet(QStringLiteral("platform"));
  if (parser.isSet(pdf)) {
    if (out.design.isEmpty()) {
      return said(CommandLine::Action::Error,
                  program +
                      QStringLiteral(": Zu „--pdf“ gehört ein Entwurf: kippwerk --pdf "
                                     "AUSGABE.pdf DATEI.kippwerk\n") +
                      hint(program),
                  1);
    }
    out.action = CommandLine::Action::Pdf;
    out.pdf = parser.value(pdf);
  }
  return out;
}

namespace {

struct Held {
  QtMsgType type;
  QString file, function, category, text;
  int line;
};
std::vector<Held>& held() {
  static std::vector<Held> messages;
  return messages;
}
QtMessageHandler previousHandler = nullptr;

void holdOrEnd(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtFatalMsg) {
    std::fputs(
        "kippwerk: Das Fenster lässt sich nicht öffnen, weil keine grafische Oberfläche erreichbar "
        "ist (ist DISPLAY oder WAYLAND_DISPLAY gesetzt?). Ohne sie laufen nur „kippwerk --help“ "
        "und „kippwerk --version“.\n",
        stderr);
    std::_Exit(1);
  }
  held().push_back({type, QString::fromUtf8(context.file), QString::fromUtf8(context.function),
                    QString::fromUtf8(context.category), message, context.line});
}

}  // namespace

StartGuard::StartGuard() {
  previousHandler = qInstallMessageHandler(holdOrEnd);
}

StartGuard::~StartGuard() {
  qInstallMessageHandler(previousHandler);
  for (const Held& h : held()) {
    const QByteArray file = h.file.toUtf8(), function = h.function.toUtf8(),
                     category = h.category.toUtf8();
    const QMessageLogContext context(file.isEmpty() ? nullptr : file.constData(), h.line,
                                     function.isEmpty() ? nullptr : function.constData(),
                                     category.isEmpty() ? nullptr : category.constData());
    qt_message_output(h.type, context, h.text);
  }
  held().clear();
}

}  // namespace kippwerk::ui
