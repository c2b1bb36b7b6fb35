// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The program's command line: -h/--help and -v/--version answer and end the program before a
// window, or even a display, is needed; anything else the program does not know ends it with
// a German message. The toolkit's own options (-platform, -style, ...) pass to the toolkit.

#include <QString>
#include <QStringList>

namespace kippwerk::ui {

struct CommandLine {
  enum class Action { Run, Help, Version, Error };
  Action action = Action::Run;
  QString output;  // for stdout (Help, Version) or stderr (Error)
  int exitCode = 0;
};

// `arguments` as the program got them, its own name first.
CommandLine readCommandLine(const QStringList& arguments, const QString& version);

}  // namespace kippwerk::ui
