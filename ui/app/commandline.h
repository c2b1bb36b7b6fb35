// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The program's command line: -h/--help and -v/--version answer and end the program before a
// window, or even a display, is needed; a design file opens in its window; --pdf writes a
// design's data sheet without a window; anything else the program does not know ends it with a
// German message. "--" ends the options. The toolkit's own options (-platform, -style, ...)
// pass to the toolkit.

#include <QString>
#include <QStringList>

namespace kippwerk::ui {

struct CommandLine {
  enum class Action { Run, Help, Version, Error, Pdf };
  Action action = Action::Run;
  QString output;  // for stdout (Help, Version) or stderr (Error)
  int exitCode = 0;
  QString design;               // Run: a design to open; Pdf: the design
  QString pdf;                  // Pdf: where the data sheet goes
  bool platformChosen = false;  // -platform was given
};

// `arguments` as the program got them, its own name first.
CommandLine readCommandLine(const QStringList& arguments, const QString& version);

// While the toolkit looks for a display it may fail and abort the program with its own English
// message. Between these two calls the toolkit's messages are held back; a failure that would
// abort ends the program instead with a German sentence on stderr and status 1. What was held
// back of a start that worked goes on to stderr when the guard ends.
class StartGuard {
 public:
  StartGuard();
  ~StartGuard();
  StartGuard(const StartGuard&) = delete;
  StartGuard& operator=(const StartGuard&) = delete;
};

}  // namespace kippwerk::ui
