// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// From desired times to parts a user can buy: the sets of standard resistors and a standard
// capacitor whose times come closest to the desired t-EIN and t-AUS.

#include <cstddef>
#include <vector>

#include "core/circuit.h"
#include "core/eseries.h"
#include "core/result.h"

namespace kippwerk {

enum class FixedPart { None, C1, R2 };

// How many sets a search gives unless asked for more.
inline constexpr std::size_t kMaxStandardSets = 10;

struct StandardSearch {
  double tein = 0.0;  // desired, seconds
  double taus = 0.0;
  bool diode = false;  // across R2: t-EIN then follows from R1 alone
  Series resistorSeries = Series::E24;
  double rMin = 1e3;  // ohms, for both resistors
  double rMax = 10e6;
  Series capacitorSeries = Series::E6;
  double cMin = 100e-12;  // farads
  double cMax = 1000e-6;
  FixedPart fixed = FixedPart::None;
  double fixedValue = 0.0;  // ohms or farads; need not be a standard value
  // Fractions (0.05 for 5 %): a set counts only when its worst-case spread over these is a
  // finite, non-zero number in every quantity, as it is far from the ends of the double range.
  double resistorTolerance = 0.0;
  double capacitorTolerance = 0.0;
  // With the diode: its model; the supply voltage the diode and the chip work against.
  DiodeModel diodeModel = kIdealDiode;
  double ub = 9.0;
  ChipModel chip{};                      // the ideal chip unless given
  std::size_t count = kMaxStandardSets;  // how many of the best

  Circuit circuit() const { return {diode, diodeModel, ub, kModelKelvin, chip}; }
};

struct StandardSet {
  double r1 = 0.0, r2 = 0.0, c1 = 0.0;
  double tein = 0.0, taus = 0.0, frequenz = 0.0;  // what the set gives
  double devTein = 0.0, devTaus = 0.0;            // signed: set / desired - 1
  double deviation = 0.0;                         // the larger of |devTein| and |devTaus|

  friend bool operator==(const StandardSet&, const StandardSet&) = default;
};

enum class SearchError {
  OutOfRange,           // a value not finite, a tolerance outside [0, 1), Ub beyond the model
  TimesNotPositive,     // t-EIN or t-AUS not above 0
  TeinNotGreater,       // without the diode t-EIN must be above t-AUS
  FixedNotPositive,     // the fixed part is not above 0
  ResistorRangeEmpty,   // no standard resistor in [rMin, rMax]
  CapacitorRangeEmpty,  // no standard capacitor in [cMin, cMax]
  Unreachable,          // no usable set within these ranges
  BeyondEveryRange,     // not even the widest ranges searched could come near the times
};

using StandardSets = Result<std::vector<StandardSet>, SearchError>;

// The best sets, best first. Only sets whose two times both lie within a factor of a million
// of the desired ones count; the others are useless, and near 100 % their deviations would all
// tie. Order: the smallest deviation first; deviations within 1e-12 of each other count
// as equal and are ordered by the smaller sum of both deviations, then the smaller C1, R1, R2.
// Sets that differ only by a power of ten (R1 and R2 times 10^k, C1 divided by it) are one
// family; without a real diode or a fixed part their times differ only by what the chip adds
// (its switch, delays and pin currents do not scale). Members whose times both lie within
// 0.05 % of the family's representative count once, as the representative: the member whose
// larger resistor is the largest not above 1 M Ohm, or, when all are above, the member with
// the smallest resistors. The others compete on their own deviation.
StandardSets searchStandardSets(const StandardSearch& request);

// The same answer from every combination of parts; the measure of the fast one.
StandardSets searchStandardSetsExhaustive(const StandardSearch& request);

// What keeps the best set from a desired time when it misses one by more than 10 %.
struct Shortfall {
  enum class Kind {
    None,           // both times within 10 %
    BeyondLargest,  // the time is longer than the largest parts of the ranges give
    BelowSmallest,  // shorter than the smallest parts give
    Ratio,          // each time alone is in reach, but not t-EIN against t-AUS
    NumberRange,    // the times are too near the ends of the double range to spread
    Series,         // the steps of the series are too coarse
  };
  Kind kind = Kind::None;
  bool tein = true;       // which time, for BeyondLargest and BelowSmallest
  double reach = 0.0;     // the time the ranges reach up or down to, seconds
  bool resistor = false;  // which range can move that time: R and/or C
  bool capacitor = false;

  friend bool operator==(const Shortfall&, const Shortfall&) = default;
};

inline constexpr double kShortfallFrom = 0.1;

Shortfall shortfallOf(const StandardSearch& request, const StandardSet& best);

}  // namespace kippwerk
