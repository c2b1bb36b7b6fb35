// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/standardsearch.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "core/searchsupport.h"
#include "core/timing.h"
#include "core/tolerance.h"

namespace kippwerk {
namespace {

using namespace search;

// How far around each capacitor's ideal parts the bound looks at most.
constexpr int kSeedsAround = 16;
// How many pairs of resistors the fast search keeps the charge and discharge of at most.
constexpr std::size_t kKeptShapes = 1 << 16;

// Whether the chip's switch or pin currents can hold C1 short of a level, so that a time is
// infinite. Where they do depends on the resistors alone: the levels C1 settles at do not
// depend on its size.
bool canStop(const ChipModel& k) {
  return k.switchVolts > 0.0 || k.switchOhms > 0.0 || k.thresholdCurrent > 0.0 ||
         k.triggerCurrent > 0.0 || k.leakage > 0.0;
}

// Every quantity the window shows of a set, its spread included, is a finite number above 0.
// Far from the ends of the double range that holds for any tolerance below a half, unless the
// chip stops at one of the resistors' corners (`cornersRun` tells); near the ends the spread
// itself is worked out.
template <class CornersRun>
bool spreadUsable(double r1, double r2, double c1, double tein, double taus,
                  const StandardSearch& q, const CornersRun& cornersRun) {
  const double period = tein + taus;
  const bool far = tein > 1e-200 && taus > 1e-200 && period < 1e200;
  if (far && q.resistorTolerance <= 0.5 && q.capacitorTolerance <= 0.5) {
    return !canStop(q.chip) || cornersRun();
  }
  if (!(tein > 0.0) || !(taus > 0.0) || !std::isfinite(period) || !std::isfinite(1.0 / period)) {
    return false;
  }
  const ToleranceSpread s =
      toleranceSpread(r1, r2, c1, q.circuit(), q.resistorTolerance, q.capacitorTolerance);
  for (const Spread& v : {s.tein, s.taus, s.tperiode, s.frequenz, s.duty, s.edges[0], s.edges[1],
                          s.edges[2], s.edges[3]}) {
    if (!(v.low > 0.0) || !std::isfinite(v.high)) return false;
  }
  return true;
}

struct Candidate {
  int i1, i2, ic;  // indices into the part lists
  double r1, r2, c1;
  double tein, taus;
  double devTein, devTaus;
  double deviation, sum;
};

// Where a set stands against another: smaller deviation, then the tie-breaks.
bool better(const Candidate& a, const Candidate& b) {
  if (std::fabs(a.deviation - b.deviation) > kTie) return a.deviation < b.deviation;
  if (std::fabs(a.sum - b.sum) > kTie) return a.sum < b.sum;
  if (a.c1 != b.c1) return a.c1 < b.c1;
  if (a.r1 != b.r1) return a.r1 < b.r1;
  return a.r2 < b.r2;
}

// The parts one search may use. Index i + perDecade is ten times index i. Sets that differ by a
// power of ten form families where nothing is fixed and no real diode makes the times depend on
// the resistors' size: there a member whose times agree with its representative's counts once.
// Each set's times come from the shape of its R1 and R2 (the charge and the discharge per
// farad) and its C1 (the chip's delays): the fast search keeps each shape it worked out, the
// exhaustive one works every set out anew. t-EIN rises with R1, R2 and C1; t-AUS rises with R2
// and C1 and falls with R1, whose current pin 7's switch carries too.
class Space {
 public:
  Space(const StandardSearch& q, std::vector<double> r, std::vector<double> r2,
        std::vector<double> c, bool keepShapes)
      : q_(q), circuit_(q.circuit()), r1_(std::move(r)), r2_(std::move(r2)), c_(std::move(c)) {
    families_ = q.fixed == FixedPart::None && !circuit_.realDiode();
    keep_ = keepShapes;
    nR_ = static_cast<int>(seriesMantissas(q.resistorSeries).size());
    nC_ = static_cast<int>(seriesMantissas(q.capacitorSeries).size());
  }

  int sizeR1() const { return static_cast<int>(r1_.size()); }
  int sizeR2() const { return static_cast<int>(r2_.size()); }
  int sizeC() const { return static_cast<int>(c_.size()); }

  AstableTimes times(int i1, int i2, int ic) const {
    if (!keep_) return shape(i1, i2).at(c_[static_cast<std::size_t>(ic)]);
    return {tein(i1, i2, ic), taus(i1, i2, ic)};
  }
  double onDeviation(int i1, int i2, int ic) const { return tein(i1, i2, ic) / q_.tein - 1.0; }
  double offDeviation(int i1, int i2, int ic) const { return taus(i1, i2, ic) / q_.taus - 1.0; }

  // The first R2 whose t-AUS with the smallest R1 (the longest) and capacitor ic reaches the
  // desired one: from the ideal chip's R2, moved over the places the chip and the diode shift it.
  int firstR2Reaching(int ic) const {
    const double ideal = q_.taus / (std::numbers::ln2 * c_[static_cast<std::size_t>(ic)]);
    const double better =
        corrected(r2_, ideal, 0.0, [&](int i2) { return offDeviation(0, i2, ic); });
    return firstReaching(r2_, better, [&](int i2) { return offDeviation(0, i2, ic) >= 0.0; });
  }

  // Whether some R1 may still give R2 and capacitor ic a t-AUS within `limit`: t-AUS lies
  // between its values with the largest and the smallest R1, and both rise with R2.
  bool offWithin(int i2, int ic, double limit) const {
    const double shortest = offDeviation(sizeR1() - 1, i2, ic);
    const double longest = offDeviation(0, i2, ic);
    return shortest <= limit && longest >= -limit && shortest <= kReach - 1.0 &&
           longest >= 1.0 / kReach - 1.0;
  }

  // The first R1 whose t-EIN reaches the desired one with R2 and C1.
  int firstR1Reaching(int i2, int ic) const {
    const double on = q_.tein / (std::numbers::ln2 * c_[static_cast<std::size_t>(ic)]);
    const double r2 = q_.diode ? 0.0 : r2_[static_cast<std::size_t>(i2)];
    const double better =
        corrected(r1_, on - r2, r2, [&](int i1) { return onDeviation(i1, i2, ic); });
    return firstReaching(r1_, better, [&](int i1) { return onDeviation(i1, i2, ic) >= 0.0; });
  }

  // A set with finite times, or nothing.
  bool evaluate(int i1, int i2, int ic, Candidate& out) const {
    Candidate s{i1,
                i2,
                ic,
                r1_[static_cast<std::size_t>(i1)],
                r2_[static_cast<std::size_t>(i2)],
                c_[static_cast<std::size_t>(ic)],
                0.0,
                0.0,
                0.0,
                0.0,
                0.0,
                0.0};
    const AstableTimes t = times(i1, i2, ic);
    s.tein = t.tein;
    s.taus = t.taus;
    s.devTein = t.tein / q_.tein - 1.0;
    s.devTaus = t.taus / q_.taus - 1.0;
    s.deviation = std::max(std::fabs(s.devTein), std::fabs(s.devTaus));
    s.sum = std::fabs(s.devTein) + std::fabs(s.devTaus);
    if (!usable(s.devTein) || !usable(s.devTaus)) return false;
    if (!spreadUsable(s.r1, s.r2, s.c1, s.tein, s.taus, q_,
                      [&] { return cornersRun(i1, i2, ic); })) {
      return false;
    }
    out = s;
    return true;
  }

  // A family's representative is listed; another member only where its times differ from the
  // representative's by more than the family's tolerance.
  bool isListed(int i1, int i2, int ic, const AstableTimes& own) const {
    if (!families_) return true;
    const int k = shiftToRepresentative(i1, i2, ic);
    if (k == 0) return true;
    const AstableTimes listed = times(i1 + k * nR_, i2 + k * nR_, ic - k * nC_);
    return !(sameTime(own.tein, listed.tein) && sameTime(own.taus, listed.taus));
  }

  // The indices of the family's listed member.
  std::uint64_t representativeKey(int i1, int i2, int ic) const {
    const int k = families_ ? shiftToRepresentative(i1, i2, ic) : 0;
    return key(i1 + k * nR_, i2 + k * nR_, ic - k * nC_);
  }

  static std::uint64_t key(int i1, int i2, int ic) {
    return (static_cast<std::uint64_t>(i1) << 42) | (static_cast<std::uint64_t>(i2) << 21) |
           static_cast<std::uint64_t>(ic);
  }
  static void unkey(std::uint64_t k, int& i1, int& i2, int& ic) {
    constexpr std::uint64_t kMask = (1u << 21) - 1;
    i1 = static_cast<int>(k >> 42);
    i2 = static_cast<int>((k >> 21) & kMask);
    ic = static_cast<int>(k & kMask);
  }

 private:
  // The ideal chip's part corrected by what the model gives at the part nearest to it, the time
  // taken as proportional to the part plus `added` (R2 in t-EIN without the diode).
  template <class Deviation>
  static double corrected(const std::vector<double>& parts, double ideal, double added,
                          const Deviation& deviation) {
    const int n = static_cast<int>(parts.size());
    const int at = std::clamp(lowerBound(parts, ideal), 0, n - 1);
    const double ratio = deviation(at) + 1.0;
    const double part = parts[static_cast<std::size_t>(at)];
    const double better = (part + added) / ratio - added;
    return ratio > 0.0 && std::isfinite(better) ? better : ideal;
  }

  // The first index of `parts` where `reached` holds, their size where it never does; it holds
  // from there on. The search starts where the part lies nearest to `guess` and gallops, so a
  // good guess costs two or three tries.
  template <class Reached>
  static int firstReaching(const std::vector<double>& parts, double guess, const Reached& reached) {
    const int n = static_cast<int>(parts.size());
    int low = 0, high = n;  // reached(high) holds, reached(low - 1) does not
    const int start = std::clamp(lowerBound(parts, guess), 0, n - 1);
    if (start < n && reached(start)) {
      high = start;
      for (int step = 1; high > 0; step *= 2) {
        const int at = std::max(0, high - step);
        if (!reached(at)) {
          low = at + 1;
          break;
        }
        high = at;
      }
    } else {
      low = start + 1;
      for (int step = 1; low < n; step *= 2) {
        const int at = std::min(n - 1, low - 1 + step);
        if (reached(at)) {
          high = at;
          break;
        }
        low = at + 1;
      }
    }
    while (low < high) {
      const int middle = low + (high - low) / 2;
      if (reached(middle)) {
        high = middle;
      } else {
        low = middle + 1;
      }
    }
    return low;
  }

  int shiftToRepresentative(int i1, int i2, int ic) const {
    return representativeShift([&](int j) { return shiftValid(i1, i2, ic, j); },
                               [&](int j) { return largerResistor(i1, i2, j); });
  }
  bool shiftValid(int i1, int i2, int ic, int k) const {
    const int j1 = i1 + k * nR_, j2 = i2 + k * nR_, jc = ic - k * nC_;
    return j1 >= 0 && j1 < sizeR1() && j2 >= 0 && j2 < sizeR2() && jc >= 0 && jc < sizeC();
  }
  double largerResistor(int i1, int i2, int k) const {
    return std::max(r1_[static_cast<std::size_t>(i1 + k * nR_)],
                    r2_[static_cast<std::size_t>(i2 + k * nR_)]);
  }

  // Each time of a set, kept by the fast search; the walks ask for one of them mostly.
  double tein(int i1, int i2, int ic) const {
    const double c1 = c_[static_cast<std::size_t>(ic)];
    if (!keep_) return shape(i1, i2).teinAt(c1);
    const auto [at, added] = tein_.try_emplace(key(i1, i2, ic), 0.0);
    if (added) at->second = shape(i1, i2).teinAt(c1);
    return at->second;
  }
  double taus(int i1, int i2, int ic) const {
    const double c1 = c_[static_cast<std::size_t>(ic)];
    if (!keep_) return shape(i1, i2).tausAt(c1);
    const auto [at, added] = taus_.try_emplace(key(i1, i2, ic), 0.0);
    if (added) at->second = shape(i1, i2).tausAt(c1);
    return at->second;
  }

  // Whether the chip oscillates at every corner of R1's and R2's tolerances; one capacitor tells
  // for all. The charge stalls first with the largest resistors (the pin currents take more of
  // its current), the discharge with the largest R2 and the smallest R1 (the switch's voltage
  // rises with R1's current): those two corners decide.
  bool cornersRun(int i1, int i2, int ic) const {
    const auto [at, added] = cornersRun_.try_emplace(key(i1, i2, 0), true);
    if (!added) return at->second;
    const double r1 = r1_[static_cast<std::size_t>(i1)], r2 = r2_[static_cast<std::size_t>(i2)];
    const double t = q_.resistorTolerance, c1 = c_[static_cast<std::size_t>(ic)];
    for (double a : {r1 * (1.0 - t), r1 * (1.0 + t)}) {
      const AstableTimes corner = AstableShape(circuit_, a, r2 * (1.0 + t)).at(c1);
      if (!std::isfinite(corner.tein) || !std::isfinite(corner.taus)) at->second = false;
    }
    return at->second;
  }

  const AstableShape& shape(int i1, int i2) const {
    const double r1 = r1_[static_cast<std::size_t>(i1)], r2 = r2_[static_cast<std::size_t>(i2)];
    if (!keep_) {
      // The exhaustive search goes along the diagonals i1 - i2, where each family lies too.
      if (i1 - i2 != diagonal_) {
        diagonal_ = i1 - i2;
        onDiagonal_.assign(r2_.size(), std::nullopt);
      }
      std::optional<AstableShape>& at = onDiagonal_[static_cast<std::size_t>(i2)];
      if (!at) at.emplace(circuit_, r1, r2);
      return *at;
    }
    auto at = kept_.find(key(i1, i2, 0));
    if (at == kept_.end()) {
      // A shape holds both phases' laws: over wide ranges whose sets all miss the times the
      // walks may touch a million pairs, so past a limit they are all dropped and worked out again
      // when asked for.
      if (kept_.size() >= kKeptShapes) kept_.clear();
      at = kept_.emplace(key(i1, i2, 0), AstableShape(circuit_, r1, r2)).first;
    }
    return at->second;
  }

  const StandardSearch& q_;
  Circuit circuit_;
  bool keep_ = false;
  mutable std::unordered_map<std::uint64_t, AstableShape> kept_;
  mutable std::unordered_map<std::uint64_t, double> tein_, taus_;
  mutable std::unordered_map<std::uint64_t, bool> cornersRun_;
  mutable std::vector<std::optional<AstableShape>> onDiagonal_;
  mutable int diagonal_ = std::numeric_limits<int>::min();
  std::vector<double> r1_, r2_, c_;
  bool families_ = true;
  int nR_ = 1, nC_ = 1;
};

// The best of a pool that holds every listed set within the tie window of the last of them.
std::vector<StandardSet> rank(std::vector<Candidate> pool, std::size_t count) {
  pool = bestOf(std::move(pool), count, better, [](const Candidate& a, const Candidate& b) {
    if (a.c1 != b.c1) return a.c1 < b.c1;
    if (a.r1 != b.r1) return a.r1 < b.r1;
    return a.r2 < b.r2;
  });
  std::vector<StandardSet> out;
  out.reserve(pool.size());
  for (const Candidate& c : pool) {
    out.push_back({c.r1, c.r2, c.c1, c.tein, c.taus, 1.0 / (c.tein + c.taus), c.devTein, c.devTaus,
                   c.deviation});
  }
  return out;
}

// The smallest and largest part of each kind, before a fixed part replaces its kind.
struct Ends {
  std::pair<double, double> r, c;
};

// The shortest and longest t-EIN and t-AUS that sets of these parts give: t-AUS is longest
// with the smallest R1.
struct Reach {
  double teinLow, teinHigh, tausLow, tausHigh;
};

Reach ends(const StandardSearch& q, const Ends& e) {
  const bool fixedC = q.fixed == FixedPart::C1, fixedR2 = q.fixed == FixedPart::R2;
  const double cLow = fixedC ? q.fixedValue : e.c.first, cHigh = fixedC ? q.fixedValue : e.c.second;
  const double r2Low = fixedR2 ? q.fixedValue : e.r.first;
  const double r2High = fixedR2 ? q.fixedValue : e.r.second;
  const Circuit circuit = q.circuit();
  return {astableTimes(circuit, e.r.first, r2Low, cLow).tein,
          astableTimes(circuit, e.r.second, r2High, cHigh).tein,
          astableTimes(circuit, e.r.second, r2Low, cLow).taus,
          astableTimes(circuit, e.r.first, r2High, cHigh).taus};
}

bool outOfReach(const StandardSearch& q, const Reach& r) {
  return search::outOfReach(r.teinLow / q.tein, r.teinHigh / q.tein) ||
         search::outOfReach(r.tausLow / q.taus, r.tausHigh / q.taus);
}

// The request's checks, then the lists of parts; nothing when a check fails.
Result<Space, SearchError> makeSpace(const StandardSearch& q, bool keepShapes) {
  const bool fixedC = q.fixed == FixedPart::C1;
  const bool fixedR2 = q.fixed == FixedPart::R2;
  for (double v : {q.tein, q.taus, q.rMin, q.rMax, q.cMin, q.cMax, q.fixedValue}) {
    if (!std::isfinite(v)) return SearchError::OutOfRange;
  }
  for (double t : {q.resistorTolerance, q.capacitorTolerance}) {
    if (!(t >= 0.0 && t < 1.0)) return SearchError::OutOfRange;
  }
  // The chip's levels and the diode follow the supply: outside the model's range there is
  // nothing to search (at a denormal supply C1's levels would underflow).
  if (!(q.ub >= kModelUbMin && q.ub <= kModelUbMax)) return SearchError::OutOfRange;
  if (!(q.tein > 0.0) || !(q.taus > 0.0)) return SearchError::TimesNotPositive;
  if (!q.diode && q.tein <= q.taus) return SearchError::TeinNotGreater;
  if (q.fixed != FixedPart::None && !(q.fixedValue > 0.0)) return SearchError::FixedNotPositive;
  // Not even the smallest and largest values searched at all come near: no range can help. The
  // chip changes times by factors, not by powers of a million, and at such parts it would stop
  // oscillating; the ideal chip answers here.
  const Ends widest{{smallestValue(q.resistorSeries), largestValue(q.resistorSeries)},
                    {smallestValue(q.capacitorSeries), largestValue(q.capacitorSeries)}};
  StandardSearch ideal = q;
  ideal.chip = {};
  if (outOfReach(q, ends(ideal, widest))) return SearchError::BeyondEveryRange;
  std::vector<double> r = standardValues(q.resistorSeries, q.rMin, q.rMax);
  if (r.empty()) return SearchError::ResistorRangeEmpty;
  std::vector<double> c = fixedC ? std::vector<double>{q.fixedValue}
                                 : standardValues(q.capacitorSeries, q.cMin, q.cMax);
  if (c.empty()) return SearchError::CapacitorRangeEmpty;
  std::vector<double> r2 = fixedR2 ? std::vector<double>{q.fixedValue} : r;
  if (outOfReach(q, ends(q, {{r.front(), r.back()}, {c.front(), c.back()}}))) {
    return SearchError::Unreachable;
  }
  return Space(q, std::move(r), std::move(r2), std::move(c), keepShapes);
}

StandardSets finish(std::vector<Candidate> pool, std::size_t count) {
  if (pool.empty()) return SearchError::Unreachable;
  return rank(std::move(pool), count);
}

}  // namespace

StandardSets searchStandardSets(const StandardSearch& request) {
  const Result<Space, SearchError> made = makeSpace(request, true);
  if (!made) return made.error();
  const Space& s = made.value();

  // First a bound: around the ideal R2 and R1 of every capacitor, a few neighbours each, more
  // until four times as many families as asked for give usable sets (the first few, of
  // capacitors that can hardly reach, would make it loose). The n-th best of them is no better
  // than the n-th of all; without it the walks would have to go wherever a set is usable at all.
  std::unordered_set<std::uint64_t> seeds;
  NthSmallest bound(request.count);
  std::size_t usableSeeds = 0;
  for (int each = 1; usableSeeds < 4 * request.count; each *= 2) {
    for (int ic = 0; ic < s.sizeC(); ++ic) {
      around(s.sizeR2(), s.firstR2Reaching(ic), each, [&](int i2) {
        around(s.sizeR1(), s.firstR1Reaching(i2, ic), each, [&](int i1) {
          const std::uint64_t k = s.representativeKey(i1, i2, ic);
          if (!seeds.insert(k).second) return;
          int j1 = 0, j2 = 0, jc = 0;
          Space::unkey(k, j1, j2, jc);
          Candidate c{};
          if (s.evaluate(j1, j2, jc, c)) {
            bound.add(c.deviation);
            ++usableSeeds;
          }
        });
      });
    }
    // Every set is a seed, or so many near each capacitor's ideal parts that the walks will
    // find the few usable ones sooner.
    if (each >= std::min(kSeedsAround, std::max(s.sizeR1(), s.sizeR2()))) break;
  }
  double limit = beyond(bound.value());

  // Then every set within the bound. Each deviation grows monotonically away from its ideal
  // part, so each walk stops at the first part beyond the bound or out of reach; t-AUS, which
  // R1 moves a little too, by the band between the smallest and the largest R1. The sets found
  // tighten the bound as they come: where no seed was usable, it starts out infinite.
  std::vector<Candidate> pool;
  NthSmallest found(request.count);
  for (int ic = 0; ic < s.sizeC(); ++ic) {
    walkOutward(s.sizeR2(), s.firstR2Reaching(ic), [&](int i2) {
      if (!s.offWithin(i2, ic, limit)) return false;
      // Up the resistors t-EIN rises and t-AUS falls, down them the other way round: each walk
      // ends where either has passed the bound for good.
      const int start = s.firstR1Reaching(i2, ic);
      auto visit = [&](int i1, bool up) {
        const double on = s.onDeviation(i1, i2, ic), off = s.offDeviation(i1, i2, ic);
        if (!usable(on) || !(std::fabs(on) <= limit)) return false;
        if (up ? off < -limit || off < 1.0 / kReach - 1.0 : off > limit || off > kReach - 1.0) {
          return false;
        }
        Candidate c{};
        if (s.evaluate(i1, i2, ic, c) && c.deviation <= limit &&
            s.isListed(i1, i2, ic, {c.tein, c.taus})) {
          pool.push_back(c);
          found.add(c.deviation);
          limit = std::min(limit, beyond(found.value()));
        }
        return true;
      };
      for (int i1 = start; i1 < s.sizeR1() && visit(i1, true); ++i1) {
      }
      for (int i1 = start - 1; i1 >= 0 && visit(i1, false); --i1) {
      }
      return true;
    });
  }
  return finish(std::move(pool), request.count);
}

StandardSets searchStandardSetsExhaustive(const StandardSearch& request) {
  const Result<Space, SearchError> made = makeSpace(request, false);
  if (!made) return made.error();
  const Space& s = made.value();
  auto everySet = [&s](auto&& visit) {
    for (int d = 1 - s.sizeR2(); d < s.sizeR1(); ++d) {
      for (int i2 = std::max(0, -d); i2 < s.sizeR2() && i2 + d < s.sizeR1(); ++i2) {
        for (int ic = 0; ic < s.sizeC(); ++ic) {
          Candidate c{};
          if (s.evaluate(i2 + d, i2, ic, c) && s.isListed(i2 + d, i2, ic, {c.tein, c.taus})) {
            visit(c);
          }
        }
      }
    }
  };
  NthSmallest tenth(request.count);
  everySet([&tenth](const Candidate& c) { tenth.add(c.deviation); });
  const double limit = beyond(tenth.value());
  std::vector<Candidate> pool;
  everySet([&](const Candidate& c) {
    if (c.deviation <= limit) pool.push_back(c);
  });
  return finish(std::move(pool), request.count);
}

Shortfall shortfallOf(const StandardSearch& q, const StandardSet& best) {
  using Kind = Shortfall::Kind;
  if (std::fabs(best.devTein) <= kShortfallFrom && std::fabs(best.devTaus) <= kShortfallFrom) {
    return {};
  }
  // The desired signal itself, spread by the tolerances, would leave the range of a double.
  const double high = 4.0 * (1.0 + q.resistorTolerance) * (1.0 + q.capacitorTolerance);
  const double low = (1.0 - q.resistorTolerance) * (1.0 - q.capacitorTolerance) / 4.0;
  if (!std::isfinite((q.tein + q.taus) * high) ||
      !std::isfinite(1.0 / (std::min(q.tein, q.taus) * low))) {
    return {Kind::NumberRange};
  }
  const std::vector<double> r = standardValues(q.resistorSeries, q.rMin, q.rMax);
  const std::vector<double> c = standardValues(q.capacitorSeries, q.cMin, q.cMax);
  const bool fixedC = q.fixed == FixedPart::C1, fixedR2 = q.fixed == FixedPart::R2;
  if (r.empty() || (c.empty() && !fixedC)) return {Kind::Series};
  const Reach reach = ends(
      q, {{r.front(), r.back()}, fixedC ? std::pair{0.0, 0.0} : std::pair{c.front(), c.back()}});

  struct Time {
    bool tein;
    double deviation, want, low, high;
  };
  Time times[] = {{true, best.devTein, q.tein, reach.teinLow, reach.teinHigh},
                  {false, best.devTaus, q.taus, reach.tausLow, reach.tausHigh}};
  if (std::fabs(times[1].deviation) > std::fabs(times[0].deviation)) std::swap(times[0], times[1]);
  for (const Time& t : times) {
    if (std::fabs(t.deviation) <= kShortfallFrom) continue;
    const bool resistor = t.tein || !fixedR2;
    if (t.deviation < 0.0 && t.want > t.high) {
      return {Kind::BeyondLargest, t.tein, t.high, resistor, !fixedC};
    }
    if (t.deviation > 0.0 && t.want < t.low) {
      return {Kind::BelowSmallest, t.tein, t.low, resistor, !fixedC};
    }
  }
  // R1 against R2 decides t-EIN / t-AUS, which no capacitor changes; it is smallest with the
  // smallest R1 and the largest R2 and largest the other way round.
  const double r2Low = fixedR2 ? q.fixedValue : r.front();
  const double r2High = fixedR2 ? q.fixedValue : r.back();
  const Circuit circuit = q.circuit();
  auto ratioOf = [&circuit, &best](double r1, double r2) {
    const AstableTimes t = astableTimes(circuit, r1, r2, best.c1);
    return t.tein / t.taus;
  };
  const double ratio = q.tein / q.taus;
  if (ratio < ratioOf(r.front(), r2High) || ratio > ratioOf(r.back(), r2Low)) {
    return {Kind::Ratio, true, 0.0, true, false};
  }
  return {Kind::Series};
}

}  // namespace kippwerk
