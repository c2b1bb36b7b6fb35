#pragma once

// From desired times to parts a user can buy: the sets of standard resistors and a standard
// capacitor whose times come closest to the desired t-EIN and t-AUS.

#include <cstddef>
#include <vector>

#include "core/eseries.h"
#include "core/result.h"

namespace kippwerk {

enum class FixedPart { None, C1, R2 };

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
};

struct StandardSet {
  double r1 = 0.0, r2 = 0.0, c1 = 0.0;
  double tein = 0.0, taus = 0.0, frequenz = 0.0;  // what the set gives
  double devTein = 0.0, devTaus = 0.0;            // signed: set / desired - 1
  double deviation = 0.0;                         // the larger of |devTein| and |devTaus|

  friend bool operator==(const StandardSet&, const StandardSet&) = default;
};

enum class SearchError {
  OutOfRange,           // a value is not finite
  TimesNotPositive,     // t-EIN or t-AUS not above 0
  TeinNotGreater,       // without the diode t-EIN must be above t-AUS
  FixedNotPositive,     // the fixed part is not above 0
  ResistorRangeEmpty,   // no standard resistor in [rMin, rMax]
  CapacitorRangeEmpty,  // no standard capacitor in [cMin, cMax]
  Unreachable,          // no set comes within a factor of a million of both times
};

using StandardSets = Result<std::vector<StandardSet>, SearchError>;

inline constexpr std::size_t kMaxStandardSets = 10;

// The best sets, best first. Only sets whose two times both lie within a factor of a million
// of the desired ones count; the others are useless, and near 100 % their deviations would all
// tie. Order: the smallest deviation first; deviations within 1e-12 of each other count
// as equal and are ordered by the smaller sum of both deviations, then the smaller C1, R1, R2.
// Sets that differ only by a power of ten (R1 and R2 times 10^k, C1 divided by it) are one
// family and appear once: as the member whose larger resistor is the largest not above
// 1 M Ohm, or, when all are above, the member with the smallest resistors.
StandardSets searchStandardSets(const StandardSearch& request);

// The same answer from every combination of parts; the measure of the fast one.
StandardSets searchStandardSetsExhaustive(const StandardSearch& request);

}  // namespace kippwerk
