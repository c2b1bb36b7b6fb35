// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/dimensioning.h"

#include <cmath>

#include "core/numbers.h"

namespace kippwerk {

std::optional<std::string_view> checkDesiredTimes(double tein, double taus, double frequenz,
                                                  bool equalTimes) {
  if (tein <= 0.0 || taus <= 0.0 || frequenz <= 0.0) return kInvalidValues;
  if (!equalTimes && taus >= tein) return kTeinNotGreater;
  return std::nullopt;
}

Result<Components> dimensionComponents(KnownComponent known, bool diode, double tein, double taus,
                                       double knownValue) {
  if (knownValue == 0.0) return Error::ZeroComponent;
  Components c;
  const double kKnown = kTiming * knownValue;
  // The off time fixes the product R2 * C1, so the unknown one of them comes first.
  const double other = taus / kKnown;
  if (known == KnownComponent::C1) {
    c.c1 = knownValue;
    c.r2 = other;
  } else {
    c.r2 = knownValue;
    c.c1 = other;
  }
  const double kC1 = kTiming * c.c1;
  const double onQuotient = diode ? 0.0 : tein / kC1;
  c.r1 = diode ? c.r2 : onQuotient - c.r2;
  for (double v : {kKnown, other, kC1, onQuotient, c.r1}) {
    if (!std::isfinite(v)) return Error::OutOfRange;
  }
  return c;
}

ComponentLines placeholderLines(KnownComponent known, double knownValue) {
  if (known == KnownComponent::C1) {
    return {"R1 = ?", "R2 = ?", "C1 = " + formatValue(knownValue) + " F"};
  }
  return {"R1 = ?", "R2 = " + formatValue(knownValue) + " Ohm", "C1 = ?"};
}

ComponentLines computedLines(const Components& c) {
  return {resultLine("R1", c.r1, 0, "Ohm"), resultLine("R2", c.r2, 0, "Ohm"),
          resultLine("C1", c.c1, 9, "F")};
}

std::string dimensioningText(const ComponentLines& lines, bool diode, const Times& times) {
  const std::string crlf = "\r\n";
  return lines.r1 + crlf + lines.r2 + crlf + lines.c1 + crlf + (diode ? "D  = ja" : "D  = nein") +
         crlf + crlf + timeLines(times, 3);
}

}  // namespace kippwerk
