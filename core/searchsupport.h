// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the searches for standard parts share: when a deviation counts, the walks over sorted
// part lists, the bound from the last of the best, the families of parts that differ by a power of
// ten, and the final ranking. Internal to the core.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <limits>
#include <queue>
#include <vector>

namespace kippwerk::search {

inline constexpr double kTie = 1e-12;
inline constexpr double kOneMegohm = 1e6;
// A time counts when it lies within a factor of a million of the desired one; the others are
// useless, and near 100 % their deviations would all tie.
inline constexpr double kReach = 1e6;
inline constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Members of a power-of-ten family whose times agree this closely count once.
inline constexpr double kSameTimes = 5e-4;

inline bool sameTime(double a, double b) {
  return std::fabs(a / b - 1.0) <= kSameTimes;
}

inline bool usable(double deviation) {
  return deviation >= 1.0 / kReach - 1.0 && deviation <= kReach - 1.0;
}

// Candidates are collected a little beyond the bound, so that rounding noise in the walks and
// sets tied with the last place are never cut off; the final ranking decides exactly. The
// slack stays far below the distance of a near-useless set's deviation from 100 %.
inline double beyond(double bound) {
  return bound + 2 * kTie + bound * 1e-14;
}

// Beyond a factor of a million of the desired time at both ends, nothing is searched.
inline bool outOfReach(double lowest, double highest) {
  return highest < 1.0 / kReach || lowest > kReach;
}

inline int lowerBound(const std::vector<double>& v, double x) {
  return static_cast<int>(std::lower_bound(v.begin(), v.end(), x) - v.begin());
}

// Visits the indices of [0, n) outward from start, each direction until keep() says no.
inline void walkOutward(int n, int start, const std::function<bool(int)>& keep) {
  for (int i = start; i < n && keep(i); ++i) {
  }
  for (int i = start - 1; i >= 0 && keep(i); --i) {
  }
}

// The 2 * each indices of [0, n) nearest to start, fewer only when n is smaller.
inline void around(int n, int start, int each, const std::function<void(int)>& visit) {
  const int first = std::clamp(start - each, 0, std::max(0, n - 2 * each));
  for (int i = first; i < std::min(n, first + 2 * each); ++i) visit(i);
}

// The n-th smallest deviation of the given sets, or infinity when there are fewer.
class NthSmallest {
 public:
  explicit NthSmallest(std::size_t n) : n_(std::max<std::size_t>(n, 1)) {}
  void add(double d) {
    if (heap_.size() < n_) {
      heap_.push(d);
    } else if (d < heap_.top()) {
      heap_.pop();
      heap_.push(d);
    }
  }
  double value() const { return heap_.size() < n_ ? kInfinity : heap_.top(); }

 private:
  std::size_t n_;
  std::priority_queue<double> heap_;
};

// A family is the parts shifted by k decades (resistors times 10^k, C1 divided by it) while all
// stay in their lists: `valid(k)` says whether they do, `larger(k)` gives the larger resistor
// of the shifted member. The family is listed once, as the member whose larger resistor is the
// largest not above 1 M Ohm or, when all are above, the member with the smallest resistors.
template <class Valid, class Larger>
bool isRepresentative(Valid valid, Larger larger) {
  if (larger(0) <= kOneMegohm) return !valid(1) || larger(1) > kOneMegohm;
  return !valid(-1);
}

// The shift that leads from a member to the family's listed one.
template <class Valid, class Larger>
int representativeShift(Valid valid, Larger larger) {
  int lowest = 0;
  while (valid(lowest - 1)) --lowest;
  int highest = 0;
  while (valid(highest + 1)) ++highest;
  for (int k = highest; k >= lowest; --k) {
    if (larger(k) <= kOneMegohm) return k;
  }
  return lowest;
}

// The `count` best of a pool that holds every listed candidate within the tie window of the
// last of them. `fixedOrder` first gives the pool one order, so that the tie-breaks of `better`
// (which need not be transitive within kTie) meet the same sequence on every path to the same pool.
template <class T, class Better, class FixedOrder>
std::vector<T> bestOf(std::vector<T> pool, std::size_t count, Better better,
                      FixedOrder fixedOrder) {
  count = std::max<std::size_t>(count, 1);
  if (pool.size() > count) {
    auto last = pool.begin() + static_cast<std::ptrdiff_t>(count - 1);
    std::nth_element(pool.begin(), last, pool.end(),
                     [](const T& a, const T& b) { return a.deviation < b.deviation; });
    const double limit = last->deviation + kTie;
    std::erase_if(pool, [limit](const T& c) { return c.deviation > limit; });
  }
  std::sort(pool.begin(), pool.end(), fixedOrder);
  std::stable_sort(pool.begin(), pool.end(), better);
  if (pool.size() > count) pool.resize(count);
  return pool;
}

}  // namespace kippwerk::search
