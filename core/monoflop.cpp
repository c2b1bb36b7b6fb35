// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/monoflop.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_set>

#include "core/normtext.h"
#include "core/searchsupport.h"

namespace kippwerk {
namespace {

using namespace search;

// The parts one search may use; index i + perDecade is ten times index i. The pulse rises with
// R and with C1; each R's charge per farad is worked out once.
class Pairs {
 public:
  Pairs(const PulseSearch& q, std::vector<double> r, std::vector<double> c)
      : q_(q),
        circuit_(q.circuit()),
        r_(std::move(r)),
        c_(std::move(c)),
        nR_(static_cast<int>(seriesMantissas(q.resistorSeries).size())),
        nC_(static_cast<int>(seriesMantissas(q.capacitorSeries).size())) {
    shapes_.reserve(r_.size());
    runsHigh_.reserve(r_.size());
    for (double v : r_) {
      shapes_.emplace_back(circuit_, v);
      // The longest pulse of the spread, with the largest R: the chip's currents may keep C1
      // below its level there although the part itself still reaches it.
      runsHigh_.push_back(
          std::isfinite(PulseShape(circuit_, v * (1.0 + q.resistorTolerance)).at(1.0)));
    }
  }

  int sizeR() const { return static_cast<int>(r_.size()); }
  int sizeC() const { return static_cast<int>(c_.size()); }
  double r(int i) const { return r_[static_cast<std::size_t>(i)]; }
  double c(int i) const { return c_[static_cast<std::size_t>(i)]; }
  double pulse(int ir, int ic) const { return shapes_[static_cast<std::size_t>(ir)].at(c(ic)); }

  double deviation(int ir, int ic) const { return pulse(ir, ic) / q_.t - 1.0; }
  // The first R whose pulse with capacitor ic reaches the desired one.
  int firstReaching(int ic) const {
    int low = 0, high = sizeR();
    while (low < high) {
      const int middle = low + (high - low) / 2;
      if (deviation(middle, ic) >= 0.0) {
        high = middle;
      } else {
        low = middle + 1;
      }
    }
    return low;
  }

  // A pair within reach of the desired pulse whose spread ends too, or nothing. Standard values
  // lie between 1e-24 and 1e24, so every pulse and its spread are numbers far from the ends of
  // a double.
  bool evaluate(int ir, int ic, PulsePair& out) const {
    const double d = deviation(ir, ic);
    if (!usable(d) || !runsHigh_[static_cast<std::size_t>(ir)]) return false;
    out = {r(ir), c(ic), pulse(ir, ic), d, std::fabs(d)};
    return true;
  }

  // A family's representative is listed; another member where its pulse differs from it.
  bool isListed(int ir, int ic) const {
    const int k = representativeShift([&](int j) { return valid(ir, ic, j); },
                                      [&](int j) { return r(ir + j * nR_); });
    return k == 0 || !sameTime(pulse(ir, ic), pulse(ir + k * nR_, ic - k * nC_));
  }
  std::uint64_t representativeKey(int ir, int ic) const {
    const int k = representativeShift([&](int j) { return valid(ir, ic, j); },
                                      [&](int j) { return r(ir + j * nR_); });
    return key(ir + k * nR_, ic - k * nC_);
  }
  static std::uint64_t key(int ir, int ic) {
    return (static_cast<std::uint64_t>(ir) << 32) | static_cast<std::uint32_t>(ic);
  }

 private:
  bool valid(int ir, int ic, int k) const {
    const int jr = ir + k * nR_, jc = ic - k * nC_;
    return jr >= 0 && jr < sizeR() && jc >= 0 && jc < sizeC();
  }

  const PulseSearch& q_;
  Circuit circuit_;
  std::vector<double> r_, c_;
  std::vector<PulseShape> shapes_;
  std::vector<bool> runsHigh_;  // per R: the pulse at its largest tolerance ends
  int nR_, nC_;
};

Result<Pairs, PulseError> makePairs(const PulseSearch& q) {
  for (double v : {q.t, q.rMin, q.rMax, q.cMin, q.cMax, q.fixedC1}) {
    if (!std::isfinite(v)) return PulseError::OutOfRange;
  }
  for (double t : {q.resistorTolerance, q.capacitorTolerance}) {
    if (!(t >= 0.0 && t < 1.0)) return PulseError::OutOfRange;
  }
  if (!(q.t > 0.0)) return PulseError::TimeNotPositive;
  if (q.fixedC1 < 0.0) return PulseError::OutOfRange;
  const bool fixedC = q.fixedC1 > 0.0;
  auto reach = [&q](const Circuit& circuit, double r0, double r1, double c0, double c1) {
    return outOfReach(pulseTime(circuit, r0, c0) / q.t, pulseTime(circuit, r1, c1) / q.t);
  };
  // The widest parts with the ideal chip, which at such parts the real one would not be.
  if (reach(Circuit{false, kIdealDiode, q.ub}, smallestValue(q.resistorSeries),
            largestValue(q.resistorSeries), fixedC ? q.fixedC1 : smallestValue(q.capacitorSeries),
            fixedC ? q.fixedC1 : largestValue(q.capacitorSeries))) {
    return PulseError::BeyondEveryRange;
  }
  const Circuit circuit = q.circuit();
  std::vector<double> r = standardValues(q.resistorSeries, q.rMin, q.rMax);
  if (r.empty()) return PulseError::ResistorRangeEmpty;
  std::vector<double> c =
      fixedC ? std::vector<double>{q.fixedC1} : standardValues(q.capacitorSeries, q.cMin, q.cMax);
  if (c.empty()) return PulseError::CapacitorRangeEmpty;
  if (reach(circuit, r.front(), r.back(), c.front(), c.back())) return PulseError::Unreachable;
  return Pairs(q, std::move(r), std::move(c));
}

PulsePairs finish(std::vector<PulsePair> pool, std::size_t count) {
  if (pool.empty()) return PulseError::Unreachable;
  return bestOf(
      std::move(pool), count,
      [](const PulsePair& a, const PulsePair& b) {
        if (std::fabs(a.deviation - b.deviation) > kTie) return a.deviation < b.deviation;
        if (a.c1 != b.c1) return a.c1 < b.c1;
        return a.r < b.r;
      },
      [](const PulsePair& a, const PulsePair& b) {
        return a.c1 != b.c1 ? a.c1 < b.c1 : a.r < b.r;
      });
}

}  // namespace

PulsePairs searchPulsePairs(const PulseSearch& request) {
  const Result<Pairs, PulseError> made = makePairs(request);
  if (!made) return made.error();
  const Pairs& p = made.value();
  // A bound from the few resistors around the ideal one of each capacitor, more until four
  // times as many families as asked for give usable pairs (the few nearest the ideal ones of a
  // capacitor that can hardly reach would make it loose), then every pair within it: the
  // deviation grows away from the ideal resistor.
  std::unordered_set<std::uint64_t> seeds;
  NthSmallest bound(request.count);
  std::size_t usableSeeds = 0;
  for (int each = 2; usableSeeds < 4 * request.count; each *= 2) {
    for (int ic = 0; ic < p.sizeC(); ++ic) {
      around(p.sizeR(), p.firstReaching(ic), each, [&](int ir) {
        const std::uint64_t k = p.representativeKey(ir, ic);
        PulsePair pair;
        if (seeds.insert(k).second &&
            p.evaluate(static_cast<int>(k >> 32), static_cast<int>(k & 0xFFFFFFFFu), pair)) {
          bound.add(pair.deviation);
          ++usableSeeds;
        }
      });
    }
    if (each >= p.sizeR()) break;
  }
  const double limit = beyond(bound.value());
  std::vector<PulsePair> pool;
  for (int ic = 0; ic < p.sizeC(); ++ic) {
    walkOutward(p.sizeR(), p.firstReaching(ic), [&](int ir) {
      const double d = p.deviation(ir, ic);
      if (!usable(d) || !(std::fabs(d) <= limit)) return false;
      PulsePair pair;
      if (p.evaluate(ir, ic, pair) && p.isListed(ir, ic)) pool.push_back(pair);
      return true;
    });
  }
  return finish(std::move(pool), request.count);
}

PulsePairs searchPulsePairsExhaustive(const PulseSearch& request) {
  const Result<Pairs, PulseError> made = makePairs(request);
  if (!made) return made.error();
  const Pairs& p = made.value();
  std::vector<PulsePair> all;
  for (int ic = 0; ic < p.sizeC(); ++ic) {
    for (int ir = 0; ir < p.sizeR(); ++ir) {
      PulsePair pair;
      if (p.evaluate(ir, ic, pair) && p.isListed(ir, ic)) all.push_back(pair);
    }
  }
  NthSmallest tenth(request.count);
  for (const PulsePair& pair : all) tenth.add(pair.deviation);
  const double limit = beyond(tenth.value());
  std::erase_if(all, [limit](const PulsePair& pair) { return pair.deviation > limit; });
  return finish(std::move(all), request.count);
}

Shortfall pulseShortfallOf(const PulseSearch& q, const PulsePair& best) {
  using Kind = Shortfall::Kind;
  if (std::fabs(best.devT) <= kShortfallFrom) return {};
  const bool fixedC = q.fixedC1 > 0.0;
  const std::vector<double> r = standardValues(q.resistorSeries, q.rMin, q.rMax);
  const std::vector<double> c =
      fixedC ? std::vector<double>{q.fixedC1} : standardValues(q.capacitorSeries, q.cMin, q.cMax);
  if (r.empty() || c.empty()) return {Kind::Series};
  const Circuit circuit = q.circuit();
  const double longest = pulseTime(circuit, r.back(), c.back());
  const double shortest = pulseTime(circuit, r.front(), c.front());
  if (best.devT < 0.0 && q.t > longest) return {Kind::BeyondLargest, true, longest, true, !fixedC};
  if (best.devT > 0.0 && q.t < shortest) {
    return {Kind::BelowSmallest, true, shortest, true, !fixedC};
  }
  return {Kind::Series};
}

Spread pulseSpread(const Circuit& c, double r, double c1, double resistorTolerance,
                   double capacitorTolerance) {
  return {pulseTime(c, r * (1.0 - resistorTolerance), c1 * (1.0 - capacitorTolerance)),
          pulseTime(c, r * (1.0 + resistorTolerance), c1 * (1.0 + capacitorTolerance))};
}

std::string pulseSpreadText(const Spread& spread, double want) {
  return "t: " + spreadLine(spread, want, timeText);
}

}  // namespace kippwerk
