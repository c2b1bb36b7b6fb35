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

// The period (monostable: t).
double periodOf(const TimerDesign& d, double r1Factor, double r2Factor, double c1, double ub,
                double celsius, const BoardVariation* board = nullptr) {
  const AstableTimes t = d.times(r1Factor, r2Factor, c1, ub, celsius, board);
  return t.tein + t.taus;
}

// The most an electrolytic may leak: the bound of its hint; nothing for other dielectrics.
double leakageBound(const TimerDesign& d, const Surroundings& around) {
  const std::optional<Leakage> leak = leakageOf(d, around.capacitor);
  return leak ? leak->leakage : 0.0;
}

// The diode's saturation current at both ends of its spread between parts, or the model's.
std::vector<double> diodeEnds(const TimerDesign& d) {
  if (!d.diodeVaries() || d.circuit.model.batchSpread == 1.0) return {1.0};
  return {1.0 / d.circuit.model.batchSpread, d.circuit.model.batchSpread};
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

Circuit TimerDesign::circuitAt(double ub, double celsius, const BoardVariation* board) const {
  Circuit c = circuit;
  c.ub = ub;
  c.kelvin = celsius + kKelvinAtZeroCelsius;
  if (family) c.chip = board != nullptr ? family->chip(ub, board->chip) : family->chip(ub);
  if (board != nullptr) {
    c.model.is *= board->diode;
    c.leakage = board->leakage;
  }
  return c;
}

AstableTimes TimerDesign::times(double r1Factor, double r2Factor, double capacitance, double ub,
                                double celsius, const BoardVariation* board) const {
  return times(r1Factor, r2Factor, {capacitance, capacitance}, ub, celsius, board)[0];
}

std::array<AstableTimes, 2> TimerDesign::times(double r1Factor, double r2Factor,
                                               const std::array<double, 2>& caps, double ub,
                                               double celsius, const BoardVariation* board) const {
  const Circuit c = circuitAt(ub, celsius, board);
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
  // Every corner of the board's other parts: the chip's ranges, the diode's spread, the leakage.
  std::vector<BoardVariation> boards;
  const double leak = leakageBound(d, around);
  for (const ChipVariation& chip : chipCorners(d)) {
    for (double diode : diodeEnds(d)) {
      for (double leakage : {0.0, leak}) {
        boards.push_back({chip, diode, leakage});
        if (leak == 0.0) break;
      }
    }
  }
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
      for (const BoardVariation& board : boards) {
        for (double r1f : ends(d.resistorTolerance)) {
          for (double r2f : ends(d.monostable ? 0.0 : d.resistorTolerance)) {
            const auto [low, high] = d.times(r1f, r2f, {capLow, capHigh}, supply, celsius, &board);
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

  const double leak = leakageBound(d, around);
  if (leak > 0.0) {
    BoardVariation leaking;
    leaking.leakage = leak;
    out.push_back(
        {Cause::Leakage, change(periodOf(d, 1.0, 1.0, d.c1, ub, kNominalCelsius, &leaking))});
  }

  if (d.diodeVaries()) {
    double diode = 0.0;
    for (double celsius : {around.tMin, kNominalCelsius, around.tMax}) {
      for (double factor : diodeEnds(d)) {
        BoardVariation part;
        part.diode = factor;
        diode = std::max(diode, change(periodOf(d, 1.0, 1.0, d.c1, ub, celsius, &part)));
      }
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
    BoardVariation board;
    board.chip = chip;
    const double period = periodOf(d, 1.0, 1.0, d.c1, ub, kNominalCelsius, &board);
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
    case Cause::Leakage:
      return "Leckstrom";
    case Cause::Diode:
      return "Diode";
    case Cause::Supply:
      return "Versorgung";
    case Cause::Timer:
      return "Zeitgeber";
  }
  return {};
}

double capacitorRating(double ub) {
  for (double rating :
       {6.3, 10.0, 16.0, 25.0, 35.0, 50.0, 63.0, 100.0, 160.0, 250.0, 400.0, 450.0}) {
    if (ub <= rating) return rating;
  }
  return ub;
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
  // The silicon diodes spread as parts of one batch do; the Schottky's spread is its data
  // sheet's.
  if (circuit.realDiode() && circuit.model.batchSpread < 2.0) {
    out.emplace_back(
        "Die Diode streut hier wie Exemplare einer Charge (etwa ± 20 mV); das "
        "Datenblatt lässt etwa das Dreifache zu.");
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
