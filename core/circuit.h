// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The real circuit behind the ideal formulas: the chip families with their data-sheet limits,
// the diodes across R2 as the common simulation models give them, and the times with such a
// diode. With the diode, C1 charges through R1 and the diode in parallel with R2; the diode's
// forward voltage takes part of the drive, so t-EIN grows. While C1 discharges through R2 the
// diode is reverse biased by the capacitor voltage and leaks its reverse current beside R2,
// so t-AUS shrinks (slightly for a silicon diode, a lot for a Schottky diode). Without a diode,
// and with the ideal one, the formulas of the timing page hold.

#include <array>
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

struct ChipFamily {
  std::string_view name;   // as the drop-down shows it
  std::string_view where;  // "beim NE555": where the limits hold, for sentences
  double ubMin, ubMax;     // volts
  double fMax;             // hertz
  double r1Min;            // ohms: the discharge transistor's current
  double rSumPerVolt;      // ohms per volt of Ub: the threshold input's current; 0: no limit
  double c1Min;            // farads: below, stray capacitance decides
  TimerError astable, monostable;
};

inline constexpr std::array<ChipFamily, 2> kChipFamilies{{
    {"NE555 (bipolar)",
     "beim NE555",
     4.5,
     16.0,
     100e3,
     1e3,
     0.68e6,
     500e-12,
     {0.0225, 150e-6, 150e-6, 0.003},
     {0.01, 50e-6, 50e-6, 0.001}},
    {"CMOS (7555)",
     "bei CMOS-Typen",
     2.0,
     15.0,
     500e3,
     1e3,
     0.0,
     200e-12,
     {0.01, 50e-6, 100e-6, 0.001},
     {0.01, 50e-6, 100e-6, 0.001}},
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

  bool ideal() const { return !(is > 0.0); }
};

inline constexpr std::array<DiodeModel, 4> kDiodes{{
    {"1N4148 (Silizium)", 2.52e-9, 1.752, 1.11, 3.0},
    {"1N4001 (Gleichrichter)", 14.11e-9, 1.984, 1.11, 3.0},
    {"1N5817 (Schottky)", 31.7e-6, 1.373, 0.69, 2.0},
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

  bool realDiode() const { return diode && !model.ideal(); }
  // The diode's thermal voltage k T / q and saturation current at its temperature.
  double thermalVoltage() const;
  double saturationCurrent() const;
};

// t-EIN divided by C1, seconds per farad: 0.69 * (R1 + R2) without the diode, 0.69 * R1 with the
// ideal one, and with a real one (0.69 / ln 2) * T / C1, where the charge from Ub / 3 to
// 2 Ub / 3 takes T = C1 * (R1 * ln(f(vs) / f(ve)) + integral from ve to vs of dvd / f(vd)),
// f(vd) = Is * (exp(vd / (n * Vt)) - 1) + vd / R2 the current into C1 at diode voltage vd.
// The timing constant 0.69 stands for ln 2 throughout, so the ideal diode's result is the
// timing page's. It rises with R1 and with R2.
double onTimePerFarad(const Circuit& c, double r1, double r2);

inline double onTime(const Circuit& c, double r1, double r2, double c1) {
  return onTimePerFarad(c, r1, r2) * c1;
}

// t-AUS divided by C1, seconds per farad: 0.69 * R2 without a real diode; with one,
// (0.69 / ln 2) * integral from Ub / 3 to 2 Ub / 3 of dv / (v / R2 + Is * (1 - exp(-v / (n Vt)))),
// R2's current and the diode's reverse current at capacitor voltage v. It rises with R2.
double offTimePerFarad(const Circuit& c, double r2);

inline double offTime(const Circuit& c, double r2, double c1) {
  return offTimePerFarad(c, r2) * c1;
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

// The capacitor voltage over one period, from Ub / 3 charging to 2 Ub / 3 and discharging back,
// as `points` samples of each half: times in seconds from the start of the charge, volts.
struct VoltagePoint {
  double t, v;
};
std::vector<VoltagePoint> capacitorVoltage(const Circuit& c, double r1, double r2, double c1,
                                           int points);

// The family's limits that a set breaks, in the order of the table's hints. `brief` is the
// table's text ("R1 < 1 k Ohm"), `sentence` the reason.
struct Hint {
  std::string brief, sentence;
};
std::vector<Hint> astableHints(const ChipFamily& family, const Circuit& c, double r1, double r2,
                               double c1, double frequency);

// The same for the monostable circuit: one resistor R and C1.
std::vector<Hint> monostableHints(const ChipFamily& family, double ub, double r, double c1);

}  // namespace kippwerk
