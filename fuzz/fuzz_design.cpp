// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The design file's reader on any bytes: it never crashes, every refusal is a German sentence
// that names the file, and what it reads it writes back so that reading that gives the same.

#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "ui/files/designfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using kippwerk::fuzz::require;
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString file = QStringLiteral("„f.kippwerk“");
  const auto read = kippwerk::files::readDesign(bytes, file);
  if (!read) {
    const std::string message = read.error().toStdString();
    require(read.error().startsWith(file + QLatin1Char(' ')), "names the file", message);
    require(read.error().endsWith(QLatin1Char('.')), "a sentence", message);
    require(!read.error().contains(QLatin1String("error"), Qt::CaseInsensitive) &&
                !read.error().contains(QLatin1String("illegal"), Qt::CaseInsensitive),
            "no English", message);
    return 0;
  }
  const QByteArray written = kippwerk::files::writeDesign(read.value());
  require(!written.startsWith("\xEF\xBB\xBF"), "no byte order mark");
  const auto again = kippwerk::files::readDesign(written, file);
  require(again.ok(), "reads what it wrote", written.toStdString());
  require(again.value() == read.value(), "the same design", written.toStdString());
  return 0;
}
