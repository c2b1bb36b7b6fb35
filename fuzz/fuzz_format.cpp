// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// formatValue and roundValue on arbitrary doubles and decimal places.

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kippwerk;
  fuzz::Input in(data, size);
  const double x = in.take<double>();
  const int n = in.take<std::int16_t>();
  if (!std::isfinite(x)) {
    fuzz::require(formatValue(x).empty(), "formatValue wrote a non-finite number");
    return 0;
  }
  fuzz::checkFormatted(x);
  const double r = roundValue(x, n);
  fuzz::require(std::isfinite(r), "roundValue gave a non-finite number");
  fuzz::checkFormatted(r);
  if (n >= 0 && n <= 15) {
    // Rounding moves a value by at most half a unit of the kept place, plus the rounding
    // error of the multiplication and the division.
    const double unit = std::pow(10.0, -n);
    const double slack = std::fabs(x) * 4 * std::numeric_limits<double>::epsilon();
    fuzz::require(std::fabs(r - x) <= unit / 2 * (1 + 1e-9) + slack, "roundValue moved too far");
  }
  return 0;
}
