// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/realspread.h"

#include <algorithm>
#include <cmath>

#include "core/monoflop.h"
#include "core/normtext.h"

namespace kippwerk {
namespace {

// The two ends of a range around 1.
std::array<double, 2> ends(double tolerance) {
  return {1.0 - tolerance, 1.0 + tolerance};
}

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

// What a board that never switches counts as in the deviations: a millionfold.
constexpr double kFarthest = 1e6;

// The period (monostable: t).
double periodOf(const TimerDesign& d, double r1Factor, double r2Factor, double c1, double ub,
                double celsius, const ChipVariation* chip = nullptr) {
  const AstableTimes t = d.times(r1Factor, r2Factor, c1, ub, celsius, chip);
  return t.tein + t.taus;
}

// Every corner of the chip's ranges: the delay at both ends, the switch typical and at its
// maximum, each pin current none and at its maximum. A family without pin currents has fewer
// corners that differ, but they are few enough to try them all.
std::vector<ChipVariation> chipCorners(const TimerDesign& d) {
  if (!d.family) return {ChipVariation{}};
  std::vector<ChipVariation> out;
  const bool currents = d.family->worst.thresholdCurrent > 0.0 ||
                        d.family->worst.triggerCurrent > 0.0 || d.family->worst.leakage > 0.0;
  for (int corner = 0; corner < (currents ? 32 : 4); ++corner) {
    auto bit = [corner](int b) { return static_cast<double>((corner >> b) & 1); };
    out.push_back({bit(0) > 0.0 ? kDelayHighest : kDelayLowest, bit(1), bit(2), bit(3), bit(4)});
  }
  return out;
}

}  // namespace

Circuit TimerDesign::circuitAt(double ub, double celsius, const ChipVariation* chip) const {
  Circuit c = circuit;
  c.ub = ub;
  c.kelvin = celsius + kKelvinAtZeroCelsius;
  if (family) c.chip = chip != nullptr ? family->chip(ub, *chip) : family->chip(ub);
  return c;
}

AstableTimes TimerDesign::times(double r1Factor, double r2Factor, double capacitance, double ub,
                                double celsius, const ChipVariation* chip) const {
  return times(r1Factor, r2Factor, {capacitance, capacitance}, ub, celsius, chip)[0];
}

std::array<AstableTimes, 2> TimerDesign::times(double r1Factor, double r2Factor,
                                               const std::array<double, 2>& caps, double ub,
                                               double celsius, const ChipVariation* chip) const {
  const Circuit c = circuitAt(ub, celsius, chip);
  if (monostable) {
    const PulseShape pulse(c, r1 * r1Factor);
    return {AstableTimes{pulse.at(caps[0]), 0.0}, AstableTimes{pulse.at(caps[1]), 0.0}};
  }
  const AstableShape shape(c, r1 * r1Factor, r2 * r2Factor);
  if (caps[0] == caps[1]) {
    const AstableTimes t = shape.at(caps[0]);
    return {t, t};
  }
  return {shape.at(caps[0]), shape.at(caps[1])};
}

RealSpread realSpread(const TimerDesign& d, const Surroundings& around) {
  RealSpread out;
  bool first = true;
  const double ub = d.circuit.ub;
  const std::vector<ChipVariation> chips = chipCorners(d);
  for (double celsius : {around.tMin, around.tMax}) {
    const double dt = celsius - kNominalCelsius;
    const double driftLow =
        std::min(1.0 + around.capacitor.tkMin * dt, 1.0 + around.capacitor.tkMax * dt);
    const double driftHigh =
        std::max(1.0 + around.capacitor.tkMin * dt, 1.0 + around.capacitor.tkMax * dt);
    const double capLow = d.c1 * (1.0 - d.capacitorTolerance) * driftLow;
    const double capHigh = d.c1 * (1.0 + d.capacitorTolerance) * driftHigh;
    for (double supply :
         {ub * (1.0 - around.supplyTolerance), ub * (1.0 + around.supplyTolerance)}) {
      // The chip's error at its extremes for this temperature and supply.
      const double error = d.error.e0Max + d.error.dMax(supply) * std::fabs(dt) +
                           d.error.sMax * std::fabs(supply - ub);
      for (const ChipVariation& chip : chips) {
        for (double r1f : ends(d.resistorTolerance)) {
          for (double r2f : ends(d.monostable ? 0.0 : d.resistorTolerance)) {
            const auto [low, high] = d.times(r1f, r2f, {capLow, capHigh}, supply, celsius, &chip);
            for (std::size_t i = 0; i < 2; ++i) {
              Spread& s = i == 0 ? out.tein : out.taus;
              const double shortest = (1.0 - error) * (i == 0 ? low.tein : low.taus);
              const double longest = (1.0 + error) * (i == 0 ? high.tein : high.taus);
              s.low = first ? shortest : std::min(s.low, shortest);
              s.high = first ? longest : std::max(s.high, longest);
            }
            first = false;
          }
        }
      }
    }
  }
  return out;
}

std::vector<Contribution> contributions(const TimerDesign& d, const Surroundings& around) {
  const double ub = d.circuit.ub;
  const double nominal = periodOf(d, 1.0, 1.0, d.c1, ub, kNominalCelsius);
  auto change = [nominal](double period) { return std::fabs(period / nominal - 1.0); };
  std::vector<Contribution> out;

  double resistors = 0.0;
  for (double r1f : ends(d.resistorTolerance)) {
    for (double r2f : ends(d.monostable ? 0.0 : d.resistorTolerance)) {
      resistors = std::max(resistors, change(periodOf(d, r1f, r2f, d.c1, ub, kNominalCelsius)));
    }
  }
  out.push_back({Cause::Resistors, resistors});
  // The delays do not scale with C1, so C1's tolerance moves the period a little less.
  double tolerance = 0.0;
  for (double cf : ends(d.capacitorTolerance)) {
    tolerance = std::max(tolerance, change(periodOf(d, 1.0, 1.0, d.c1 * cf, ub, kNominalCelsius)));
  }
  out.push_back({Cause::CapacitorTolerance, tolerance});

  double drift = 0.0, widest = 0.0;
  for (double celsius : {around.tMin, around.tMax}) {
    const double dt = celsius - kNominalCelsius;
    widest = std::max(widest, std::fabs(dt));
    for (double tk : {around.capacitor.tkMin, around.capacitor.tkMax}) {
      drift = std::max(drift,
                       change(periodOf(d, 1.0, 1.0, d.c1 * (1.0 + tk * dt), ub, kNominalCelsius)));
    }
  }
  out.push_back({Cause::CapacitorDrift, drift});

  if (!d.monostable && d.circuit.realDiode()) {
    double diode = 0.0;
    for (double celsius : {around.tMin, around.tMax}) {
      diode = std::max(diode, change(periodOf(d, 1.0, 1.0, d.c1, ub, celsius)));
    }
    out.push_back({Cause::Diode, diode});
  }

  double supply = 0.0;
  for (double u : {ub * (1.0 - around.supplyTolerance), ub * (1.0 + around.supplyTolerance)}) {
    const double period = periodOf(d, 1.0, 1.0, d.c1, u, kNominalCelsius);
    for (double s : {-d.error.sMax, d.error.sMax}) {
      supply = std::max(supply, change(period * (1.0 + s * (u - ub))));
    }
  }
  out.push_back({Cause::Supply, supply});
  // The chip: its own error at the widest temperature, with its delay, switch and pin currents
  // at each corner of their ranges.
  const double error = d.error.e0Max + d.error.dMax(ub) * widest;
  double timer = 0.0;
  for (const ChipVariation& chip : chipCorners(d)) {
    const double period = periodOf(d, 1.0, 1.0, d.c1, ub, kNominalCelsius, &chip);
    for (double e : {-error, error}) timer = std::max(timer, change(period * (1.0 + e)));
  }
  out.push_back({Cause::Timer, timer});
  return out;
}

std::string_view causeName(Cause cause, bool monostable) {
  switch (cause) {
    case Cause::Resistors:
      return monostable ? "Widerstand" : "Widerstände";
    case Cause::CapacitorTolerance:
      return "Kondensator-Toleranz";
    case Cause::CapacitorDrift:
      return "Temperaturgang des Kondensators";
    case Cause::Diode:
      return "Diode";
    case Cause::Supply:
      return "Versorgung";
    case Cause::Timer:
      return "Zeitgeber";
  }
  return {};
}

std::optional<PassRate> passRate(const TimerDesign& d, const Surroundings& around, double wantTein,
                                 double wantTaus, double limit, int boards, std::uint64_t seed,
                                 const std::atomic<bool>* cancel) {
  if (!(wantTein > 0.0) || (!d.monostable && !(wantTaus > 0.0)) || boards <= 0) {
    return std::nullopt;
  }
  const double ub = d.circuit.ub;
  const double want[2] = {wantTein, wantTaus};
  const int times = d.monostable ? 1 : 2;
  struct Corner {
    double celsius, supply;
  };
  const Corner corners[] = {{around.tMin, ub * (1.0 - around.supplyTolerance)},
                            {around.tMin, ub * (1.0 + around.supplyTolerance)},
                            {around.tMax, ub * (1.0 - around.supplyTolerance)},
                            {around.tMax, ub * (1.0 + around.supplyTolerance)}};
  Random random(seed);
  PassRate out;
  out.deviations.reserve(static_cast<std::size_t>(boards));
  int passed = 0;
  for (int board = 0; board < boards; ++board) {
    if (cancel != nullptr && board % 8 == 0 && cancel->load(std::memory_order_relaxed)) {
      return std::nullopt;
    }
    // The board's parts, drawn once, in a fixed order.
    const double r1f = 1.0 + d.resistorTolerance * random.symmetric();
    const double r2f = 1.0 + d.resistorTolerance * random.symmetric();
    const double cf = 1.0 + d.capacitorTolerance * random.symmetric();
    const double tk =
        around.capacitor.tkMin + (around.capacitor.tkMax - around.capacitor.tkMin) * random.unit();
    const double e0 = d.error.e0Max * random.symmetric();
    const double dShare = random.symmetric();  // of the chip's drift at each supply
    const double s = d.error.sMax * random.symmetric();
    ChipVariation chip;
    if (d.family) {
      chip.delay = kDelayLowest + (kDelayHighest - kDelayLowest) * random.unit();
      chip.switchShare = random.unit();
      chip.threshold = random.unit();
      chip.trigger = random.unit();
      chip.leakage = random.unit();
    }
    double farthest = 0.0;
    bool holds = true;
    for (const Corner& k : corners) {
      const double dt = k.celsius - kNominalCelsius;
      const double error = 1.0 + e0 + dShare * d.error.dMax(k.supply) * dt + s * (k.supply - ub);
      const double cap = d.c1 * cf * (1.0 + tk * dt);
      const AstableTimes t =
          d.times(r1f, d.monostable ? 1.0 : r2f, cap, k.supply, k.celsius, &chip);
      for (int i = 0; i < times; ++i) {
        const double deviation = error * (i == 0 ? t.tein : t.taus) / want[i] - 1.0;
        if (std::fabs(deviation) > std::fabs(farthest)) farthest = deviation;
        holds = holds && std::fabs(deviation) <= limit;
      }
    }
    // A board that stalls at a corner deviates without bound; its bar needs a number.
    out.deviations.push_back(std::clamp(farthest, -kFarthest, kFarthest));
    passed += holds ? 1 : 0;
  }
  out.rate = static_cast<double>(passed) / boards;
  return out;
}

std::optional<Leakage> leakageOf(const TimerDesign& d, const CapacitorType& capacitor) {
  if (!capacitor.electrolytic) return std::nullopt;
  const double ub = d.circuit.ub;
  const double volts = 2.0 * ub / 3.0;
  const double leakage = std::max(0.01 * d.c1 * volts, 3e-6);
  const double charge = d.monostable ? ub / 3.0 / d.r1 : endOfChargeCurrent(d.circuit, d.r1, d.r2);
  return Leakage{leakage, charge};
}

namespace {

inline constexpr std::array<Unit, 5> kCurrentUnits{{
    {"pA", 1e-12},
    {"nA", 1e-9},
    {"uA", 1e-6},
    {"mA", 1e-3},
    {"A", 1.0},
}};

std::string currentText(double amperes) {
  return unitText(scaledText(amperes, kCurrentUnits, 3, false), kCurrentUnits);
}

}  // namespace

Hint leakageHint(const Leakage& l) {
  return {"Leckstrom",
          "Ein Elko darf nach dem Faustwert bis " + currentText(l.leakage) +
              " Leckstrom haben (0.01 uA · C1/uF · U/V, mindestens 3 uA, bei 2/3 Ub); am Ende des "
              "Ladens fließen nur " +
              currentText(l.charge) +
              " in C1. Der Leckstrom wächst mit der Temperatur; die Zeit wird länger, und die "
              "Schaltung kann stehen bleiben."};
}

std::vector<std::string> leftOut(const CapacitorType& capacitor, const Circuit& circuit) {
  std::vector<std::string> out;
  if (capacitor.name == kCapacitorTypes[1].name) {
    out.emplace_back(
        "Keramik X7R verliert außerdem unter Gleichspannung und mit dem Alter an Kapazität; "
        "beides ist hier nicht gerechnet.");
  }
  if (circuit.realDiode() && circuit.model.name == kDiodes[2].name) {
    out.emplace_back(
        "Der Sperrstrom der 1N5817 streut von Exemplar zu Exemplar etwa um das Zehnfache; hier "
        "ist mit dem Wert ihres Modells gerechnet.");
  }
  return out;
}

std::string realSpreadText(const RealSpread& s, bool monostable, double wantTein, double wantTaus) {
  if (monostable) return "t: " + spreadLine(s.tein, wantTein, timeText);
  return "t-EIN: " + spreadLine(s.tein, wantTein, timeText) + "\n" +
         "t-AUS: " + spreadLine(s.taus, wantTaus, timeText);
}

std::string passRateText(double rate, double limit, const Surroundings& around, int boards) {
  return "Ausbeute: " + fixedText(rate * 100.0, 1) + " % innerhalb ± " + numberText(limit * 100.0) +
         " % bei " + numberText(around.tMin) + " … " + numberText(around.tMax) + " °C und Ub ± " +
         numberText(around.supplyTolerance * 100.0) + " % (" + countText(boards) + " Schaltungen)";
}

std::string largestCauseText(const std::vector<Contribution>& causes, bool monostable) {
  if (causes.empty()) return {};
  const Contribution* largest = &causes.front();
  for (const Contribution& c : causes) {
    if (c.share > largest->share) largest = &c;
  }
  return "Größter Anteil: " + std::string(causeName(largest->cause, monostable)) + " (± " +
         sizeText(largest->share) + " der " + (monostable ? "Zeit" : "Periode") + ")";
}

}  // namespace kippwerk
