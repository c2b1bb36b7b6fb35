// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What a built timer really does over its surroundings, beyond the parts' tolerances at 25
// degrees C: the capacitor's dielectric drifts with temperature, the diode's voltage and
// reverse current change with it, the supply varies, and the chip's own thresholds are off by
// a few percent. From these: the worst case of each time, which group of causes weighs most,
// the share of boards that hold a limit over a temperature range (drawn at random with a fixed
// seed), and whether an electrolytic capacitor's leakage can stall the charge.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/circuit.h"
#include "core/tolerance.h"

namespace kippwerk {

// A dielectric and the range of its temperature coefficient around 25 degrees C, per kelvin:
// C1(T) = C1 * (1 + tk * (T - 25 degrees C)).
struct CapacitorType {
  std::string_view name;
  double tkMin, tkMax;
  bool electrolytic = false;
};

// X7R: its +-15 % over -55 to 125 degrees C as a straight envelope; the electrolytic's curve is
// not straight, its range an estimate.
inline constexpr std::array<CapacitorType, 5> kCapacitorTypes{{
    {"Keramik C0G", -30e-6, 30e-6},
    {"Keramik X7R", -1500e-6, 1500e-6},
    {"Folie (PET)", 200e-6, 700e-6},
    {"Folie (PP)", -250e-6, -100e-6},
    {"Elko (Aluminium)", 500e-6, 2500e-6, true},
}};
inline constexpr std::size_t kCapacitorTypeAtFirst = 2;  // film, PET

// The smallest usual voltage rating for C1 at a supply of `ub` volts (the highest the supply
// reaches): in operation C1 sees at most 2/3 Ub, but pins 6 and 2 may pull it to the full
// supply while the supply comes up; beyond 450 V, `ub` itself.
double capacitorRating(double ub);

// The temperatures the surroundings may span, degrees C.
inline constexpr double kTemperatureMin = -55.0, kTemperatureMax = 125.0;
// Everything is nominal at this temperature: the tolerances and data-sheet figures hold there.
inline constexpr double kNominalCelsius = 25.0;

struct Surroundings {
  CapacitorType capacitor = kCapacitorTypes[kCapacitorTypeAtFirst];
  double tMin = 0.0, tMax = 70.0;  // degrees C
  double supplyTolerance = 0.05;   // the supply lies in Ub * (1 +- this)
};

// Where one board's parts lie beyond R1, R2 and C1: its chip within the family's ranges, its
// diode's saturation current as a factor of the model's, and an electrolytic's leakage.
struct BoardVariation {
  ChipVariation chip{};
  double diode = 1.0;
  double leakage = 0.0;  // amperes
};

// A timer as designed: astable with R1, R2 and the circuit (diode, nominal supply), or
// monostable with R in r1 and the nominal supply in the circuit. With a chip family its chip
// varies within the family's ranges; without one it is the circuit's own.
struct TimerDesign {
  bool monostable = false;
  double r1 = 0.0, r2 = 0.0, c1 = 0.0;
  Circuit circuit;
  double resistorTolerance = 0.0, capacitorTolerance = 0.0;  // fractions
  TimerError error{};                                        // the chip's own
  std::optional<ChipFamily> family;

  // The times (astable t-EIN and t-AUS, monostable t and 0) with the resistors scaled by the
  // factors given, a capacitance, at a supply and a temperature, with the board's other parts
  // at `board` (none: the typical chip, the model's diode, no leakage).
  AstableTimes times(double r1Factor, double r2Factor, double c1, double ub, double celsius,
                     const BoardVariation* board = nullptr) const;
  // The same for two capacitances at once: the resistors' part is worked out once.
  std::array<AstableTimes, 2> times(double r1Factor, double r2Factor,
                                    const std::array<double, 2>& caps, double ub, double celsius,
                                    const BoardVariation* board = nullptr) const;
  // The circuit at a supply and a temperature with the board's other parts at `board`.
  Circuit circuitAt(double ub, double celsius, const BoardVariation* board = nullptr) const;
  // Whether the diode takes part, and so its spread between parts.
  bool diodeVaries() const { return !monostable && circuit.realDiode(); }
};

// The worst case over every corner of every range: the parts' tolerances, tk, the chip's
// error and its delay, switch and pin currents, the diode's spread between parts, an
// electrolytic's leakage (none to its bound), T at both ends and the supply at both ends (one
// temperature for all parts).
struct RealSpread {
  Spread tein, taus;  // monostable: t in tein
};
RealSpread realSpread(const TimerDesign& design, const Surroundings& around);

// The groups of causes, each alone at its corners with its own temperature dependence while
// everything else stays nominal (25 degrees C, the nominal supply, the chip exact), measured as
// the largest relative change of the period (monostable: of t).
enum class Cause { Resistors, CapacitorTolerance, CapacitorDrift, Leakage, Diode, Supply, Timer };
struct Contribution {
  Cause cause;
  double share;
};
// In the order of the enum; the leakage only for an electrolytic, the diode only for an astable
// timer with a real diode (its temperature and its spread between parts).
std::vector<Contribution> contributions(const TimerDesign& design, const Surroundings& around);
std::string_view causeName(Cause cause, bool monostable);

// A general-purpose electrolytic may leak 0.01 uA * C1/uF * U/V after two minutes at 20
// degrees C, but at least 3 uA; at U = 2/3 Ub against the current that still charges C1 at the
// end of its charge. It matters from a tenth of that current on.
struct Leakage {
  double leakage = 0.0, charge = 0.0;  // amperes
  bool matters() const { return leakage >= 0.1 * charge; }
};
std::optional<Leakage> leakageOf(const TimerDesign& design, const CapacitorType& capacitor);

// The table's hint for a leakage that matters: "Leckstrom", with both currents and that the
// leakage grows with temperature.
Hint leakageHint(const Leakage& leakage);

// What the model leaves out where it matters, one sentence each: an X7R's loss of capacitance
// under DC voltage and with age; that a silicon diode spreads as parts of one batch do, not as
// widely as its data sheet allows.
std::vector<std::string> leftOut(const CapacitorType& capacitor, const Circuit& circuit);

// The lines of text: the worst case against the desired times ("t-EIN: 437.1 ms … 651.4 ms
// (-19.05 % … +20.63 %)", monostable "t: …"), the pass rate ("Ausbeute: 66.4 % innerhalb
// ± 10 % bei 0 … 70 °C und Ub ± 5 % (10 000 Schaltungen)") and the largest cause ("Größter
// Anteil: Kondensator-Toleranz (± 10.00 % der Periode)").
std::string realSpreadText(const RealSpread& spread, bool monostable, double wantTein,
                           double wantTaus);
std::string passRateText(double rate, double limit, const Surroundings& around, int boards);
std::string largestCauseText(const std::vector<Contribution>& causes, bool monostable);

}  // namespace kippwerk
