// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The real circuit behind the ideal formulas: the chip families with their data-sheet limits and
// the chip as built, the diodes across R2 as the common simulation models give them, and the
// times of the astable and the monostable timer with both.
//
// The chip: while C1 discharges, pin 7's switch holds the node between R1 and R2 at a small
// voltage plus a resistance times the current it sinks, R1's current included, so C1
// discharges toward that node rather than to 0 V. Each comparator switches a delay after C1
// crosses its level, and C1 runs on meanwhile. The threshold input draws a current out of C1,
// the trigger input feeds one in, each within 0.1 V of its level and beyond; pin 7 leaks while
// its switch is open. With the diode, C1 charges through R1 and the diode in parallel with R2;
// the diode's forward voltage takes part of the drive, so t-EIN grows. While C1 discharges, the
// diode is reverse biased and leaks beside R2, so t-AUS shrinks (slightly for a silicon diode,
// a lot for a Schottky diode). An ideal chip without a diode gives exactly ln 2 * (R1 + R2) *
// C1 and ln 2 * R2 * C1, the monostable ln 3 * R * C1; the main window's 0.69 and 1.1 are
// those constants rounded.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kippwerk {

// The chip's own error of its times, typical figures from the data sheets: the times are
// multiplied by 1 + e0 + d * (T - 25 degrees C) + s * (Ub - Ub nominal) with |e0| <= e0Max,
// |d| <= d(Ub), |s| <= sMax.
struct TimerError {
  double e0Max;        // fraction
  double dAt5, dAt15;  // per kelvin at 5 V and 15 V, straight between and held outside
  double sMax;         // per volt

  double dMax(double ub) const {
    const double x = ub < 5.0 ? 0.0 : ub > 15.0 ? 1.0 : (ub - 5.0) / 10.0;
    return dAt5 + (dAt15 - dAt5) * x;
  }
};

// What the data sheets give of the chip as built, typical or at most: pin 7 while switched
// sits at `switchVolts` plus `switchOhms` times its current (the resistance straight between
// its values at 5 V and 15 V, held outside), each switching comes `delay` after C1 crosses a
// level, the threshold input draws its current out of C1, the trigger input feeds its current
// into C1, and pin 7 leaks its current while open.
struct ChipFigures {
  double switchVolts;
  double switchOhmsAt5, switchOhmsAt15;
  double delay;                                      // seconds
  double thresholdCurrent, triggerCurrent, leakage;  // amperes

  double switchOhms(double ub) const {
    const double x = ub < 5.0 ? 0.0 : ub > 15.0 ? 1.0 : (ub - 5.0) / 10.0;
    return switchOhmsAt5 + (switchOhmsAt15 - switchOhmsAt5) * x;
  }
};

// The chip of one circuit at one supply. All zero: the ideal chip of the formulas.
struct ChipModel {
  double switchVolts = 0.0, switchOhms = 0.0;
  double thresholdDelay = 0.0;    // seconds from C1 crossing 2 Ub / 3 to the switch closing
  double triggerDelay = 0.0;      // seconds from C1 crossing Ub / 3 to the switch opening
  double thresholdCurrent = 0.0;  // amperes out of C1 from 2 Ub / 3 - 0.1 V on
  double triggerCurrent = 0.0;    // amperes into C1 up to Ub / 3 + 0.1 V
  double leakage = 0.0;           // amperes out of pin 7 while its switch is open

  friend bool operator==(const ChipModel&, const ChipModel&) = default;
};

// How far within a comparator's level its input current flows, volts.
inline constexpr double kComparatorWindow = 0.1;

// Where one chip lies within its family's ranges: the delay as a factor of the typical one
// (0.5 to 2.5), the switch from typical (0) to its maximum (1), and each pin current as a share
// of its maximum (0 to 1).
struct ChipVariation {
  double delay = 1.0, switchShare = 0.0;
  double threshold = 0.0, trigger = 0.0, leakage = 0.0;
};
inline constexpr double kDelayLowest = 0.5, kDelayHighest = 2.5;

struct ChipFamily {
  std::string_view name;   // as the drop-down shows it
  std::string_view where;  // "beim NE555": where the limits hold, for sentences
  double ubMin, ubMax;     // volts
  double fMax;             // hertz
  double r1Min;            // ohms: the discharge transistor's current
  double rSumPerVolt;      // ohms per volt of Ub: the threshold input's current; 0: no limit
  double c1Min;            // farads: below, stray capacitance decides
  TimerError astable, monostable;
  ChipFigures typical, worst;

  // The typical chip at supply `ub`, and one within the ranges.
  ChipModel chip(double ub) const;
  ChipModel chip(double ub, const ChipVariation& v) const;
};

// NE555: pin 7 at 80 mV with 4.5 mA and 180 mV with 15 mA (at most 200 mV and 480 mV), ST's
// turn-off time as the delay of both comparators, the input currents of the data sheets (the
// trigger's half of the figure given at 0 V). CMOS 7555 and TLC555: a plain resistance and
// the delay that reproduces the data sheets' typical maximum frequency.
inline constexpr std::array<ChipFamily, 3> kChipFamilies{{
    {"NE555 (bipolar)",
     "beim NE555",
     4.5,
     16.0,
     100e3,
     1e3,
     0.68e6,
     500e-12,
     {0.0225, 150e-6, 150e-6, 0.003},
     {0.01, 50e-6, 50e-6, 0.001},
     {0.08 - 4.5e-3 * (0.1 / 10.5e-3), 0.1 / 10.5e-3, 0.1 / 10.5e-3, 0.5e-6, 30e-9, 0.25e-6, 20e-9},
     {0.2 - 4.5e-3 * (0.28 / 10.5e-3), 0.28 / 10.5e-3, 0.28 / 10.5e-3, 0.5e-6, 250e-9, 1e-6,
      100e-9}},
    {"CMOS (7555)",
     "bei CMOS-Typen",
     2.0,
     15.0,
     500e3,
     1e3,
     0.0,
     200e-12,
     {0.01, 50e-6, 100e-6, 0.001},
     {0.01, 50e-6, 100e-6, 0.001},
     {0.0, 0.2 / 15e-3, 0.2 / 15e-3, 0.39e-6, 0.0, 0.0, 0.0},
     {0.0, 0.4 / 15e-3, 0.4 / 15e-3, 0.39e-6, 0.0, 0.0, 0.0}},
    {"TLC555 (CMOS)",
     "beim TLC555",
     2.0,
     15.0,
     2e6,
     1e3,
     0.0,
     200e-12,
     {0.01, 50e-6, 100e-6, 0.001},
     {0.01, 50e-6, 100e-6, 0.001},
     {0.0, 14.0, 7.7, 0.145e-6, 0.0, 0.0, 0.0},
     {0.0, 50.0, 17.0, 0.145e-6, 0.0, 0.0, 0.0}},
}};

// The Shockley diode: I = Is * (exp(V / (n * Vt)) - 1). Its series resistance is left out: at
// the currents of a timing circuit it drops less than a millivolt. Is = 0: the ideal diode,
// which conducts without any forward voltage. Is holds at the models' 27 degrees C; at other
// temperatures it follows the usual simulator rule with the band gap Eg and exponent XTI.
struct DiodeModel {
  std::string_view name;
  double is = 0.0;   // saturation current at 27 degrees C, amperes
  double n = 1.0;    // emission coefficient
  double eg = 1.11;  // band gap, electron volts
  double xti = 3.0;  // saturation current's temperature exponent
  // What the diode moves when it switches: the stored charge, its transit time times the
  // forward current, and the junction's charge, the integral of cj0 / (1 + V / vj)^m.
  double transitTime = 0.0;  // seconds
  double cj0 = 0.0, vj = 1.0, m = 0.5;
  // How far the saturation current of parts from one batch lies from the model's, as a factor
  // either way (log-uniform within): about +- 20 mV of forward voltage for the silicon diodes;
  // the Schottky's data sheet gives only a maximum reverse current.
  double batchSpread = 1.0;

  bool ideal() const { return !(is > 0.0); }
};

inline constexpr std::array<DiodeModel, 4> kDiodes{{
    {"1N4148 (Silizium)", 2.52e-9, 1.752, 1.11, 3.0, 4e-9, 4e-12, 1.0, 0.333, 1.5},
    {"1N4001 (Gleichrichter)", 14.11e-9, 1.984, 1.11, 3.0, 5.7e-6, 25.9e-12, 0.325, 0.44, 1.5},
    {"1N5817 (Schottky)", 31.7e-6, 1.373, 0.69, 2.0, 0.0, 190e-12, 1.0, 0.3, 3.1622776601683795},
    {"ideal (wie Seite „Zeiten“)", 0.0, 1.0, 1.11, 3.0},
}};
inline constexpr DiodeModel kIdealDiode = kDiodes[3];

// The models' temperature, kelvin (27 degrees C), and k * T / q there, volts.
inline constexpr double kModelKelvin = 300.15;
inline constexpr double kThermalVoltage = 1.380649e-23 * kModelKelvin / 1.602176634e-19;
inline constexpr double kKelvinAtZeroCelsius = 273.15;

// The supplies the model is meant for, volts: every family's range lies well inside.
inline constexpr double kModelUbMin = 0.5, kModelUbMax = 100.0;

// What besides R1, R2 and C1 decides the times.
struct Circuit {
  bool diode = false;  // across R2
  DiodeModel model = kIdealDiode;
  double ub = 9.0;               // supply, volts
  double kelvin = kModelKelvin;  // the diode's temperature
  ChipModel chip{};              // the ideal chip unless given
  double leakage = 0.0;          // amperes an electrolytic C1 loses in both phases

  bool realDiode() const { return diode && !model.ideal(); }
  // The diode's thermal voltage k T / q and saturation current at its temperature.
  double thermalVoltage() const;
  double saturationCurrent() const;
};

// C1's voltage at a time, seconds, volts.
struct VoltagePoint {
  double t, v;
};

struct AstableTimes {
  double tein = 0.0, taus = 0.0;  // seconds; infinite where C1 never reaches a level

  friend bool operator==(const AstableTimes&, const AstableTimes&) = default;
};

// The astable timer with R1, R2 and a circuit, worked out once for any C1: the charge and the
// discharge between the levels per farad, and the delays' part for each capacitor.
// In steady state the charge starts where the discharge ended, the trigger's delay below
// Ub / 3, and ends the threshold's delay beyond 2 Ub / 3; t-EIN and t-AUS are the output's
// times, each ending a delay after C1 crossed a level.
struct PhaseLaw;  // how C1's current follows its voltage in one phase

class AstableShape {
 public:
  AstableShape(const Circuit& c, double r1, double r2);
  AstableTimes at(double c1) const;
  double teinAt(double c1) const;
  double tausAt(double c1) const;
  // Whether C1 reaches both levels, so that both times are finite at any C1.
  bool runs() const;

  // One steady-state period from the start of the charge: `points` even steps of C1's voltage
  // up, then down again (the first period differs).
  std::vector<VoltagePoint> curve(double c1, int points) const;

 private:
  struct Edges {
    double low, high;  // C1's voltage when the switch opens and closes
  };
  Edges edges(double c1) const;
  double onPerFarad() const;
  double offPerFarad() const;
  std::shared_ptr<const PhaseLaw> charge_, discharge_;
  mutable std::optional<double> onFull_, offFull_;  // seconds per farad between the levels
  ChipModel chip_;
  double ub_;
};

inline AstableTimes astableTimes(const Circuit& c, double r1, double r2, double c1) {
  return AstableShape(c, r1, r2).at(c1);
}
inline std::vector<VoltagePoint> capacitorVoltage(const Circuit& c, double r1, double r2, double c1,
                                                  int points) {
  return AstableShape(c, r1, r2).curve(c1, points);
}

// The monostable timer's pulse: C1 starts at pin 7's level and charges through R, less pin
// 7's leakage and the threshold input's current, to 2 Ub / 3; the output falls the threshold's
// delay later. The diode of the circuit takes no part.
class PulseShape {
 public:
  PulseShape(const Circuit& c, double r);
  double at(double c1) const;

 private:
  double perFarad_ = 0.0, delay_ = 0.0;
};

inline double pulseTime(const Circuit& c, double r, double c1) {
  return PulseShape(c, r).at(c1);
}

// At the end of the charge, the share of the current into C1 that flows through R2 rather than
// the diode (0 without a real diode).
double r2CurrentShare(const Circuit& c, double r1, double r2);

// The current that still charges C1 at the end of its charge, when it has reached 2 Ub / 3,
// amperes: Ub / 3 through R1 + R2 without the diode, through R1 alone with it, less the diode's
// voltage then.
double endOfChargeCurrent(const Circuit& c, double r1, double r2);

// The largest resistance in the charge's path at which the threshold input at pin 6 still gets
// the current the family needs at the end of the charge, ohms (infinite where the family has no
// such limit). Without the diode that path is R1 + R2 with Ub / 3 across it; with the diode
// the current flows through R1 alone, driven by Ub / 3 less the diode's voltage at that
// current (the share through R2 taken into account).
double thresholdResistanceLimit(const ChipFamily& family, const Circuit& c, double r2);

// The family's limits that a set breaks, in the order of the table's hints, then where the
// model is stretched: the chip's delays make more than 1 % of the period, or a real diode moves
// more than 2 % of C1's charge between the levels when it switches (the 1N4001's stored charge,
// the 1N5817's junction). `brief` is the table's text ("R1 < 1 k Ohm"), `sentence` the reason.
struct Hint {
  std::string brief, sentence;
};
std::vector<Hint> astableHints(const ChipFamily& family, const Circuit& c, double r1, double r2,
                               double c1, double frequency);

// The same for the monostable circuit: one resistor R and C1.
std::vector<Hint> monostableHints(const ChipFamily& family, const Circuit& c, double r, double c1);

}  // namespace kippwerk
