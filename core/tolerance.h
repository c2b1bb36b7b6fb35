// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What a set of parts really gives: the worst case of its times when every part may lie
// anywhere within its tolerance.

#include <array>
#include <string>

#include "core/circuit.h"

namespace kippwerk {

struct Spread {
  double low = 0.0, high = 0.0;

  friend bool operator==(const Spread&, const Spread&) = default;
};

struct ToleranceSpread {
  Spread tein, taus, tperiode, frequenz;
  Spread duty;  // t-EIN / period, as a fraction
  // The edges after the first rising one at 0, as an oscilloscope triggered on it shows them:
  // falling, rising, falling, rising. Each is later than the one before by a spread time,
  // so the spreads add up.
  std::array<Spread, 4> edges;
};

// Each part at its lower or upper limit, all eight corners: every quantity is monotonic in
// each part, so the corners hold the extremes. Tolerances are fractions (0.05 for 5 %).
// t-EIN rises with each part in the real circuit too, t-AUS with R2 and C1 and falls with R1
// (which feeds pin 7 while its switch holds it), so the corners hold there as well.
ToleranceSpread toleranceSpread(double r1, double r2, double c1, const Circuit& circuit,
                                double resistorTolerance, double capacitorTolerance);
inline ToleranceSpread toleranceSpread(double r1, double r2, double c1, bool diode,
                                       double resistorTolerance, double capacitorTolerance) {
  return toleranceSpread(r1, r2, c1, Circuit{diode}, resistorTolerance, capacitorTolerance);
}

// Five lines joined by line feeds: t-EIN, t-AUS, t-Periode and Frequenz as
// "t-EIN: 812.3 ms … 1.047 s (-9.75 % … +16.33 %)", relative to the desired values, then
// "Tastgrad: 58.4 % … 61.2 % (Soll 60.0 %)".
std::string toleranceText(const ToleranceSpread& spread, double wantTein, double wantTaus);

// "812.3 ms … 1.047 s (-9.75 % … +16.33 %)": a spread in `text`'s form and relative to `want`.
std::string spreadLine(const Spread& s, double want, std::string (*text)(double));

}  // namespace kippwerk
