// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Shared checks of the fuzz targets. A failed property aborts, so libFuzzer keeps the input.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <regex>
#include <string>

#include "core/numbers.h"

namespace kippwerk::fuzz {

[[noreturn]] inline void fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "property violated: %s: %s\n", what, detail.c_str());
  std::abort();
}

inline void require(bool ok, const char* what, const std::string& detail = {}) {
  if (!ok) fail(what, detail);
}

// Reads the fuzzer's bytes as a sequence of values.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  template <class T>
  T take() {
    T v{};
    const std::size_t n = std::min(sizeof v, size_ - pos_);
    std::memcpy(&v, data_ + pos_, n);
    pos_ += n;
    return v;
  }
  bool flag() { return (take<std::uint8_t>() & 1) != 0; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

inline bool saysInfOrNan(const std::string& text) {
  std::string lower;
  for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower.find("inf") != std::string::npos || lower.find("nan") != std::string::npos;
}

// The display form, written from its rules: a blank or minus; then 0, or exponent form with
// one digit, an optional fraction without trailing zeros, E, a sign and 2 or 3 digits, or
// plain digits with an optional fraction without trailing zeros and no 0 before the point.
inline void checkFormatted(double x) {
  static const std::regex kGrammar(
      R"(^[ -](0|[1-9](\.[0-9]*[1-9])?E[+-][0-9]{2,3}|[1-9][0-9]*(\.[0-9]*[1-9])?|\.[0-9]*[1-9])$)");
  const std::string text = formatValue(x);
  require(std::regex_match(text, kGrammar), "formatValue grammar", text);
  require(!saysInfOrNan(text), "formatValue says inf or nan", text);
  int significant = 0;
  bool leading = true;
  for (char c : text) {
    if (c == 'E') break;
    if (c >= '0' && c <= '9') {
      if (c != '0') leading = false;
      if (!leading) ++significant;
    }
  }
  require(significant <= 15, "more than 15 significant digits", text);
  require((text[0] == '-') == (x < 0), "sign", text);

  const Result<double> back = parseValue(text);
  require(back.ok(), "formatValue does not read back", text);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", x);
  double fifteen = std::strtod(buf, nullptr);
  if (std::isinf(fifteen)) fifteen = std::copysign(std::numeric_limits<double>::max(), x);
  require(back.value() == fifteen, "read back is not the 15-digit value", text);
}

}  // namespace kippwerk::fuzz
