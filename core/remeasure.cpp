// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/remeasure.h"

#include <charconv>
#include <cmath>

#include "core/monoflop.h"
#include "core/normtext.h"
#include "core/numbers.h"

namespace kippwerk {
namespace {

bool positive(double x) {
  return x > 0.0 && std::isfinite(x);
}

// The resistance at which a rising function of it reaches `target`, by bisection of its
// logarithm between a milliohm and a petaohm; nothing when the target lies outside.
template <class F>
std::optional<double> reaching(const F& f, double target) {
  double low = std::log(1e-3), high = std::log(1e15);
  if (!(f(std::exp(low)) <= target && f(std::exp(high)) >= target)) return std::nullopt;
  for (int i = 0; i < 200; ++i) {
    const double middle = 0.5 * (low + high);
    if (middle <= low || middle >= high) break;
    (f(std::exp(middle)) < target ? low : high) = middle;
  }
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

Result<Reading, RemeasureError> readAstable(const Circuit& c, double r1, double r2,
                                            double teinMeasured, double tausMeasured) {
  for (double v : {r1, r2, teinMeasured, tausMeasured}) {
    if (!positive(v)) return RemeasureError::NotPositive;
  }
  Reading out;
  out.c1eff = tausMeasured / offTimePerFarad(c, r2);
  out.teinModel = onTimePerFarad(c, r1, r2) * out.c1eff;
  out.k = teinMeasured / out.teinModel;
  if (!positive(out.c1eff) || !positive(out.teinModel) || !positive(out.k)) {
    return RemeasureError::NotPositive;
  }
  return out;
}

Result<Reading, RemeasureError> readMonostable(double r, double tMeasured) {
  if (!positive(r) || !positive(tMeasured)) return RemeasureError::NotPositive;
  Reading out;
  out.c1eff = tMeasured / (kPulseTiming * r);
  if (!positive(out.c1eff)) return RemeasureError::NotPositive;
  return out;
}

Result<Needed, RemeasureError> neededAstable(const Circuit& c, const Reading& reading,
                                             double teinWanted, double tausWanted) {
  if (!positive(teinWanted) || !positive(tausWanted) || !positive(reading.c1eff)) {
    return RemeasureError::NotPositive;
  }
  // t-AUS per farad rises with R2, t-EIN per farad with R1.
  const std::optional<double> r2 =
      reaching([&c](double r) { return offTimePerFarad(c, r); }, tausWanted / reading.c1eff);
  if (!r2) return RemeasureError::TausUnreachable;
  const std::optional<double> r1 =
      reaching([&c, r2](double r) { return onTimePerFarad(c, r, *r2); },
               teinWanted / (reading.k * reading.c1eff));
  if (!r1) return RemeasureError::TeinUnreachable;
  return Needed{*r1, *r2};
}

Result<Needed, RemeasureError> neededMonostable(const Reading& reading, double tWanted) {
  if (!positive(tWanted) || !positive(reading.c1eff)) return RemeasureError::NotPositive;
  const double r = tWanted / (kPulseTiming * reading.c1eff);
  if (!positive(r)) return RemeasureError::TeinUnreachable;
  return Needed{r, 0.0};
}

std::optional<Trimmer> trimmerFor(double needed, Series series, double tolerance) {
  if (!positive(needed)) return std::nullopt;
  // A needed value exactly at a limit of the rule counts as reached, not lost to the last
  // binary digit of the decimal arithmetic.
  constexpr double kSlack = 1e-12;
  Trimmer t;
  t.needed = needed;
  for (double v : standardValues(series, 1.0, needed)) {
    if (v * (1.0 + tolerance) <= needed * (1.0 + kSlack)) t.fixed = v;
  }
  for (double trimmer : trimmerValues()) {
    if (t.fixed * (1.0 - tolerance) + (1.0 - kTrimmerTolerance) * trimmer >=
        needed * (1.0 - kSlack)) {
      t.trimmer = trimmer;
      return t;
    }
  }
  return std::nullopt;
}

std::string trimmerText(const char* part, double needed, const std::optional<Trimmer>& t) {
  const std::string name(part);
  const std::string want = partText(needed, resistorUnits);
  if (!t) return name + ": nötig " + want + "; dafür reicht kein Trimmer bis 5 M Ohm.";
  const std::string trimmer = partText(t->trimmer, resistorUnits);
  const std::string head = t->fixed > 0.0
                               ? partText(t->fixed, resistorUnits) + " + Trimmer " + trimmer
                               : "Trimmer " + trimmer;
  return name + " = " + head + " (" + partText(t->fixed, resistorUnits) + " … " +
         partText(t->fixed + t->trimmer, resistorUnits) + ", nötig " + want + ")";
}

std::vector<std::string> readingLines(const Reading& r, const ReadingContext& x) {
  std::vector<std::string> out;
  const std::string built = partText(x.c1, capacitorUnits);
  const double ratio = r.c1eff / x.c1;
  out.push_back("C1 wirkt wie " + partText(r.c1eff, capacitorUnits) + " (" +
                percentText(ratio - 1.0) + " gegenüber " + built + ").");
  if (!x.monostable) {
    out.push_back("t-EIN ist " + fixedText(std::fabs(r.k - 1.0) * 100.0, 2) + " % " +
                  (r.k >= 1.0 ? "länger" : "kürzer") + " als mit diesem C1 berechnet (" +
                  timeText(r.teinModel) + ").");
  }
  if (ratio < 0.5 || ratio > 2.0) {
    out.push_back(std::string("Das gemessene ") + (x.monostable ? "t" : "t-AUS") +
                  " passt nicht zu C1 = " + built +
                  ": ist C1 richtig bestückt, stimmt der Messwert?");
  }
  if (!x.monostable && (r.k < 0.67 || r.k > 1.5)) {
    std::string line = "t-EIN ist " + fixedText(r.k, 2) + "-mal so lang wie berechnet: ";
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
