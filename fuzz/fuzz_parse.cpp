// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// parseValue on arbitrary bytes: a finite number or the out-of-range error, never inf or NaN,
// and what it reads survives formatValue.

#include <string_view>

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kippwerk;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Result<double> value = parseValue(text);
  if (value.ok()) {
    fuzz::require(std::isfinite(value.value()), "parseValue gave a non-finite number",
                  std::string(text));
    fuzz::checkFormatted(value.value());
    // Blanks, tabs and line feeds are read as if they were not there.
    std::string squeezed;
    for (char c : text)
      if (c != ' ' && c != '\t' && c != '\n') squeezed += c;
    const Result<double> again = parseValue(squeezed);
    fuzz::require(again.ok() && again.value() == value.value(), "blanks changed the value",
                  squeezed);
  } else {
    fuzz::require(value.error() == Error::OutOfRange, "unexpected parse error");
  }
  (void)isDecimalPrefix(text);
  return 0;
}
