// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The first job: t-EIN, t-AUS, period and frequency of the astable circuit from R1, R2, C1.

#include <string>
#include <string_view>

#include "core/result.h"

namespace kippwerk {

// The timing constant of both jobs, used as written.
inline constexpr double kTiming = 0.69;

// The four time quantities the window keeps (seconds, hertz).
struct Times {
  double tein = 0.0;
  double taus = 0.0;
  double tperiode = 0.0;
  double frequenz = 0.0;

  friend bool operator==(const Times&, const Times&) = default;
};

// r1, r2 in ohms and c1 in farads, already scaled by their units. With the diode t-EIN
// follows from R1 alone. Error::OutOfRange when any step leaves the range of a double.
Result<Times> timesFromComponents(double r1, double r2, double c1, bool diode);

// Four lines joined by CR LF: times to 3 decimals, the frequency to 2.
std::string timesText(const Times& times);

// The same four lines with the frequency to the given number of decimals.
std::string timeLines(const Times& times, int frequencyDecimals);

// "<name> = " + the rounded value + unit, the line format shared by both result texts.
std::string resultLine(std::string_view name, double value, int decimals, std::string_view unit);

}  // namespace kippwerk
