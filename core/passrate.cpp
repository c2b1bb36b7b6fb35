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
// The boards worked out exactly before any is placed by the straight line.
constexpr int kMeasuredBoards = 64;
// Beyond this stray of the line (in the logarithm of a time) every board is worked out.
constexpr double kStraightEnough = 0.05;

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

// The coordinates in which each time's logarithm is drawn as a straight line.
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
// a straight line there.
Point pointOf(const Board& b, double capacitance) {
  const ChipVariation& c = b.parts.chip;
  return {std::log(b.r1f), std::log(b.r2f), std::log(capacitance),
          c.delay,         c.switchShare,   c.threshold,
          c.trigger,       c.leakage,       std::log(b.parts.diode),
          b.parts.leakage};
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

// Each time's logarithm at one corner as a straight line in the board's coordinates: through
// the middle of every range, with the secant across each range as its slope.
struct Line {
  Point middle{}, half{};
  std::array<double, 2> at{};
  std::array<Point, 2> slope{}, bend{};

  double logTime(std::size_t i, const Point& x) const {
    double sum = at[i];
    for (std::size_t a = 0; a < kAxes; ++a) {
      const double dx = x[a] - middle[a];
      sum += (slope[i][a] + bend[i][a] * dx) * dx;
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
std::optional<Line> lineAt(const SetAtCorners& boards, const TimerDesign& d,
                           const Surroundings& around, const Corner& k) {
  Line line;
  std::tie(line.middle, line.half) = rangesAt(d, around, k.celsius);
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
  const auto at = logTimes(line.middle);
  if (!at) return std::nullopt;
  line.at = *at;
  for (std::size_t a = 0; a < kAxes; ++a) {
    if (!(line.half[a] > 0.0)) continue;
    Point up = line.middle, down = line.middle;
    up[a] += line.half[a];
    down[a] -= line.half[a];
    const auto high = logTimes(up), low = logTimes(down);
    if (!high || !low) return std::nullopt;
    for (std::size_t i = 0; i < 2; ++i) {
      line.slope[i][a] = ((*high)[i] - (*low)[i]) / (2.0 * line.half[a]);
      line.bend[i][a] =
          ((*high)[i] + (*low)[i] - 2.0 * line.at[i]) / (2.0 * line.half[a] * line.half[a]);
    }
  }
  return line;
}

// The larger stray; one without a value is too large.
void widen(double& stray, double logExact, double logLine) {
  const double e = std::fabs(logExact - logLine);
  stray = e <= stray ? stray : std::isnan(e) ? kInfinity : e;
}

// What the straight line can say of a time: within the limit, beyond it, or too near to tell.
enum class Verdict { Holds, Fails, Near };

Verdict verdictOf(double logTime, double margin, double error, double want, double limit) {
  if (!std::isfinite(logTime) || !(error > 0.0)) return Verdict::Near;
  const double low = error * std::exp(logTime - margin) / want - 1.0;
  const double high = error * std::exp(logTime + margin) / want - 1.0;
  if (low >= -limit && high <= limit) return Verdict::Holds;
  if (high < -limit || low > limit) return Verdict::Fails;
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
  // One board's corners, each worked out where `exactly` says so, else from the lines.
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

  // The lines, and how far they stray at the corners of the parts' box and on the first boards.
  std::array<std::optional<Line>, 4> lines;
  double stray = run.how == Boards::Screened ? 0.0 : kStraightEnough + 1.0;
  for (std::size_t c = 0; c < 4 && stray <= kStraightEnough; ++c) {
    if (cancelled()) return std::nullopt;
    lines[c] = lineAt(set, d, around, set.corners()[c]);
    if (!lines[c]) {
      stray = kStraightEnough + 1.0;
      break;
    }
    const Line& line = *lines[c];
    for (std::size_t i = 0; i < times; ++i) {
      for (double side : {-1.0, 1.0}) {
        Point x = line.middle;
        for (std::size_t a = 0; a < kAxes; ++a) {
          x[a] += side * (line.slope[i][a] >= 0.0 ? 1.0 : -1.0) * line.half[a];
        }
        const AstableTimes t = set.exact(boardAt(x), set.corners()[c]);
        for (std::size_t j = 0; j < times; ++j)
          widen(stray, std::log(timeOf(t, j)), line.logTime(j, x));
      }
    }
  }
  const int measured = std::min(boards, kMeasuredBoards);
  for (int n = 0; n < measured; ++n) {
    const Board& b = drawn[static_cast<std::size_t>(n)];
    if (stray <= kStraightEnough) {
      for (std::size_t c = 0; c < 4; ++c) {
        const AstableTimes t = set.exact(b, set.corners()[c]);
        const Point x = pointOf(b, set.capacitance(b, set.corners()[c]));
        for (std::size_t i = 0; i < times; ++i) {
          widen(stray, std::log(timeOf(t, i)), lines[c]->logTime(i, x));
        }
      }
    }
    tally(b, always, none);
  }
  const double margin = 2.0 * stray + 1e-12;
  const bool screened = stray <= kStraightEnough;

  for (int n = measured; n < boards; ++n) {
    if (n % 64 == 0 && cancelled()) return std::nullopt;
    const Board& b = drawn[static_cast<std::size_t>(n)];
    if (!screened) {
      tally(b, always, none);
      continue;
    }
    // The lines' word at each corner; the corners they cannot place are worked out, unless
    // another corner has already failed the board.
    std::array<std::array<double, 2>, 4> estimates{};
    std::array<bool, 4> near{};
    bool fails = false;
    for (std::size_t c = 0; c < 4; ++c) {
      const Corner& k = set.corners()[c];
      const double error = set.error(b, k);
      const Point x = pointOf(b, set.capacitance(b, k));
      for (std::size_t i = 0; i < times; ++i) {
        const double logTime = lines[c]->logTime(i, x);
        estimates[c][i] = std::exp(logTime);
        const Verdict v = verdictOf(logTime, margin, error, want[i], limit);
        fails = fails || v == Verdict::Fails;
        near[c] = near[c] || v == Verdict::Near;
      }
    }
    tally(
        b, [&](std::size_t c) { return near[c] && !fails; },
        [&](std::size_t c) { return estimates[c]; });
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
