// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/tolerance.h"

#include <algorithm>
#include <charconv>

#include "core/normtext.h"
#include "core/timing.h"

namespace kippwerk {
namespace {

void widen(Spread& s, double v, bool first) {
  s.low = first ? v : std::min(s.low, v);
  s.high = first ? v : std::max(s.high, v);
}

std::string dutyText(double fraction) {
  char buf[32];
  const auto res =
      std::to_chars(buf, buf + sizeof buf, fraction * 100.0, std::chars_format::fixed, 1);
  return std::string(buf, res.ptr) + " %";
}

}  // namespace

ToleranceSpread toleranceSpread(double r1, double r2, double c1, const Circuit& circuit,
                                double resistorTolerance, double capacitorTolerance) {
  ToleranceSpread s;
  for (int corner = 0; corner < 8; ++corner) {
    auto limit = [corner](double value, int bit, double tolerance) {
      return value * ((corner >> bit) & 1 ? 1.0 + tolerance : 1.0 - tolerance);
    };
    const double a = limit(r1, 0, resistorTolerance), b = limit(r2, 1, resistorTolerance);
    const double c = limit(c1, 2, capacitorTolerance);
    const double tein = onTime(circuit, a, b, c);
    const double taus = kTiming * b * c;
    const double period = tein + taus;
    const bool first = corner == 0;
    widen(s.tein, tein, first);
    widen(s.taus, taus, first);
    widen(s.tperiode, period, first);
    widen(s.frequenz, 1.0 / period, first);
    widen(s.duty, tein / period, first);
    widen(s.edges[0], tein, first);
    widen(s.edges[1], period, first);
    widen(s.edges[2], period + tein, first);
    widen(s.edges[3], 2.0 * period, first);
  }
  return s;
}

std::string spreadLine(const Spread& s, double want, std::string (*text)(double)) {
  return text(s.low) + " … " + text(s.high) + " (" + percentText(s.low / want - 1.0) + " … " +
         percentText(s.high / want - 1.0) + ")";
}

std::string toleranceText(const ToleranceSpread& s, double wantTein, double wantTaus) {
  const double wantPeriod = wantTein + wantTaus;
  return "t-EIN: " + spreadLine(s.tein, wantTein, timeText) + "\n" +
         "t-AUS: " + spreadLine(s.taus, wantTaus, timeText) + "\n" +
         "t-Periode: " + spreadLine(s.tperiode, wantPeriod, timeText) + "\n" +
         "Frequenz: " + spreadLine(s.frequenz, 1.0 / wantPeriod, frequencyText) + "\n" +
         "Tastgrad: " + dutyText(s.duty.low) + " … " + dutyText(s.duty.high) + " (Soll " +
         dutyText(wantTein / wantPeriod) + ")";
}

}  // namespace kippwerk
