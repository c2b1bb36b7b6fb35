// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/remeasure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "core/monoflop.h"
#include "core/standardsearch.h"
#include "core/timing.h"
#include "tests/core/test_support.h"

namespace kippwerk {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The worked case: 150 k, 68 k, 4.7 uF with a 1N4148 and a typical NE555 at 9 V measure
// 515 ms and 205 ms; 540 ms and 220 ms are wanted. The model gives 541.7 ms and 223.6 ms with
// 4.7 uF (tools/chip_reference.py), so C1 acts 8.33 % smaller, and t-EIN is 3.72 % longer
// than 541.7 ms * 4.308 / 4.7.
TEST(Remeasure, GivesTheWorkedCase) {
  const Circuit c{true, kDiodes[0], 9, kModelKelvin, kChipFamilies[0].chip(9)};
  const Reading r = readAstable(c, 150e3, 68e3, 0.515, 0.205).value();
  ReadingContext x;
  x.c1 = 4.7e-6;
  x.resistor = 68e3;
  x.circuit = c;
  EXPECT_EQ(readingLines(r, x),
            (std::vector<std::string>{
                "C1 wirkt wie 4.308 uF (-8.33 % gegenüber 4.7 uF).",
                "t-EIN ist 3.72 % länger als mit diesem C1 berechnet (496.5 ms)."}));
  const Needed n = neededAstable(c, r, 0.54, 0.22).value();
  EXPECT_EQ(trimmerText("R1", n.r1, trimmerFor(n.r1, Series::E24, 0.05)),
            "R1 = 130 k Ohm + Trimmer 50 k Ohm (130 k Ohm … 180 k Ohm, nötig 157.3 k Ohm)");
  EXPECT_EQ(trimmerText("R2", n.r2, trimmerFor(n.r2, Series::E24, 0.05)),
            "R2 = 68 k Ohm + Trimmer 20 k Ohm (68 k Ohm … 88 k Ohm, nötig 72.98 k Ohm)");
}

// Parts scaled by known factors come back: C1 acting larger and t-EIN longer by k read as
// exactly that, and the needed resistors give the desired times with them.
struct RoundTrip {
  const char* name;
  bool monostable;
  Circuit circuit;
};

class Inversions : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(Inversions, ReadTheFactorsAndFindTheResistors) {
  const RoundTrip& p = GetParam();
  const double r1 = 15e3, r2 = 6.8e3, c1 = 47e-9, acts = 0.93, k = 1.028;
  const Circuit& c = p.circuit;
  if (p.monostable) {
    const Reading r = readMonostable(c, r1, pulseTime(c, r1, c1 * acts)).value();
    EXPECT_NEAR(r.c1eff, c1 * acts, c1 * 1e-12);
    const Needed n = neededMonostable(c, r, 0.8e-3).value();
    EXPECT_NEAR(pulseTime(c, n.r1, r.c1eff), 0.8e-3, 0.8e-3 * 1e-12);
    return;
  }
  const AstableTimes built = astableTimes(c, r1, r2, c1 * acts);
  const Reading r = readAstable(c, r1, r2, k * built.tein, built.taus).value();
  EXPECT_NEAR(r.c1eff, c1 * acts, c1 * 1e-12);
  EXPECT_NEAR(r.k, k, 1e-12);
  EXPECT_NEAR(r.teinModel, built.tein, built.tein * 1e-12);
  // The needed resistors give both times with R1's share in t-AUS included.
  const Needed n = neededAstable(c, r, 0.54e-3, 0.22e-3).value();
  const AstableTimes needed = astableTimes(c, n.r1, n.r2, r.c1eff);
  EXPECT_NEAR(needed.taus, 0.22e-3, 0.22e-3 * 1e-9);
  EXPECT_NEAR(k * needed.tein, 0.54e-3, 0.54e-3 * 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Circuits, Inversions,
    ::testing::Values(
        RoundTrip{"WithoutDiode", false, Circuit{false, kIdealDiode, 9}},
        RoundTrip{"IdealDiode", false, Circuit{true, kIdealDiode, 9}},
        RoundTrip{"Silicon", false, Circuit{true, kDiodes[0], 9}},
        RoundTrip{"Rectifier", false, Circuit{true, kDiodes[1], 5}},
        RoundTrip{"Schottky", false, Circuit{true, kDiodes[2], 12}},
        RoundTrip{"Monostable", true, Circuit{}},
        RoundTrip{"WithoutDiodeNe555", false,
                  Circuit{false, kIdealDiode, 9, kModelKelvin, kChipFamilies[0].chip(9)}},
        RoundTrip{"SiliconNe555", false,
                  Circuit{true, kDiodes[0], 9, kModelKelvin, kChipFamilies[0].chip(9)}},
        RoundTrip{"SchottkyTlc555", false,
                  Circuit{true, kDiodes[2], 5, kModelKelvin, kChipFamilies[2].chip(5)}},
        RoundTrip{"MonostableNe555", true,
                  Circuit{false, kIdealDiode, 9, kModelKelvin, kChipFamilies[0].chip(9)}}),
    testing::RowName());

struct FrequencyRow {
  const char* name;
  double f, duty;
  double tein, taus;  // 0: refused
  RemeasureError error;
};

class FrequencyForms : public ::testing::TestWithParam<FrequencyRow> {};

TEST_P(FrequencyForms, GiveTheTimesOrRefuse) {
  const FrequencyRow& r = GetParam();
  const auto t = timesFromFrequency(r.f, r.duty);
  if (r.tein == 0) {
    ASSERT_FALSE(t.ok());
    EXPECT_EQ(t.error(), r.error);
    return;
  }
  ASSERT_TRUE(t.ok());
  EXPECT_DOUBLE_EQ(t.value().first, r.tein);
  EXPECT_DOUBLE_EQ(t.value().second, r.taus);
}

INSTANTIATE_TEST_SUITE_P(
    Measured, FrequencyForms,
    ::testing::Values(FrequencyRow{"TwoHertzAQuarter", 2, 0.25, 0.125, 0.375, {}},
                      FrequencyRow{"KilohertzSeventyPercent", 1e3, 0.7, 0.7e-3, 0.3e-3, {}},
                      FrequencyRow{"ZeroHertz", 0, 0.5, 0, 0, RemeasureError::NotPositive},
                      FrequencyRow{"NegativeHertz", -1, 0.5, 0, 0, RemeasureError::NotPositive},
                      FrequencyRow{"NotANumber", kNaN, 0.5, 0, 0, RemeasureError::NotPositive},
                      FrequencyRow{"DutyZero", 1, 0, 0, 0, RemeasureError::DutyOutOfRange},
                      FrequencyRow{"DutyWhole", 1, 1, 0, 0, RemeasureError::DutyOutOfRange},
                      FrequencyRow{"DutyAboveWhole", 1, 1.2, 0, 0, RemeasureError::DutyOutOfRange},
                      FrequencyRow{"TimesBelowTheDoubles", 1e308, 1e-20, 0, 0,
                                   RemeasureError::NotPositive}),
    testing::RowName());

TEST(Remeasure, RefusesWhatNoResistorReaches) {
  const Circuit schottky{true, kDiodes[2], 9};
  const Reading r = readAstable(schottky, 150e3, 68e3, 0.5, 0.2).value();
  // Its reverse current caps t-AUS near 0.69 * 94 k Ohm * C1, whatever R2 is.
  EXPECT_EQ(neededAstable(schottky, r, 0.54, 100 * 0.22).error(), RemeasureError::TausUnreachable);
  // Without a diode t-EIN below t-AUS would need a negative R1.
  const Circuit plain{false, kIdealDiode, 9};
  const Reading p = readAstable(plain, 150e3, 68e3, 0.515, 0.205).value();
  EXPECT_EQ(neededAstable(plain, p, 0.1, 0.22).error(), RemeasureError::TeinUnreachable);
  EXPECT_EQ(readAstable(plain, 150e3, 0, 0.5, 0.2).error(), RemeasureError::NotPositive);
  EXPECT_EQ(readAstable(plain, 150e3, 68e3, -0.5, 0.2).error(), RemeasureError::NotPositive);
  EXPECT_EQ(readMonostable(plain, 100e3, kNaN).error(), RemeasureError::NotPositive);
  EXPECT_EQ(neededMonostable(plain, Reading{1e-6}, 0).error(), RemeasureError::NotPositive);
  // Shorter than the chip's delays: no capacitance gives it.
  const Circuit ne555{false, kIdealDiode, 9, kModelKelvin, kChipFamilies[0].chip(9)};
  EXPECT_EQ(readAstable(ne555, 150e3, 68e3, 0.515, 0.4e-6).error(), RemeasureError::NotPositive);
}

// A refusal names the box whose value is implausible, and for a wanted time which way helps;
// the cases go through the reading and the needed resistors as the window does.
struct RefusalRow {
  const char* name;
  RemeasureCase in;
  Refusal::Box box;
  bool longer;
};

class Refusals : public ::testing::TestWithParam<RefusalRow> {};

TEST_P(Refusals, NameTheImplausibleBox) {
  const RemeasureCase& in = GetParam().in;
  RemeasureError error = RemeasureError::NotPositive;
  const auto read = in.monostable
                        ? readMonostable(in.circuit, in.r1, in.measuredTein)
                        : readAstable(in.circuit, in.r1, in.r2, in.measuredTein, in.measuredTaus);
  if (read.ok()) {
    const auto needed = in.monostable
                            ? neededMonostable(in.circuit, read.value(), in.wantTein)
                            : neededAstable(in.circuit, read.value(), in.wantTein, in.wantTaus);
    ASSERT_FALSE(needed.ok());
    error = needed.error();
  }
  const Refusal r = refusalOf(in, error);
  EXPECT_EQ(r.box, GetParam().box);
  EXPECT_EQ(r.longer, GetParam().longer);
}

// The worked board (150 k, 68 k, 4.7 uF, 1N4148 at 9 V, 515 / 205 ms, wanted 540 / 220 ms)
// with one value changed.
RemeasureCase board(void (*change)(RemeasureCase&)) {
  RemeasureCase c{false, false, Circuit{true, kDiodes[0], 9}, 150e3, 68e3, 4.7e-6, 0.515, 0.205,
                  0.54,  0.22};
  change(c);
  return c;
}

using Box = Refusal::Box;
INSTANTIATE_TEST_SUITE_P(
    Boxes, Refusals,
    ::testing::Values(
        RefusalRow{"TinyR2", board([](RemeasureCase& c) { c.r2 = 1e-297; }), Box::R2, false},
        RefusalRow{"HugeR1", board([](RemeasureCase& c) { c.r1 = 1e15; }), Box::R1, false},
        RefusalRow{"HugeMeasuredTaus", board([](RemeasureCase& c) { c.measuredTaus = 1e12; }),
                   Box::MeasuredTaus, false},
        RefusalRow{"MeasuredTausBeyondTheDoubles", board([](RemeasureCase& c) {
                     c.r2 = 1;
                     c.measuredTaus = 1e308;
                   }),
                   Box::MeasuredTaus, false},
        RefusalRow{"TinyFrequency", board([](RemeasureCase& c) {
                     c.frequencyForm = true;
                     c.measuredTein = 0.715e300;
                     c.measuredTaus = 0.285e300;
                   }),
                   Box::Frequency, false},
        RefusalRow{"TinyDutyCycle", board([](RemeasureCase& c) {
                     c.frequencyForm = true;
                     c.measuredTein = 1e-302 / 1.389;
                     c.measuredTaus = 1 / 1.389;
                   }),
                   Box::Duty, false},
        RefusalRow{"DutyCycleNearlyAll", board([](RemeasureCase& c) {
                     c.frequencyForm = true;
                     c.measuredTein = 0.72;
                     c.measuredTaus = 1e-14;
                   }),
                   Box::Duty, false},
        RefusalRow{"WantedTausBeyondTheSchottky", board([](RemeasureCase& c) {
                     c.circuit.model = kDiodes[2];
                     c.wantTaus = 5;
                   }),
                   Box::WantTaus, false},
        RefusalRow{"WantedTausTiny", board([](RemeasureCase& c) { c.wantTaus = 1e-12; }),
                   Box::WantTaus, true},
        RefusalRow{"WantedTeinBelowWhatR2Leaves", board([](RemeasureCase& c) {
                     c.circuit.diode = false;
                     c.wantTein = 0.1;
                   }),
                   Box::WantTein, true},
        RefusalRow{"MonoflopWantedTiny", board([](RemeasureCase& c) {
                     c.monostable = true;
                     c.wantTein = 1e-12;
                   }),
                   Box::WantTein, true},
        RefusalRow{"MonoflopMeasuredHuge", board([](RemeasureCase& c) {
                     c.monostable = true;
                     c.measuredTein = 1e15;
                   }),
                   Box::MeasuredTein, false}),
    testing::RowName());

// The rule at its edges, E24 at 5 %: the fixed resistor may reach the needed value with its
// upper tolerance exactly, and the trimmer may reach it with its lower tolerance exactly; from a
// floor on (R min, the chip's minimum) the fixed one never lies below it.
struct TrimmerRow {
  const char* name;
  double needed, tolerance, floor;
  double fixed, trimmer;  // trimmer 0: none reaches; -1: nothing from the floor on
};

class TrimmerRule : public ::testing::TestWithParam<TrimmerRow> {};

TEST_P(TrimmerRule, PicksTheFixedPartAndTheSmallestTrimmer) {
  const TrimmerRow& r = GetParam();
  const TrimmerResult t = trimmerFor(r.needed, Series::E24, r.tolerance, r.floor);
  if (r.trimmer <= 0) {
    ASSERT_FALSE(t.ok());
    EXPECT_EQ(t.error(), r.trimmer < 0 ? TrimmerError::BelowFloor : TrimmerError::BeyondLargest);
    return;
  }
  ASSERT_TRUE(t.ok());
  EXPECT_EQ(t.value().fixed, r.fixed);
  EXPECT_EQ(t.value().trimmer, r.trimmer);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, TrimmerRule,
    ::testing::Values(
        // 150 k * 1.05 lies above 150 k: a needed value on a series value takes the one below.
        TrimmerRow{"NeededOnASeriesValue", 150e3, 0.05, 0, 130e3, 50e3},
        TrimmerRow{"FixedReachesWithItsTolerance", 150e3 * 1.05, 0.05, 0, 150e3, 20e3},
        TrimmerRow{"JustBelowThat", std::nextafter(150e3 * 1.05, 0.0) * (1 - 1e-9), 0.05, 0, 130e3,
                   50e3},
        // 150 k * 0.95 + 0.8 * 20 k = 158.5 k: the 20 k trimmer just reaches it ...
        TrimmerRow{"TrimmerJustEnough", 142.5e3 + 16e3, 0.05, 0, 150e3, 20e3},
        // ... and beyond 142.5 k + 0.8 * 20 k the next trimmer is needed.
        TrimmerRow{"TrimmerJustShort", (142.5e3 + 16e3) * 1.000001, 0.05, 0, 150e3, 50e3},
        TrimmerRow{"SmallFixedPart", 50, 0.05, 0, 47, 100},
        TrimmerRow{"NoFixedPartBelowOneOhm", 1, 0.05, 0, 0, 100},
        TrimmerRow{"BeyondEveryTrimmer", 1e9, 0.05, 0, 910e6, 0},
        // The list runs on to 1 M, 2 M and 5 M Ohm.
        TrimmerRow{"OneMegohm", 3e6, 0.05, 0, 2.7e6, 1e6},
        TrimmerRow{"TwoMegohm", 9e6, 0.05, 0, 8.2e6, 2e6},
        TrimmerRow{"FiveMegohm", 20e6, 0.05, 0, 18e6, 5e6},
        // From a floor of 1 k on: 130 Ohm cannot be met, 1.05 k just so, 1.04 k no more.
        TrimmerRow{"BelowTheFloor", 130, 0.05, 1e3, 0, -1},
        TrimmerRow{"OnTheFloorWithItsTolerance", 1.05e3, 0.05, 1e3, 1e3, 200},
        TrimmerRow{"TheFloorsToleranceTooLarge", 1.04e3, 0.05, 1e3, 0, -1},
        // Without the floor 1 k would do; from 1.05 k on, 1.1 k is already too large.
        TrimmerRow{"AFloorBetweenSeriesValues", 1.15e3, 0.05, 1.05e3, 0, -1}),
    testing::RowName());

TEST(TrimmerText, SaysWhenNoneReaches) {
  EXPECT_EQ(trimmerText("R", 1e9, TrimmerError::BeyondLargest),
            "R: nötig 1000 M Ohm; dafür reicht kein Trimmer bis 5 M Ohm.");
  EXPECT_EQ(trimmerText("R1", 1, trimmerFor(1, Series::E24, 0.05)),
            "R1 = Trimmer 100 Ohm (0 Ohm … 100 Ohm, nötig 1 Ohm)");
  const ChipFamily& ne555 = kChipFamilies[0];
  EXPECT_EQ(trimmerText("R1", 130, TrimmerError::BelowFloor, trimmerFloor("R1", 100, ne555, true)),
            "R1: nötig 130 Ohm; mit einem Festwiderstand ab 1 k Ohm (kleinster Wert für R1 beim "
            "NE555) ist das nicht zu erreichen.");
  EXPECT_EQ(trimmerText("R2", 130, TrimmerError::BelowFloor, trimmerFloor("R2", 100, ne555, false)),
            "R2: nötig 130 Ohm; mit einem Festwiderstand ab R min = 100 Ohm ist das nicht zu "
            "erreichen.");
  EXPECT_EQ(trimmerFloor("R1", 2e3, ne555, true).ohms, 2e3);
}

// What the lines suspect, at the edges of each rule.
struct LineRow {
  const char* name;
  double ratio, k;  // c1eff / c1, and k
  bool monostable;
  Circuit circuit;
  bool electrolytic;
  double resistor;
  std::vector<std::string> suspicions;  // the lines after the first (astable: second)
};

class ReadingLines : public ::testing::TestWithParam<LineRow> {};

TEST_P(ReadingLines, NameTheSuspects) {
  const LineRow& p = GetParam();
  Reading r;
  r.c1eff = 1e-6 * p.ratio;
  r.k = p.k;
  r.teinModel = 0.5;
  ReadingContext x;
  x.monostable = p.monostable;
  x.c1 = 1e-6;
  x.resistor = p.resistor;
  x.circuit = p.circuit;
  x.electrolytic = p.electrolytic;
  const std::vector<std::string> lines = readingLines(r, x);
  const std::vector<std::string> rest(lines.begin() + (p.monostable ? 1 : 2), lines.end());
  EXPECT_EQ(rest, p.suspicions);
}

const Circuit kPlain{false, kIdealDiode, 9};
const std::string kFirstPeriod =
    "Wurde die erste Periode gemessen? Sie lädt C1 von 0 V an und dauert etwa 1.58-mal so lang. "
    "Sonst R1, die Diode und Ub prüfen.";
const std::string kSuspects = "R1, die Diode und Ub prüfen.";
const std::string kLater =
    " gilt das Ergebnis nur bei der Temperatur und der Versorgung der Messung: ";

INSTANTIATE_TEST_SUITE_P(
    Rules, ReadingLines,
    ::testing::Values(
        LineRow{"AllFits", 1, 1, false, kPlain, false, 68e3, {}},
        LineRow{"CapacitorAtHalf", 0.5, 1, false, kPlain, false, 68e3, {}},
        LineRow{"CapacitorBelowHalf",
                0.499,
                1,
                false,
                kPlain,
                false,
                68e3,
                {"Das gemessene t-AUS passt nicht zu C1 = 1 uF: ist C1 richtig bestückt, stimmt "
                 "der Messwert?"}},
        LineRow{"CapacitorAboveTwiceMonostable",
                2.01,
                1,
                true,
                kPlain,
                false,
                68e3,
                {"Das gemessene t passt nicht zu C1 = 1 uF: ist C1 richtig bestückt, stimmt der "
                 "Messwert?"}},
        LineRow{"KAtItsUpperLimit", 1, 1.5, false, kPlain, false, 68e3, {}},
        LineRow{"KAtItsLowerLimit", 1, 0.67, false, kPlain, false, 68e3, {}},
        LineRow{"KTheFirstPeriod",
                1,
                1.6,
                false,
                kPlain,
                false,
                68e3,
                {"t-EIN ist 1.60-mal so lang wie berechnet: " + kFirstPeriod}},
        LineRow{"KAtTheFirstPeriodsEdge",
                1,
                1.75,
                false,
                kPlain,
                false,
                68e3,
                {"t-EIN ist 1.75-mal so lang wie berechnet: " + kFirstPeriod}},
        LineRow{"KBeyondTheFirstPeriod",
                1,
                1.76,
                false,
                kPlain,
                false,
                68e3,
                {"t-EIN ist 1.76-mal so lang wie berechnet: " + kSuspects}},
        LineRow{"KFarTooShort",
                1,
                0.5,
                false,
                kPlain,
                false,
                68e3,
                {"t-EIN ist 0.50-mal so lang wie berechnet: " + kSuspects}},
        LineRow{"KTinyInFourDigits",
                1,
                0.0011234,
                false,
                kPlain,
                false,
                68e3,
                {"t-EIN ist 0.0011-mal so lang wie berechnet: " + kSuspects}},
        LineRow{"Schottky",
                1,
                1,
                false,
                Circuit{true, kDiodes[2], 9},
                false,
                68e3,
                {"Mit der Schottky-Diode 1N5817" + kLater +
                 "ihr Sperrstrom hängt stark von beiden ab."}},
        LineRow{"ElectrolyticAtOneMegohm", 1, 1, false, kPlain, true, 1e6, {}},
        LineRow{"ElectrolyticAboveOneMegohm",
                1,
                1,
                true,
                kPlain,
                true,
                1.2e6,
                {"Mit einem Elko und R über 1 M Ohm" + kLater +
                 "sein Leckstrom hängt stark von beiden ab."}}),
    testing::RowName());

// Past a tenfold change the lines say so in words, however far: no 300-digit percentage, no inf.
TEST(ReadingLines, SayTenfoldInWords) {
  Reading r;
  r.c1eff = 1e294;
  r.k = 1e308;
  r.teinModel = 0.5;
  ReadingContext x;
  x.c1 = 1e-6;
  const std::vector<std::string> lines = readingLines(r, x);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "C1 wirkt wie 1E+294 F (mehr als das Zehnfache von 1 uF).");
  EXPECT_EQ(lines[1], "t-EIN ist mehr als zehnmal so lang wie mit diesem C1 berechnet (500.0 ms).");
  EXPECT_EQ(lines[3], "t-EIN ist 1E+308-mal so lang wie berechnet: " + kSuspects);
}

// The replacement resistors come from the same search as the standard-values window's, with
// C1 fixed at the value it acts like and t-EIN divided by k: the fast search equals the
// exhaustive one there too, for the pulse as well.
TEST(RemeasureSearch, EqualsTheExhaustiveSearch) {
  std::mt19937_64 rng(20261222);
  auto uniform = [&rng](double a, double b) { return std::uniform_real_distribution<>(a, b)(rng); };
  int compared = 0;
  for (int n = 0; n < 60; ++n) {
    StandardSearch q;
    q.diode = n % 2 == 0;
    q.diodeModel = kDiodes[static_cast<std::size_t>(n % 4)];
    q.ub = uniform(4.5, 15);
    q.resistorSeries = n % 3 == 0 ? Series::E12 : Series::E6;
    q.rMin = std::pow(10.0, uniform(2.5, 3.5));
    q.rMax = q.rMin * std::pow(10.0, uniform(1.5, 3));
    q.fixed = FixedPart::C1;
    q.fixedValue = std::pow(10.0, uniform(-9, -5));  // as C1 acts, no standard value
    q.taus = kTiming * std::sqrt(q.rMin * q.rMax) * q.fixedValue * uniform(0.5, 2);
    q.tein = q.taus * uniform(1.1, 4) / uniform(0.8, 1.3);  // divided by k
    q.resistorTolerance = 0.05;
    const StandardSets fast = searchStandardSets(q), every = searchStandardSetsExhaustive(q);
    ASSERT_EQ(fast.ok(), every.ok()) << "case " << n;
    if (fast.ok()) {
      ASSERT_EQ(fast.value(), every.value()) << "case " << n;
      ++compared;
    }
    PulseSearch p{q.tein, q.resistorSeries, q.rMin, q.rMax};
    p.fixedC1 = q.fixedValue;
    const PulsePairs fastPairs = searchPulsePairs(p), everyPair = searchPulsePairsExhaustive(p);
    ASSERT_EQ(fastPairs.ok(), everyPair.ok()) << "case " << n;
    if (fastPairs.ok()) {
      ASSERT_EQ(fastPairs.value(), everyPair.value()) << "case " << n;
      for (const PulsePair& pair : fastPairs.value()) EXPECT_EQ(pair.c1, p.fixedC1);
    }
  }
  EXPECT_GT(compared, 45);
}

}  // namespace
}  // namespace kippwerk
