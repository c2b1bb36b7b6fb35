// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// From a built and measured timer back to its parts. The measured t-AUS (monostable: t) tells
// how large C1 really acts, everything that scales the discharge included (the chip's
// thresholds, leakage); with that capacitance the measured t-EIN tells by which factor k the
// charge differs from the model. With both, the resistors that bring the board onto the desired
// times with the capacitor left in, and a fixed resistor with a trimmer that reaches them
// whatever the parts' tolerances.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/circuit.h"
#include "core/eseries.h"
#include "core/result.h"

namespace kippwerk {

enum class RemeasureError {
  NotPositive,      // a value not above 0, or not finite
  DutyOutOfRange,   // the duty cycle not strictly between 0 and 1
  TausUnreachable,  // no R2 gives the desired t-AUS with this capacitor (and diode)
  TeinUnreachable,  // no R1 gives the desired t-EIN (monostable: no R the desired t)
};

// The measured times from a frequency (hertz) and a duty cycle (a fraction): t-EIN = duty / f,
// t-AUS = (1 - duty) / f.
Result<std::pair<double, double>, RemeasureError> timesFromFrequency(double frequency, double duty);

// What the measurement says of the built parts, with the chip of the circuit: the
// capacitance whose model t-AUS (monostable: t) is the measured one, and t-EIN's factor
// against the model with that capacitance.
struct Reading {
  double c1eff = 0.0;      // farads: the capacitance that gives the measured t-AUS (or t)
  double k = 1.0;          // astable: measured t-EIN / the model's t-EIN with c1eff
  double teinModel = 0.0;  // astable: the model's t-EIN with R1, R2 and c1eff, seconds
  double r1 = 0.0;         // astable: R1 as built, where the needed resistors start
};
Result<Reading, RemeasureError> readAstable(const Circuit& c, double r1, double r2,
                                            double teinMeasured, double tausMeasured);
Result<Reading, RemeasureError> readMonostable(const Circuit& c, double r, double tMeasured);

// The resistors that give the desired times with c1eff: R2 for t-AUS and R1 for t-EIN, the
// model's t-EIN times k; t-AUS depends a little on R1 (pin 7's switch carries its current), so
// the two are found in turns until they hold still (monostable: R in r1).
struct Needed {
  double r1 = 0.0, r2 = 0.0;
};
Result<Needed, RemeasureError> neededAstable(const Circuit& c, const Reading& reading,
                                             double teinWanted, double tausWanted);
Result<Needed, RemeasureError> neededMonostable(const Circuit& c, const Reading& reading,
                                                double tWanted);

// Which box holds a refused reading back, when the measured or wanted times cannot be met with
// any resistor, or give no C1: the part as built when it is no plausible part at all (below
// 1 Ohm or above 1 G Ohm, C1 below 1 pF or above 1 F), else of the measured and the wanted time
// the one farther from what the parts as built give. A frequency and duty cycle measured
// instead of the times name the frequency where the period is about as far off as the time (to
// a decade), else the duty cycle.
struct RemeasureCase {
  bool monostable = false;
  bool frequencyForm = false;  // measured as frequency and duty cycle
  Circuit circuit;
  double r1 = 0.0, r2 = 0.0, c1 = 0.0;  // as built; monostable: R in r1
  double measuredTein = 0.0, measuredTaus = 0.0, wantTein = 0.0, wantTaus = 0.0;
};
struct Refusal {
  enum class Box { R1, R2, C1, MeasuredTein, MeasuredTaus, Frequency, Duty, WantTein, WantTaus };
  Box box = Box::WantTein;
  bool longer = false;    // a wanted time: a longer one helps (else a shorter one)
  double expected = 0.0;  // a measured box: what the parts as built give (s, Hz, a fraction)
};
Refusal refusalOf(const RemeasureCase& in, RemeasureError error);
// A part as built that is no plausible part at all, which no reading should start from.
std::optional<Refusal> implausiblePart(const RemeasureCase& in);

// A fixed resistor of the series and a trimmer (100 Ohm, 200 Ohm, 500 Ohm, 1 k Ohm, ... 5 M Ohm,
// +- 20 %) that reach the needed value whatever the tolerances: the fixed one the largest with
// fixed * (1 + tolerance) <= needed and fixed >= floor (none below 1 Ohm without a floor: then
// 0), the trimmer the smallest with fixed * (1 - tolerance) + 0.8 * trimmer >= needed.
struct Trimmer {
  double fixed = 0.0, trimmer = 0.0, needed = 0.0;
};
enum class TrimmerError {
  BelowFloor,     // no fixed resistor from the floor on stays below the needed value
  BeyondLargest,  // no trimmer is large enough
};
using TrimmerResult = Result<Trimmer, TrimmerError>;
TrimmerResult trimmerFor(double needed, Series series, double tolerance, double floor = 0.0);
inline constexpr double kTrimmerTolerance = 0.2;

// The lowest fixed resistor a window may propose: R min, and for a resistor that carries the
// discharge transistor's current (R1, a monoflop's R) at least the chip's minimum. `text` names
// it for a sentence: "R min = 1 k Ohm", "1 k Ohm (kleinster Wert für R1 beim NE555)".
struct TrimmerFloor {
  double ohms = 0.0;
  std::string text;
};
TrimmerFloor trimmerFloor(const char* part, double rMin, const ChipFamily& family, bool chip);

// "R1 = 130 k Ohm + Trimmer 50 k Ohm (130 k Ohm … 180 k Ohm, nötig 157.4 k Ohm)", or why none
// reaches it.
std::string trimmerText(const char* part, double needed, const TrimmerResult& t,
                        const TrimmerFloor& floor = {});

// The lines the window writes of a reading: what C1 acts like, how t-EIN differs, and what to
// suspect where the measurement does not fit the parts.
struct ReadingContext {
  bool monostable = false;
  double c1 = 0.0;            // as built
  double resistor = 0.0;      // R2 (monostable: R), for the electrolytic's leakage
  Circuit circuit;            // the diode, for the Schottky's temperature
  bool electrolytic = false;  // the capacitor as built
};
std::vector<std::string> readingLines(const Reading& reading, const ReadingContext& context);

}  // namespace kippwerk
