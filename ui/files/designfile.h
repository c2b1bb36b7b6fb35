// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A design as a file: what one of the windows that pick parts holds, as plain data, and its
// reading and writing as UTF-8 JSON (docs/design-file.md). Nothing here knows a widget; every
// problem comes back as a German sentence that names the file.

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>

#include "core/result.h"

namespace kippwerk::files {

enum class DesignKind { Normwerte, Monoflop, Nachmessen };

// The name a kind has in the file and in sentences.
QString kindName(DesignKind kind);

// Keys are the controls' readable names ("R min", "Reihe der Widerstände"); the window maps
// them to its controls. Everything the user typed is kept as text, every choice as the text the
// user saw in the list.
struct Design {
  DesignKind kind = DesignKind::Normwerte;
  std::map<QString, QString> inputs;    // each box's text, as typed
  std::map<QString, QString> choices;   // each drop-down's chosen entry
  std::map<QString, bool> flags;        // each check box and option button
  std::map<QString, QString> selected;  // the highlighted row's parts as the table shows them
  // Written for the reader's information, never read back as truth: the highlighted row's
  // times and the version of the program that wrote the file.
  std::map<QString, QString> computed;
  QString program;

  friend bool operator==(const Design&, const Design&) = default;
};

inline constexpr char kFormatName[] = "kippwerk-entwurf";
inline constexpr int kFormatVersion = 1;
inline constexpr std::int64_t kMaxDesignBytes = 1024 * 1024;
inline constexpr char kSuffix[] = "kippwerk";

// Nothing, or why not: a German sentence.
struct Done {};
using Written = Result<Done, QString>;

// The file's text for a design: indented JSON, keys sorted, no byte order mark.
QByteArray writeDesign(const Design& design);
// A design from a file's bytes; `file` is the name the messages use. A byte order mark is
// skipped; of two equal keys in an object the last counts; unknown keys are ignored.
Result<Design, QString> readDesign(const QByteArray& bytes, const QString& file);

// The same from and to the file system. Reading refuses what is not a regular file before it
// opens it and reads at most kMaxDesignBytes + 1 bytes. Writing replaces the file at once or not
// at all; `write` is the writer, replaceable to fail in tests.
Result<Design, QString> readDesignFile(const QString& path);
Written saveBytes(const QString& path, const QByteArray& bytes,
                  const std::function<bool(QIODevice&, const QByteArray&)>& write = {});
Written saveDesignFile(const QString& path, const Design& design);

// "„name.kippwerk“": how the sentences name a file.
QString quotedFileName(const QString& path);

}  // namespace kippwerk::files
