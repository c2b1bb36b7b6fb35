// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The monostable timer: a trigger at pin 2 starts one output pulse, whose length is set by R
// (from the supply to pins 6 and 7) and C1. From a desired length to the pairs of standard
// parts that come closest, with the same rules as the astable search.

#include <cstddef>
#include <string>
#include <vector>

#include "core/circuit.h"
#include "core/eseries.h"
#include "core/result.h"
#include "core/standardsearch.h"
#include "core/tolerance.h"

namespace kippwerk {

// How many pairs a search gives unless asked for more.
inline constexpr std::size_t kMaxPulsePairs = 10;

struct PulseSearch {
  double t = 0.0;  // desired, seconds
  Series resistorSeries = Series::E24;
  double rMin = 1e3, rMax = 10e6;  // ohms
  Series capacitorSeries = Series::E6;
  double cMin = 100e-12, cMax = 1000e-6;  // farads
  // Fractions, for the spread the window shows beside the pairs.
  double resistorTolerance = 0.0, capacitorTolerance = 0.0;
  // Above 0: C1 is this one part, farads, need it be a standard value or not; the capacitor's
  // series and range are not searched.
  double fixedC1 = 0.0;
  // The supply and the chip the pulse is worked out with (the ideal chip unless given).
  double ub = 9.0;
  ChipModel chip{};
  std::size_t count = kMaxPulsePairs;  // how many of the best

  Circuit circuit() const { return {false, kIdealDiode, ub, kModelKelvin, chip}; }
};

struct PulsePair {
  double r = 0.0, c1 = 0.0;
  double t = 0.0;          // what the pair gives
  double devT = 0.0;       // signed: pair / desired - 1
  double deviation = 0.0;  // |devT|

  friend bool operator==(const PulsePair&, const PulsePair&) = default;
};

enum class PulseError {
  OutOfRange,           // a value not finite, a tolerance outside [0, 1)
  TimeNotPositive,      // the desired pulse is not above 0
  ResistorRangeEmpty,   // no standard resistor in [rMin, rMax]
  CapacitorRangeEmpty,  // no standard capacitor in [cMin, cMax]
  Unreachable,          // no usable pair within these ranges
  BeyondEveryRange,     // not even the widest ranges searched could come near
};

using PulsePairs = Result<std::vector<PulsePair>, PulseError>;

// The ten best pairs, best first: the smallest |deviation| (within 1e-12 equal), then the
// smaller C1, then the smaller R. Pairs that differ only by a power of ten, and whose pulses
// agree within 0.05 % (the chip's switch, delay and pin currents do not scale), appear once,
// as the member with the largest R not above 1 M Ohm (or the smallest R when all are above).
PulsePairs searchPulsePairs(const PulseSearch& request);

// The same from every pair of parts; the measure of the fast one.
PulsePairs searchPulsePairsExhaustive(const PulseSearch& request);

// What keeps the best pair from the desired pulse when it misses by more than 10 %: the ranges
// longest or shortest pulse (BeyondLargest, BelowSmallest, `tein` standing for the one time),
// or the coarse series; None within 10 %. With a fixed C1 only R can move the pulse.
Shortfall pulseShortfallOf(const PulseSearch& request, const PulsePair& best);

// The pulse over the four corners of the two tolerances.
Spread pulseSpread(const Circuit& c, double r, double c1, double resistorTolerance,
                   double capacitorTolerance);

// "t: 855.9 ms … 1.156 s (-14.41 % … +15.62 %)", relative to the desired pulse.
std::string pulseSpreadText(const Spread& spread, double want);

}  // namespace kippwerk
