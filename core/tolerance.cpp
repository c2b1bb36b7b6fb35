// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/tolerance.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/normtext.h"
#include "core/timing.h"

namespace kippwerk {
namespace {

void widen(Spread& s, double v, bool first) {
  s.low = first ? v : std::min(s.low, v);
  s.high = first ? v : std::max(s.high, v);
}

std::string dutyText(double fraction) {
  return fixedText(fraction * 100.0, 1) + " %";
}

}  // namespace

ToleranceSpread toleranceSpread(double r1, double r2, double c1, const Circuit& circuit,
                                double resistorTolerance, double capacitorTolerance) {
  ToleranceSpread s;
  bool first = true;
  for (double a : {r1 * (1.0 - resistorTolerance), r1 * (1.0 + resistorTolerance)}) {
    for (double b : {r2 * (1.0 - resistorTolerance), r2 * (1.0 + resistorTolerance)}) {
      const AstableShape shape(circuit, a, b);
      for (double c : {c1 * (1.0 - capacitorTolerance), c1 * (1.0 + capacitorTolerance)}) {
        const AstableTimes t = shape.at(c);
        const double period = t.tein + t.taus;
        widen(s.tein, t.tein, first);
        widen(s.taus, t.taus, first);
        widen(s.tperiode, period, first);
        widen(s.frequenz, 1.0 / period, first);
        widen(s.duty, t.tein / period, first);
        widen(s.edges[0], t.tein, first);
        widen(s.edges[1], period, first);
        widen(s.edges[2], period + t.tein, first);
        widen(s.edges[3], 2.0 * period, first);
        first = false;
      }
    }
  }
  return s;
}

namespace {

// What a line says instead of percentages when its reference is no number: the desired period
// of two times near the largest double, say, is infinite, and its frequency 0.
const char* const kNoReference = " (Sollwert außerhalb des darstellbaren Zahlenbereichs)";

bool representable(double want) {
  return want > 0.0 && std::isfinite(want);
}

}  // namespace

std::string spreadLine(const Spread& s, double want, std::string (*text)(double)) {
  const std::string range = text(s.low) + " … " + text(s.high);
  const double low = s.low / want - 1.0, high = s.high / want - 1.0;
  if (!representable(want) || !std::isfinite(low) || !std::isfinite(high)) {
    return range + kNoReference;
  }
  return range + " (" + percentText(low) + " … " + percentText(high) + ")";
}

std::string toleranceText(const ToleranceSpread& s, double wantTein, double wantTaus) {
  const double wantPeriod = wantTein + wantTaus;
  return "t-EIN: " + spreadLine(s.tein, wantTein, timeText) + "\n" +
         "t-AUS: " + spreadLine(s.taus, wantTaus, timeText) + "\n" +
         "t-Periode: " + spreadLine(s.tperiode, wantPeriod, timeText) + "\n" +
         "Frequenz: " + spreadLine(s.frequenz, 1.0 / wantPeriod, frequencyText) + "\n" +
         "Tastgrad: " + dutyText(s.duty.low) + " … " + dutyText(s.duty.high) +
         (representable(wantPeriod) ? " (Soll " + dutyText(wantTein / wantPeriod) + ")"
                                    : std::string(kNoReference));
}

}  // namespace kippwerk
