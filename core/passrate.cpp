// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/passrate.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>

namespace kippwerk {
namespace {

// xoshiro256** seeded by splitmix64: the same boards from the same seed on every machine.
class Random {
 public:
  explicit Random(std::uint64_t seed) {
    for (std::uint64_t& word : s_) {
      seed += 0x9E3779B97F4A7C15ull;
      std::uint64_t z = seed;
      z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
      z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
      word = z ^ (z >> 31);
    }
  }
  // Uniform in [-1, 1).
  double symmetric() { return 2.0 * unit() - 1.0; }
  // Uniform in [0, 1).
  double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

 private:
  static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
  std::uint64_t next() {
    const std::uint64_t result = rotl(s_[1] * 5, 7) * 9;
    const std::uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = rotl(s_[3], 45);
    return result;
  }
  std::uint64_t s_[4]{};
};

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// What a board that never switches counts as in the deviations: a millionfold.
constexpr double kFarthest = 1e6;
// The boards worked out exactly before any is placed by the straight fit.
constexpr int kMeasuredBoards = 64;
// Beyond this stray of the fit (in the logarithm of a time) every board is worked out: with the
// histogram, whose bars show the fit's own estimates, a small one; for the rate alone the fit
// only has to place most boards beyond its margin.
constexpr double kStraightEnough = 0.05, kStraightEnoughForTheRate = 0.25;

// A board's parts as drawn: the factors of R1, R2 and C1, its dielectric's tk, the chip's own
// error (its offset, its share of the drift, its supply slope) and the rest of its parts.
struct Board {
  double r1f = 1.0, r2f = 1.0, cf = 1.0, tk = 0.0, e0 = 0.0, dShare = 0.0, s = 0.0;
  BoardVariation parts;
};

struct Corner {
  double celsius, supply;
};

// Every board draws the same numbers in the same order whatever the set, so that sets are
// compared on the same boards.
std::vector<Board> drawBoards(const TimerDesign& d, const Surroundings& around, int count,
                              std::uint64_t seed) {
  Random random(seed);
  const double spread = d.diodeVaries() ? std::log(d.circuit.model.batchSpread) : 0.0;
  const std::optional<Leakage> leak = leakageOf(d, around.capacitor);
  std::vector<Board> out(static_cast<std::size_t>(count));
  for (Board& b : out) {
    b.r1f = 1.0 + d.resistorTolerance * random.symmetric();
    b.r2f = 1.0 + d.resistorTolerance * random.symmetric();
    b.cf = 1.0 + d.capacitorTolerance * random.symmetric();
    b.tk =
        around.capacitor.tkMin + (around.capacitor.tkMax - around.capacitor.tkMin) * random.unit();
    b.e0 = d.error.e0Max * random.symmetric();
    b.dShare = random.symmetric();  // of the chip's drift at each supply
    b.s = d.error.sMax * random.symmetric();
    ChipVariation& chip = b.parts.chip;
    chip.delay = kDelayLowest + (kDelayHighest - kDelayLowest) * random.unit();
    chip.switchShare = random.unit();
    chip.threshold = random.unit();
    chip.trigger = random.unit();
    chip.leakage = random.unit();
    b.parts.diode = std::exp(spread * random.symmetric());
    b.parts.leakage = (leak ? leak->leakage : 0.0) * random.unit();
  }
  return out;
}

// The coordinates in which each time's logarithm is drawn as a straight fit.
enum Axis : std::size_t {
  kR1,
  kR2,
  kC,
  kDelay,
  kSwitch,
  kThreshold,
  kTrigger,
  kPinLeakage,
  kDiode,
  kLeakage,
  kAxes
};
using Point = std::array<double, kAxes>;

// The parts that scale a time are taken by their logarithms: a time proportional to a part is
// a straight line there. C1 by its own factor, before its drift at a corner.
Point pointOf(const Board& b) {
  const ChipVariation& c = b.parts.chip;
  return {std::log(b.r1f),         std::log(b.r2f), std::log(b.cf), c.delay,
          c.switchShare,           c.threshold,     c.trigger,      c.leakage,
          std::log(b.parts.diode), b.parts.leakage};
}

Board boardAt(const Point& x) {
  Board b;
  b.r1f = std::exp(x[kR1]);
  b.r2f = std::exp(x[kR2]);
  b.cf = std::exp(x[kC]);
  b.parts.chip = {x[kDelay], x[kSwitch], x[kThreshold], x[kTrigger], x[kPinLeakage]};
  b.parts.diode = std::exp(x[kDiode]);
  b.parts.leakage = x[kLeakage];
  return b;
}

// One set worked out at its corners.
class SetAtCorners {
 public:
  SetAtCorners(const TimerDesign& d, const Surroundings& around, std::array<double, 2> want)
      : d_(d), want_(want), times_(d.monostable ? 1 : 2) {
    const double ub = d.circuit.ub;
    corners_ = {{{around.tMin, ub * (1.0 - around.supplyTolerance)},
                 {around.tMin, ub * (1.0 + around.supplyTolerance)},
                 {around.tMax, ub * (1.0 - around.supplyTolerance)},
                 {around.tMax, ub * (1.0 + around.supplyTolerance)}}};
  }

  int times() const { return times_; }
  const std::array<Corner, 4>& corners() const { return corners_; }

  double capacitance(const Board& b, const Corner& k) const {
    return b.cf * (1.0 + b.tk * (k.celsius - kNominalCelsius));
  }
  // A board's point at a corner, from its point before C1's drift.
  static Point at(Point x, const Board& b, const Corner& k) {
    x[kC] += std::log1p(b.tk * (k.celsius - kNominalCelsius));
    return x;
  }
  // The chip's own error at a corner, as a factor of each time.
  double error(const Board& b, const Corner& k) const {
    const double dt = k.celsius - kNominalCelsius;
    return 1.0 + b.e0 + b.dShare * d_.error.dMax(k.supply) * dt + b.s * (k.supply - d_.circuit.ub);
  }
  AstableTimes exact(const Board& b, const Corner& k) const {
    return d_.times(b.r1f, d_.monostable ? 1.0 : b.r2f, d_.c1 * capacitance(b, k), k.supply,
                    k.celsius, &b.parts);
  }
  double deviation(double time, std::size_t i, double error) const {
    return error * time / want_[i] - 1.0;
  }

 private:
  const TimerDesign& d_;
  std::array<double, 2> want_;
  int times_;
  std::array<Corner, 4> corners_{};
};

double timeOf(const AstableTimes& t, std::size_t i) {
  return i == 0 ? t.tein : t.taus;
}

// Each time's logarithm at one corner as a quadratic in the board's coordinates: through the
// middle of every range, with the secant and the bend across each range and the mixed
// difference of each pair of ranges.
struct Fit {
  Point middle{}, half{};
  std::array<double, 2> at{};
  std::array<Point, 2> slope{}, bend{};
  // The axes in use, and how each pair acts together.
  std::vector<std::size_t> axes;
  std::array<std::array<Point, kAxes>, 2> cross{};

  double logTime(std::size_t i, const Point& x) const {
    Point dx{};
    double sum = at[i];
    for (std::size_t a : axes) {
      dx[a] = x[a] - middle[a];
      sum += (slope[i][a] + bend[i][a] * dx[a]) * dx[a];
    }
    for (std::size_t m = 0; m < axes.size(); ++m) {
      const std::size_t a = axes[m];
      double row = 0.0;
      for (std::size_t n = m + 1; n < axes.size(); ++n) row += cross[i][a][axes[n]] * dx[axes[n]];
      sum += row * dx[a];
    }
    return sum;
  }
};

// The ranges the boards' coordinates span at a corner; an empty one takes no part.
std::pair<Point, Point> rangesAt(const TimerDesign& d, const Surroundings& around, double celsius) {
  const double dt = celsius - kNominalCelsius;
  const double driftLow =
      std::min(1.0 + around.capacitor.tkMin * dt, 1.0 + around.capacitor.tkMax * dt);
  const double driftHigh =
      std::max(1.0 + around.capacitor.tkMin * dt, 1.0 + around.capacitor.tkMax * dt);
  const double capLow = (1.0 - d.capacitorTolerance) * driftLow;
  const double capHigh = (1.0 + d.capacitorTolerance) * driftHigh;
  const std::optional<Leakage> leak = leakageOf(d, around.capacitor);
  const double leakage = leak ? leak->leakage : 0.0;
  const double rLow = std::log1p(-d.resistorTolerance), rHigh = std::log1p(d.resistorTolerance);
  const double r2Half = d.monostable ? 0.0 : 0.5 * (rHigh - rLow);
  Point middle{0.5 * (rLow + rHigh),
               d.monostable ? 0.0 : 0.5 * (rLow + rHigh),
               0.5 * (std::log(capLow) + std::log(capHigh)),
               1.0,
               0.0,
               0.0,
               0.0,
               0.0,
               0.0,
               0.5 * leakage};
  Point half{0.5 * (rHigh - rLow),
             r2Half,
             0.5 * (std::log(capHigh) - std::log(capLow)),
             0.0,
             0.0,
             0.0,
             0.0,
             0.0,
             0.0,
             0.5 * leakage};
  if (d.family) {
    const ChipFamily& f = *d.family;
    middle[kDelay] = 0.5 * (kDelayLowest + kDelayHighest);
    half[kDelay] = 0.5 * (kDelayHighest - kDelayLowest);
    for (auto [axis, present] :
         {std::pair{kSwitch, true}, std::pair{kThreshold, f.worst.thresholdCurrent > 0.0},
          std::pair{kTrigger, !d.monostable && f.worst.triggerCurrent > 0.0},
          std::pair{kPinLeakage, f.worst.leakage > 0.0}}) {
      middle[axis] = 0.5;
      half[axis] = present ? 0.5 : 0.0;
    }
  }
  if (d.diodeVaries()) half[kDiode] = std::log(d.circuit.model.batchSpread);
  return {middle, half};
}

// Nothing where a time at the middle or a range's end is not a positive number.
std::optional<Fit> fitAt(const SetAtCorners& boards, const TimerDesign& d,
                         const Surroundings& around, const Corner& k) {
  Fit fit;
  std::tie(fit.middle, fit.half) = rangesAt(d, around, k.celsius);
  auto logTimes = [&](const Point& x) -> std::optional<std::array<double, 2>> {
    Board b = boardAt(x);
    const AstableTimes t = boards.exact(b, {k.celsius, k.supply});
    std::array<double, 2> out{};
    for (std::size_t i = 0; i < static_cast<std::size_t>(boards.times()); ++i) {
      const double v = timeOf(t, i);
      if (!(v > 0.0) || !std::isfinite(v)) return std::nullopt;
      out[i] = std::log(v);
    }
    return out;
  };
  const auto at = logTimes(fit.middle);
  if (!at) return std::nullopt;
  fit.at = *at;
  for (std::size_t a = 0; a < kAxes; ++a) {
    if (!(fit.half[a] > 0.0)) continue;
    fit.axes.push_back(a);
    Point up = fit.middle, down = fit.middle;
    up[a] += fit.half[a];
    down[a] -= fit.half[a];
    const auto high = logTimes(up), low = logTimes(down);
    if (!high || !low) return std::nullopt;
    for (std::size_t i = 0; i < 2; ++i) {
      fit.slope[i][a] = ((*high)[i] - (*low)[i]) / (2.0 * fit.half[a]);
      fit.bend[i][a] =
          ((*high)[i] + (*low)[i] - 2.0 * fit.at[i]) / (2.0 * fit.half[a] * fit.half[a]);
    }
  }
  for (std::size_t m = 0; m < fit.axes.size(); ++m) {
    for (std::size_t n = m + 1; n < fit.axes.size(); ++n) {
      const std::size_t a = fit.axes[m], b = fit.axes[n];
      std::array<std::array<double, 2>, 4> corner{};
      for (std::size_t q = 0; q < 4; ++q) {
        Point x = fit.middle;
        x[a] += (q & 1 ? 1.0 : -1.0) * fit.half[a];
        x[b] += (q & 2 ? 1.0 : -1.0) * fit.half[b];
        const auto t = logTimes(x);
        if (!t) return std::nullopt;
        corner[q] = *t;
      }
      for (std::size_t i = 0; i < 2; ++i) {
        fit.cross[i][a][b] = (corner[3][i] - corner[2][i] - corner[1][i] + corner[0][i]) /
                             (4.0 * fit.half[a] * fit.half[b]);
      }
    }
  }
  return fit;
}

// The larger stray; one without a value is too large.
void widen(double& stray, double logExact, double logFit) {
  const double e = std::fabs(logExact - logFit);
  stray = e <= stray ? stray : std::isnan(e) ? kInfinity : e;
}

// What the fit can say of a time: within the limit, beyond it, or too near to tell.
// All in logarithms: `ratio` is the time with the chip's error against the desired one, `low`
// and `high` the limit's ends.
enum class Verdict { Holds, Fails, Near };

Verdict verdictOf(double ratio, double margin, double low, double high) {
  if (!std::isfinite(ratio)) return Verdict::Near;
  if (ratio - margin >= low && ratio + margin <= high) return Verdict::Holds;
  if (ratio + margin < low || ratio - margin > high) return Verdict::Fails;
  return Verdict::Near;
}

}  // namespace

std::optional<PassRate> passRate(const TimerDesign& d, const Surroundings& around, double wantTein,
                                 double wantTaus, double limit, const BoardRun& run) {
  const int boards = run.boards;
  const std::atomic<bool>* cancel = run.cancel;
  if (!(wantTein > 0.0) || (!d.monostable && !(wantTaus > 0.0)) || boards <= 0) {
    return std::nullopt;
  }
  const std::array<double, 2> want{wantTein, wantTaus};
  const SetAtCorners set(d, around, want);
  const std::vector<Board> drawn = drawBoards(d, around, boards, run.seed);
  const auto times = static_cast<std::size_t>(set.times());
  auto cancelled = [cancel] {
    return cancel != nullptr && cancel->load(std::memory_order_relaxed);
  };

  PassRate out;
  if (run.deviations) out.deviations.reserve(drawn.size());
  int passed = 0;
  // One board's corners, each worked out where `exactly` says so, else from the fits.
  auto tally = [&](const Board& b, auto&& exactly, auto&& estimate) {
    double farthest = 0.0;
    bool holds = true;
    for (std::size_t c = 0; c < set.corners().size() && (holds || run.deviations); ++c) {
      const Corner& k = set.corners()[c];
      const double error = set.error(b, k);
      std::array<double, 2> t{};
      if (exactly(c)) {
        const AstableTimes exact = set.exact(b, k);
        t = {exact.tein, exact.taus};
      } else {
        t = estimate(c);
      }
      for (std::size_t i = 0; i < times; ++i) {
        const double deviation = set.deviation(t[i], i, error);
        if (std::fabs(deviation) > std::fabs(farthest) || std::isnan(deviation)) {
          farthest = deviation;
        }
        holds = holds && std::fabs(deviation) <= limit;
      }
    }
    // A board that stalls at a corner deviates without bound; its bar needs a number.
    if (run.deviations) {
      out.deviations.push_back(std::isnan(farthest) ? kFarthest
                                                    : std::clamp(farthest, -kFarthest, kFarthest));
    }
    passed += holds ? 1 : 0;
  };
  auto always = [](std::size_t) { return true; };
  auto none = [](std::size_t) { return std::array<double, 2>{}; };

  // The fits, and how far they stray at the corners of the parts' box and on the first boards.
  std::array<std::optional<Fit>, 4> fits;
  const double straightEnough = run.deviations ? kStraightEnough : kStraightEnoughForTheRate;
  double stray = run.how == Boards::Screened ? 0.0 : straightEnough + 1.0;
  for (std::size_t c = 0; c < 4 && stray <= straightEnough; ++c) {
    if (cancelled()) return std::nullopt;
    fits[c] = fitAt(set, d, around, set.corners()[c]);
    if (!fits[c]) {
      stray = straightEnough + 1.0;
      break;
    }
    const Fit& fit = *fits[c];
    for (std::size_t i = 0; i < times; ++i) {
      for (double side : {-1.0, 1.0}) {
        Point x = fit.middle;
        for (std::size_t a = 0; a < kAxes; ++a) {
          x[a] += side * (fit.slope[i][a] >= 0.0 ? 1.0 : -1.0) * fit.half[a];
        }
        const AstableTimes t = set.exact(boardAt(x), set.corners()[c]);
        for (std::size_t j = 0; j < times; ++j)
          widen(stray, std::log(timeOf(t, j)), fit.logTime(j, x));
      }
    }
  }
  const int measured = std::min(boards, kMeasuredBoards);
  for (int n = 0; n < measured; ++n) {
    const Board& b = drawn[static_cast<std::size_t>(n)];
    if (stray <= straightEnough) {
      for (std::size_t c = 0; c < 4; ++c) {
        const AstableTimes t = set.exact(b, set.corners()[c]);
        const Point x = SetAtCorners::at(pointOf(b), b, set.corners()[c]);
        for (std::size_t i = 0; i < times; ++i) {
          widen(stray, std::log(timeOf(t, i)), fits[c]->logTime(i, x));
        }
      }
    }
    tally(b, always, none);
  }
  const double margin = 2.0 * stray + 1e-12;
  const std::array<double, 2> logWant{std::log(want[0]), std::log(want[1])};
  const double lowest = limit < 1.0 ? std::log1p(-limit) : -kInfinity;
  const double highest = std::log1p(limit);
  const bool screened = stray <= straightEnough;

  for (int n = measured; n < boards; ++n) {
    if (n % 64 == 0 && cancelled()) return std::nullopt;
    const Board& b = drawn[static_cast<std::size_t>(n)];
    if (!screened) {
      tally(b, always, none);
      continue;
    }
    // The fits' word at each corner; the corners they cannot place are worked out, unless
    // another corner has already failed the board.
    std::array<std::array<double, 2>, 4> logTimes{};
    std::array<bool, 4> near{};
    bool fails = false, anyNear = false;
    const Point base = pointOf(b);
    for (std::size_t c = 0; c < 4; ++c) {
      const Corner& k = set.corners()[c];
      const double error = std::log(set.error(b, k));  // NaN where not above 0: near
      const Point x = SetAtCorners::at(base, b, k);
      for (std::size_t i = 0; i < times; ++i) {
        const double logTime = fits[c]->logTime(i, x);
        logTimes[c][i] = logTime;
        const Verdict v = verdictOf(logTime + error - logWant[i], margin, lowest, highest);
        fails = fails || v == Verdict::Fails;
        near[c] = near[c] || v == Verdict::Near;
      }
      anyNear = anyNear || near[c];
    }
    // Without the histogram a board the fits place needs nothing more.
    if (!run.deviations && (fails || !anyNear)) {
      passed += fails ? 0 : 1;
      continue;
    }
    tally(
        b, [&](std::size_t c) { return near[c] && !fails; },
        [&](std::size_t c) {
          return std::array<double, 2>{std::exp(logTimes[c][0]), std::exp(logTimes[c][1])};
        });
  }
  out.rate = static_cast<double>(passed) / boards;
  return out;
}

std::vector<std::size_t> byPassRate(const std::vector<double>& rates, std::size_t count) {
  std::vector<std::size_t> order(rates.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  auto rate = [&rates](std::size_t i) { return std::isnan(rates[i]) ? -1.0 : rates[i]; };
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return rate(a) > rate(b); });
  if (order.size() > count) order.resize(count);
  return order;
}

}  // namespace kippwerk
