// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/timing.h"

#include <cmath>

#include "core/numbers.h"

namespace kippwerk {

Result<Times> timesFromComponents(double r1, double r2, double c1, bool diode) {
  Times t;
  const double onResistance = diode ? r1 : r1 + r2;
  const double onFactor = kTiming * onResistance;
  t.tein = onFactor * c1;
  const double offFactor = kTiming * r2;
  t.taus = offFactor * c1;
  t.tperiode = t.tein + t.taus;
  for (double v : {onResistance, onFactor, t.tein, offFactor, t.taus, t.tperiode}) {
    if (!std::isfinite(v)) return Error::OutOfRange;
  }
  const Result<double> f = periodToFrequency(t.tperiode);
  if (!f) return f.error();
  t.frequenz = f.value();
  return t;
}

std::string resultLine(std::string_view name, double value, int decimals, std::string_view unit) {
  std::string line(name);
  line += " = ";
  line += formatValue(roundValue(value, decimals));
  line += ' ';
  line += unit;
  return line;
}

std::string timeLines(const Times& times, int frequencyDecimals) {
  return resultLine("t-EIN", times.tein, 3, "s") + "\r\n" +
         resultLine("t-AUS", times.taus, 3, "s") + "\r\n" +
         resultLine("t-Periode", times.tperiode, 3, "s") + "\r\n" +
         resultLine("Frequenz", times.frequenz, frequencyDecimals, "Hz");
}

std::string timesText(const Times& times) {
  return timeLines(times, 2);
}

}  // namespace kippwerk
