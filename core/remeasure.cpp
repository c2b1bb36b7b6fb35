// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/remeasure.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/monoflop.h"
#include "core/normtext.h"
#include "core/numbers.h"

namespace kippwerk {
namespace {

bool positive(double x) {
  return x > 0.0 && std::isfinite(x);
}

// The resistances any needed one may take: a milliohm to a petaohm.
constexpr double kLowestResistor = 1e-3, kHighestResistor = 1e15;

// The resistance at which a rising function of it reaches `target`, by bisection of its
// logarithm over those; nothing when the target lies outside.
template <class F>
std::optional<double> reaching(const F& f, double target) {
  double low = std::log(kLowestResistor), high = std::log(kHighestResistor);
  if (!(f(std::exp(low)) <= target && f(std::exp(high)) >= target)) return std::nullopt;
  for (int i = 0; i < 200 && high - low > 1e-13; ++i) {
    const double middle = 0.5 * (low + high);
    (f(std::exp(middle)) < target ? low : high) = middle;
  }
  // Where the chip's pin currents stop C1 from reaching a level, the time jumps to infinity:
  // the bisection then ends on that edge, which reaches nothing.
  const double reached = f(std::exp(high));
  if (!(std::fabs(reached / target - 1.0) <= 1e-9)) return std::nullopt;
  return std::exp(high);
}

// 100 Ohm, 200 Ohm, 500 Ohm, 1 k Ohm, ... 5 M Ohm.
std::vector<double> trimmerValues() {
  std::vector<double> out;
  for (double decade = 100.0; decade <= 1e6; decade *= 10.0) {
    for (double m : {1.0, 2.0, 5.0}) out.push_back(m * decade);
  }
  return out;
}

}  // namespace

Result<std::pair<double, double>, RemeasureError> timesFromFrequency(double frequency,
                                                                     double duty) {
  if (!positive(frequency)) return RemeasureError::NotPositive;
  if (!(duty > 0.0 && duty < 1.0)) return RemeasureError::DutyOutOfRange;
  const std::pair<double, double> t{duty / frequency, (1.0 - duty) / frequency};
  if (!positive(t.first) || !positive(t.second)) return RemeasureError::NotPositive;
  return t;
}

namespace {

// The capacitance at which a rising time of it reaches `target`, by bisection of its logarithm
// over the capacitances of any use; nothing when the target lies outside.
template <class F>
std::optional<double> capacitanceFor(const F& time, double target) {
  double low = std::log(1e-30), high = std::log(1e30);
  if (!(time(std::exp(low)) <= target && time(std::exp(high)) >= target)) return std::nullopt;
  for (int i = 0; i < 200 && high - low > 1e-14; ++i) {
    const double middle = 0.5 * (low + high);
    (time(std::exp(middle)) < target ? low : high) = middle;
  }
  return std::exp(0.5 * (low + high));
}

}  // namespace

Result<Reading, RemeasureError> readAstable(const Circuit& c, double r1, double r2,
                                            double teinMeasured, double tausMeasured) {
  for (double v : {r1, r2, teinMeasured, tausMeasured}) {
    if (!positive(v)) return RemeasureError::NotPositive;
  }
  const AstableShape shape(c, r1, r2);
  const std::optional<double> c1 =
      capacitanceFor([&shape](double x) { return shape.at(x).taus; }, tausMeasured);
  if (!c1) return RemeasureError::NotPositive;
  Reading out;
  out.c1eff = *c1;
  out.teinModel = shape.at(out.c1eff).tein;
  out.k = teinMeasured / out.teinModel;
  out.r1 = r1;
  if (!positive(out.c1eff) || !positive(out.teinModel) || !positive(out.k)) {
    return RemeasureError::NotPositive;
  }
  return out;
}

Result<Reading, RemeasureError> readMonostable(const Circuit& c, double r, double tMeasured) {
  if (!positive(r) || !positive(tMeasured)) return RemeasureError::NotPositive;
  const PulseShape shape(c, r);
  const std::optional<double> c1 =
      capacitanceFor([&shape](double x) { return shape.at(x); }, tMeasured);
  if (!c1 || !positive(*c1)) return RemeasureError::NotPositive;
  Reading out;
  out.c1eff = *c1;
  return out;
}

Result<Needed, RemeasureError> neededAstable(const Circuit& c, const Reading& reading,
                                             double teinWanted, double tausWanted) {
  if (!positive(teinWanted) || !positive(tausWanted) || !positive(reading.c1eff)) {
    return RemeasureError::NotPositive;
  }
  const double c1 = reading.c1eff;
  // t-AUS rises with R2, t-EIN with R1; R1 moves t-AUS a little, so in turns.
  Needed out{positive(reading.r1) ? reading.r1 : 1e3, 0.0};
  for (int turn = 0; turn < 20; ++turn) {
    const Needed before = out;
    const std::optional<double> r2 =
        reaching([&](double r) { return astableTimes(c, out.r1, r, c1).taus; }, tausWanted);
    if (!r2) return RemeasureError::TausUnreachable;
    out.r2 = *r2;
    const std::optional<double> r1 = reaching(
        [&](double r) { return reading.k * astableTimes(c, r, out.r2, c1).tein; }, teinWanted);
    if (!r1) return RemeasureError::TeinUnreachable;
    out.r1 = *r1;
    if (std::fabs(out.r1 / before.r1 - 1.0) < 1e-12 &&
        std::fabs(out.r2 / before.r2 - 1.0) < 1e-12) {
      break;
    }
  }
  return out;
}

Result<Needed, RemeasureError> neededMonostable(const Circuit& c, const Reading& reading,
                                                double tWanted) {
  if (!positive(tWanted) || !positive(reading.c1eff)) return RemeasureError::NotPositive;
  const std::optional<double> r =
      reaching([&](double x) { return pulseTime(c, x, reading.c1eff); }, tWanted);
  if (!r) return RemeasureError::TeinUnreachable;
  return Needed{*r, 0.0};
}

namespace {

// How far x lies from `reference`, in decades either way; unknown references count as far.
double decadesOff(double x, double reference) {
  const double d = std::fabs(std::log10(x / reference));
  return std::isfinite(d) ? d : std::numeric_limits<double>::max();
}

bool plausible(double x, double low, double high) {
  return x >= low && x <= high;
}

}  // namespace

std::optional<Refusal> implausiblePart(const RemeasureCase& in) {
  using Box = Refusal::Box;
  if (!plausible(in.r1, 1.0, 1e9)) return Refusal{Box::R1};
  if (!in.monostable && !plausible(in.r2, 1.0, 1e9)) return Refusal{Box::R2};
  if (!plausible(in.c1, 1e-12, 1.0)) return Refusal{Box::C1};
  return std::nullopt;
}

Refusal refusalOf(const RemeasureCase& in, RemeasureError error) {
  using Box = Refusal::Box;
  if (const std::optional<Refusal> part = implausiblePart(in)) return *part;
  // What the parts as built give.
  const AstableTimes built = in.monostable ? AstableTimes{pulseTime(in.circuit, in.r1, in.c1), 0.0}
                                           : astableTimes(in.circuit, in.r1, in.r2, in.c1);
  const double on = built.tein, off = built.taus;
  // t-AUS decides C1, so a refused R2 points at it first; t-EIN's factor comes from both.
  const bool offFirst =
      !in.monostable && (error == RemeasureError::TausUnreachable ||
                         decadesOff(in.measuredTaus, off) > decadesOff(in.measuredTein, on));
  const bool wantOff = !in.monostable && error == RemeasureError::TausUnreachable;
  const double measured = offFirst ? in.measuredTaus : in.measuredTein;
  const double expected = offFirst ? off : on;
  const double want = wantOff ? in.wantTaus : in.wantTein;
  const double wantExpected = wantOff ? off : on;
  if (error == RemeasureError::NotPositive ||
      decadesOff(measured, expected) >= decadesOff(want, wantExpected)) {
    if (!in.frequencyForm)
      return {offFirst ? Box::MeasuredTaus : Box::MeasuredTein, false, expected};
    const double period = in.measuredTein + in.measuredTaus;
    // The period as far off as the time, within a decade: the frequency; else the duty cycle.
    if (decadesOff(period, on + off) >= decadesOff(measured, expected) - 1.0) {
      return {Box::Frequency, false, 1.0 / (on + off)};
    }
    return {Box::Duty, false, on / (on + off)};
  }
  // The wanted time: the needed resistor lies beyond the largest or below the smallest.
  return {wantOff ? Box::WantTaus : Box::WantTein, want < wantExpected};
}

TrimmerResult trimmerFor(double needed, Series series, double tolerance, double floor) {
  if (!positive(needed)) return TrimmerError::BeyondLargest;
  // A needed value exactly at a limit of the rule counts as reached, not lost to the last
  // binary digit of the decimal arithmetic.
  constexpr double kSlack = 1e-12;
  Trimmer t;
  t.needed = needed;
  for (double v : standardValues(series, std::max(1.0, floor), needed)) {
    if (v * (1.0 + tolerance) <= needed * (1.0 + kSlack)) t.fixed = v;
  }
  if (floor > 0.0 && t.fixed == 0.0) return TrimmerError::BelowFloor;
  for (double trimmer : trimmerValues()) {
    if (t.fixed * (1.0 - tolerance) + (1.0 - kTrimmerTolerance) * trimmer >=
        needed * (1.0 - kSlack)) {
      t.trimmer = trimmer;
      return t;
    }
  }
  return TrimmerError::BeyondLargest;
}

TrimmerFloor trimmerFloor(const char* part, double rMin, const ChipFamily& family, bool chip) {
  if (!chip || rMin >= family.r1Min) return {rMin, "R min = " + partText(rMin, resistorUnits)};
  return {family.r1Min, partText(family.r1Min, resistorUnits) + " (kleinster Wert für " + part +
                            " " + std::string(family.where) + ")"};
}

std::string trimmerText(const char* part, double needed, const TrimmerResult& t,
                        const TrimmerFloor& floor) {
  const std::string name(part);
  const std::string want = partText(needed, resistorUnits);
  if (!t) {
    if (t.error() == TrimmerError::BelowFloor) {
      return name + ": nötig " + want + "; mit einem Festwiderstand ab " + floor.text +
             " ist das nicht zu erreichen.";
    }
    return name + ": nötig " + want + "; dafür reicht kein Trimmer bis 5 M Ohm.";
  }
  const Trimmer& v = t.value();
  const std::string trimmer = partText(v.trimmer, resistorUnits);
  const std::string head = v.fixed > 0.0
                               ? partText(v.fixed, resistorUnits) + " + Trimmer " + trimmer
                               : "Trimmer " + trimmer;
  return name + " = " + head + " (" + partText(v.fixed, resistorUnits) + " … " +
         partText(v.fixed + v.trimmer, resistorUnits) + ", nötig " + want + ")";
}

std::vector<std::string> readingLines(const Reading& r, const ReadingContext& x) {
  std::vector<std::string> out;
  const std::string built = partText(x.c1, capacitorUnits);
  const double ratio = r.c1eff / x.c1;
  // Past a tenfold change a percentage says nothing; the words take the reference with "von".
  const bool tenfold = ratio - 1.0 > 10.0;
  out.push_back("C1 wirkt wie " + partText(r.c1eff, capacitorUnits) + " (" +
                percentText(ratio - 1.0) + (tenfold ? " von " : " gegenüber ") + built + ").");
  if (!x.monostable) {
    const std::string model = " mit diesem C1 berechnet (" + timeText(r.teinModel) + ").";
    if (r.k - 1.0 > 10.0) {
      out.push_back("t-EIN ist mehr als zehnmal so lang wie" + model);
    } else {
      out.push_back("t-EIN ist " + sizeText(r.k - 1.0) + " " + (r.k >= 1.0 ? "länger" : "kürzer") +
                    " als" + model);
    }
  }
  if (ratio < 0.5 || ratio > 2.0) {
    out.push_back(std::string("Das gemessene ") + (x.monostable ? "t" : "t-AUS") +
                  " passt nicht zu C1 = " + built +
                  ": ist C1 richtig bestückt, stimmt der Messwert?");
  }
  if (!x.monostable && (r.k < 0.67 || r.k > 1.5)) {
    std::string line = "t-EIN ist " + ratioText(r.k) + "-mal so lang wie berechnet: ";
    if (r.k >= 1.45 && r.k <= 1.75) {
      line +=
          "Wurde die erste Periode gemessen? Sie lädt C1 von 0 V an und dauert etwa 1.58-mal so "
          "lang. Sonst R1, die Diode und Ub prüfen.";
    } else {
      line += "R1, die Diode und Ub prüfen.";
    }
    out.push_back(line);
  }
  const bool schottky =
      !x.monostable && x.circuit.realDiode() && x.circuit.model.name == kDiodes[2].name;
  if (schottky) {
    out.emplace_back(
        "Mit der Schottky-Diode 1N5817 gilt das Ergebnis nur bei der Temperatur und der "
        "Versorgung der Messung: ihr Sperrstrom hängt stark von beiden ab.");
  }
  if (x.electrolytic && x.resistor > 1e6) {
    out.push_back(std::string("Mit einem Elko und ") + (x.monostable ? "R" : "R2") +
                  " über 1 M Ohm gilt das Ergebnis nur bei der Temperatur und der Versorgung "
                  "der Messung: sein Leckstrom hängt stark von beiden ab.");
  }
  return out;
}

}  // namespace kippwerk
