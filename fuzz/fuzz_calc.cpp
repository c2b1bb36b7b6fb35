// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The three calculations, the standard-parts search and the remeasuring on arbitrary inputs: a
// finite result or its error, never a non-finite number, and no result text that says inf or
// NaN. The search's sets are sorted, keep to their ranges, and equal the exhaustive search's
// where that is cheap enough to run.

#include "core/dimensioning.h"
#include "core/normtext.h"
#include "core/remeasure.h"
#include "core/standardsearch.h"
#include "core/timeentry.h"
#include "core/timing.h"
#include "core/tolerance.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace kippwerk;

void checkTimes(const Result<Times>& t, const char* what) {
  if (!t.ok()) return;
  const Times& v = t.value();
  fuzz::require(std::isfinite(v.tein) && std::isfinite(v.taus) && std::isfinite(v.tperiode) &&
                    std::isfinite(v.frequenz),
                what);
  fuzz::require(!fuzz::saysInfOrNan(timesText(v)), "timesText", timesText(v));
  for (double q : {v.tein, v.taus, v.tperiode, v.frequenz}) {
    fuzz::require(!fuzz::saysInfOrNan(displayText(q)), "displayText", displayText(q));
  }
}

// The ideal chip or a family's typical one at the supply.
ChipModel chipOf(std::uint8_t pick, double ub) {
  return pick % 4 == 0 ? ChipModel{} : kChipFamilies[pick % 4 - 1].chip(ub);
}

// Mostly a power of ten between 1e-15 and 1e15, sometimes any double at all.
double magnitude(fuzz::Input& in) {
  const auto b = in.take<std::uint8_t>();
  if (b < 16) return in.take<double>();
  return std::pow(10.0, (b - 136) / 8.0);
}

void checkSearch(fuzz::Input& in) {
  StandardSearch q;
  q.tein = magnitude(in);
  q.taus = magnitude(in);
  q.diode = in.flag();
  q.resistorSeries = kAllSeries[in.take<std::uint8_t>() % 7];
  q.rMin = magnitude(in);
  q.rMax = q.rMin * magnitude(in);
  q.capacitorSeries = kAllSeries[in.take<std::uint8_t>() % 7];
  q.cMin = magnitude(in);
  q.cMax = q.cMin * magnitude(in);
  q.fixed = static_cast<FixedPart>(in.take<std::uint8_t>() % 3);
  q.fixedValue = magnitude(in);
  // Below a half, as every tolerance the windows offer; at 99 % every set of a wide range would
  // have its spread worked out, for minutes, to find none usable.
  q.resistorTolerance = in.take<std::uint8_t>() / 512.0;
  q.capacitorTolerance = in.take<std::uint8_t>() / 512.0;
  q.diodeModel = kDiodes[in.take<std::uint8_t>() % kDiodes.size()];
  q.ub = in.take<std::uint8_t>() < 8 ? in.take<double>() : 1.0 + in.take<std::uint8_t>() / 16.0;
  q.chip = chipOf(in.take<std::uint8_t>(), q.ub);

  const std::size_t r1 = standardValues(q.resistorSeries, q.rMin, q.rMax).size();
  const std::size_t r2 = q.fixed == FixedPart::R2 ? 1 : r1;
  const std::size_t c1 =
      q.fixed == FixedPart::C1 ? 1 : standardValues(q.capacitorSeries, q.cMin, q.cMax).size();
  // With a real diode and times no set comes near, every set ties with thousands of others and
  // the search walks millions of them: seconds to a minute over seven decades of E192. Such
  // ranges are left to the tests; here they would use up the run.
  if (q.circuit().realDiode() && r1 * r2 * c1 > 4000000u) return;
  const StandardSets sets = searchStandardSets(q);
  if (!sets.ok()) return;
  fuzz::require(!sets.value().empty() && sets.value().size() <= kMaxStandardSets, "set count");
  const double slack = 1e-12;
  const StandardSet* previous = nullptr;
  for (const StandardSet& s : sets.value()) {
    for (double v :
         {s.r1, s.r2, s.c1, s.tein, s.taus, s.frequenz, s.devTein, s.devTaus, s.deviation}) {
      fuzz::require(std::isfinite(v), "search gives a non-finite number");
    }
    fuzz::require(s.r1 >= q.rMin * (1 - slack) && s.r1 <= q.rMax * (1 + slack), "R1 outside");
    if (q.fixed == FixedPart::R2) {
      fuzz::require(s.r2 == q.fixedValue, "fixed R2 changed");
    } else {
      fuzz::require(s.r2 >= q.rMin * (1 - slack) && s.r2 <= q.rMax * (1 + slack), "R2 outside");
    }
    if (q.fixed == FixedPart::C1) {
      fuzz::require(s.c1 == q.fixedValue, "fixed C1 changed");
    } else {
      fuzz::require(s.c1 >= q.cMin * (1 - slack) && s.c1 <= q.cMax * (1 + slack), "C1 outside");
    }
    if (previous != nullptr) {
      fuzz::require(previous->deviation <= s.deviation + 1e-12, "sets not sorted");
    }
    previous = &s;
    const ToleranceSpread t =
        toleranceSpread(s.r1, s.r2, s.c1, q.circuit(), q.resistorTolerance, q.capacitorTolerance);
    fuzz::require(t.frequenz.low > 0 && std::isfinite(t.edges[3].high) && t.tein.low > 0 &&
                      t.taus.low > 0 && std::isfinite(t.frequenz.high),
                  "a listed set has no finite spread");
    const std::string text = partText(s.r1, resistorUnits) + partText(s.c1, capacitorUnits) +
                             timeText(s.tein) + frequencyText(s.frequenz) + percentText(s.devTein) +
                             percentText(s.deviation);
    fuzz::require(!fuzz::saysInfOrNan(text), "search texts", text);
  }
  const Shortfall why = shortfallOf(q, sets.value().front());
  fuzz::require(std::isfinite(why.reach) && why.reach >= 0, "shortfall reach");
  if (r1 * r2 * c1 <= (q.circuit().realDiode() ? 1000u : 8000u)) {
    const StandardSets every = searchStandardSetsExhaustive(q);
    fuzz::require(every.ok() && every.value() == sets.value(), "differs from exhaustive search");
  }
}

// From measured times back to parts, as the remeasuring window does with whatever is typed: a
// finite reading or an error, resistors that give the wanted times again, trimmer lines and
// reading lines without inf or NaN.
void checkRemeasure(fuzz::Input& in) {
  Circuit c{in.flag(), kDiodes[in.take<std::uint8_t>() % kDiodes.size()],
            0.5 + in.take<std::uint8_t>() / 2.0};
  const double r1 = magnitude(in), r2 = magnitude(in), c1 = magnitude(in);
  const double tein = magnitude(in), taus = magnitude(in);
  const double wantTein = magnitude(in), wantTaus = magnitude(in);
  const bool mono = in.flag();
  const bool electrolytic = in.flag();
  c.chip = chipOf(in.take<std::uint8_t>(), c.ub);
  const Result<Reading, RemeasureError> read =
      mono ? readMonostable(c, r1, tein) : readAstable(c, r1, r2, tein, taus);
  if (!read.ok()) return;
  const Reading& r = read.value();
  fuzz::require(std::isfinite(r.c1eff) && r.c1eff > 0 && std::isfinite(r.k) && r.k > 0,
                "reading not finite");
  ReadingContext x{mono, c1, r2, c, electrolytic};
  for (const std::string& line : readingLines(r, x)) {
    fuzz::require(!fuzz::saysInfOrNan(line), "reading line", line);
  }
  const Result<Needed, RemeasureError> needed =
      mono ? neededMonostable(c, r, wantTein) : neededAstable(c, r, wantTein, wantTaus);
  if (!needed.ok()) return;
  for (double v : {needed.value().r1, mono ? 1.0 : needed.value().r2}) {
    fuzz::require(std::isfinite(v) && v > 0, "needed resistor not finite");
    const auto t =
        trimmerFor(v, kAllSeries[in.take<std::uint8_t>() % 7], in.take<std::uint8_t>() / 512.0);
    const std::string text = trimmerText("R", v, t);
    fuzz::require(!fuzz::saysInfOrNan(text), "trimmer text", text);
  }
}

// The model on any positive parts, supply and chip within its ranges: a time is a number above 0
// or, where C1 never reaches a level, infinite; never NaN. Its picture ends where its times do.
void checkModel(fuzz::Input& in) {
  const std::uint8_t pick = in.take<std::uint8_t>();
  Circuit c{in.flag(), kDiodes[pick % kDiodes.size()], 0.5 + in.take<std::uint8_t>() / 2.0};
  const ChipVariation v{0.5 + in.take<std::uint8_t>() / 128.0, in.take<std::uint8_t>() / 255.0,
                        in.take<std::uint8_t>() / 255.0, in.take<std::uint8_t>() / 255.0,
                        in.take<std::uint8_t>() / 255.0};
  c.chip = kChipFamilies[pick % kChipFamilies.size()].chip(c.ub, v);
  const double r1 = std::fabs(magnitude(in)), r2 = std::fabs(magnitude(in)),
               c1 = std::fabs(magnitude(in));
  const AstableTimes t = astableTimes(c, r1, r2, c1);
  for (double x : {t.tein, t.taus, pulseTime(c, r1, c1)}) {
    char what[256];
    std::snprintf(what, sizeof what, "R1 %.17g R2 %.17g C1 %.17g Ub %.17g: %g %g", r1, r2, c1, c.ub,
                  t.tein, t.taus);
    fuzz::require(!std::isnan(x) && x >= 0, "model time", what);
  }
  if (std::isfinite(t.tein) && std::isfinite(t.taus) && r1 > 0 && r2 > 0 && c1 > 0) {
    const std::vector<VoltagePoint> curve = capacitorVoltage(c, r1, r2, c1, 8);
    fuzz::require(curve.back().t == t.tein + t.taus, "curve's end");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const double a = in.take<double>(), b = in.take<double>(), c = in.take<double>();
  const bool flag = in.flag();
  const Times q{in.take<double>(), in.take<double>(), in.take<double>(), in.take<double>()};

  checkTimes(timesFromComponents(a, b, c, flag), "timesFromComponents");
  checkTimes(afterTeinTyped(q, a, flag), "afterTeinTyped");
  checkTimes(afterTausTyped(q, a), "afterTausTyped");
  checkTimes(afterFrequencyTyped(q, a), "afterFrequencyTyped");
  checkTimes(afterModeSwitched(q, flag), "afterModeSwitched");

  const KnownComponent known = in.flag() ? KnownComponent::C1 : KnownComponent::R2;
  const Result<Components> parts = dimensionComponents(known, flag, a, b, c);
  if (parts.ok()) {
    const Components& p = parts.value();
    fuzz::require(std::isfinite(p.r1) && std::isfinite(p.r2) && std::isfinite(p.c1),
                  "dimensionComponents");
    fuzz::require((known == KnownComponent::C1 ? p.c1 : p.r2) == c, "known component changed");
    if (std::isfinite(q.tein) && std::isfinite(q.taus) && std::isfinite(q.tperiode) &&
        std::isfinite(q.frequenz)) {
      const std::string text = dimensioningText(computedLines(p), flag, q);
      fuzz::require(!fuzz::saysInfOrNan(text), "dimensioningText", text);
    }
  } else {
    fuzz::require(parts.error() == Error::OutOfRange || c == 0.0, "dimensionComponents error");
  }
  if (std::isfinite(c)) {
    fuzz::require(
        !fuzz::saysInfOrNan(placeholderLines(known, c).r2 + placeholderLines(known, c).c1),
        "placeholderLines");
  }
  checkSearch(in);
  checkRemeasure(in);
  checkModel(in);
  return 0;
}
