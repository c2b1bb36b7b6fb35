// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/realspread.h"
#include "core/passrate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/core/test_support.h"

namespace kippwerk {
namespace {

const CapacitorType& type(std::string_view name) {
  for (const CapacitorType& t : kCapacitorTypes) {
    if (t.name.find(name) != std::string_view::npos) return t;
  }
  return kCapacitorTypes.front();
}

struct SpreadCase {
  const char* name;
  bool monostable;
  int family;
  double ub, r1, r2, c1, tolR, tolC;
  const char* capacitor;
  double tMin, tMax, u;
  Spread tein, taus;
  std::array<double, 5> shares;  // resistors, capacitor tolerance, its drift, supply, timer
  double leakage = 0.0;          // an electrolytic's share, between its drift and the supply
};

TimerDesign designOf(const SpreadCase& c) {
  TimerDesign d;
  d.monostable = c.monostable;
  d.r1 = c.r1;
  d.r2 = c.r2;
  d.c1 = c.c1;
  d.circuit = Circuit{false, kIdealDiode, c.ub};
  d.resistorTolerance = c.tolR;
  d.capacitorTolerance = c.tolC;
  const ChipFamily& f = kChipFamilies[static_cast<std::size_t>(c.family)];
  d.error = c.monostable ? f.monostable : f.astable;
  return d;
}

class WorstCases : public ::testing::TestWithParam<SpreadCase> {};

// Without a diode and with the ideal chip every time is a product, so the worst case is worked
// out by trying all 512 corners of R1, R2, C1, tk, the chip's three errors, T and the supply (a
// separate script, with the main window's 0.69 and 1.1: here they are ln 2 and ln 3).
TEST_P(WorstCases, ReachEveryCornerAndNameEachCause) {
  const SpreadCase& c = GetParam();
  const Surroundings around{type(c.capacitor), c.tMin, c.tMax, c.u};
  const RealSpread s = realSpread(designOf(c), around);
  const double k = c.monostable ? std::log(3.0) / 1.1 : std::log(2.0) / 0.69;
  EXPECT_NEAR(s.tein.low, k * c.tein.low, c.tein.low * 1e-10);
  EXPECT_NEAR(s.tein.high, k * c.tein.high, c.tein.high * 1e-10);
  if (!c.monostable) {
    EXPECT_NEAR(s.taus.low, k * c.taus.low, c.taus.low * 1e-10);
    EXPECT_NEAR(s.taus.high, k * c.taus.high, c.taus.high * 1e-10);
  }
  const std::vector<Contribution> got = contributions(designOf(c), around);
  std::vector<std::pair<Cause, double>> want{{Cause::Resistors, c.shares[0]},
                                             {Cause::CapacitorTolerance, c.shares[1]},
                                             {Cause::CapacitorDrift, c.shares[2]},
                                             {Cause::Supply, c.shares[3]},
                                             {Cause::Timer, c.shares[4]}};
  if (c.leakage > 0.0) want.insert(want.begin() + 3, {Cause::Leakage, c.leakage});
  ASSERT_EQ(got.size(), want.size());  // no diode
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].cause, want[i].first);
    EXPECT_NEAR(got[i].share, want[i].second, 1e-12) << causeName(want[i].first, c.monostable);
  }
}

INSTANTIATE_TEST_SUITE_P(
    HandWorked, WorstCases,
    ::testing::Values(SpreadCase{"AstableNe555C0G",
                                 false,
                                 0,
                                 9,
                                 100e3,
                                 47e3,
                                 1e-6,
                                 0.05,
                                 0.1,
                                 "C0G",
                                 0,
                                 70,
                                 0.05,
                                 {0.0839554438452, 0.120899484752},
                                 {0.0268428970117, 0.0386549373017},
                                 {0.05, 0.1, 0.00135, 0.00135, 0.02925}},
                      SpreadCase{"AstableCmosX7R",
                                 false,
                                 1,
                                 12,
                                 22e3,
                                 10e3,
                                 100e-9,
                                 0.01,
                                 0.05,
                                 "X7R",
                                 -40,
                                 85,
                                 0.1,
                                 {0.00184207702867, 0.00261387208065},
                                 {0.000575649071458, 0.000816835025203},
                                 {0.01, 0.05, 0.0975, 0.0012, 0.015525}},
                      SpreadCase{"AstableNe555PPFixedSupply",
                                 false,
                                 0,
                                 5,
                                 1e6,
                                 1e6,
                                 10e-9,
                                 0.02,
                                 0.02,
                                 "PP",
                                 -20,
                                 50,
                                 0.0,
                                 {0.0128249550056, 0.0149437240814},
                                 {0.00641247750281, 0.00747186204071},
                                 {0.02, 0.02, 0.01125, 0, 0.02925}},
                      SpreadCase{"AstableNe555Elko",
                                 false,
                                 0,
                                 15,
                                 10e3,
                                 4.7e3,
                                 470e-6,
                                 0.05,
                                 0.2,
                                 "Elko",
                                 10,
                                 40,
                                 0.05,
                                 // Its leakage (47 uA, none to all) lengthens t-EIN and
                                 // shortens t-AUS: closed forms with a constant current.
                                 {3.39305933389, 7.19700093058},
                                 {1.05138986743, 2.04632165761},
                                 {0.05, 0.2, 0.0375, 0.00225, 0.02475},
                                 0.0768280259702},
                      // Warm, so the film's largest change is a loss: -250 ppm/K over 55 K.
                      SpreadCase{"AstableNe555PPWarm",
                                 false,
                                 0,
                                 12,
                                 47e3,
                                 22e3,
                                 2.2e-6,
                                 0.01,
                                 0.05,
                                 "PP",
                                 30,
                                 80,
                                 0.05,
                                 {0.0939929342139, 0.114063689103},
                                 {0.0299687616334, 0.0363681327575},
                                 {0.01, 0.05, 0.01375, 0.0018, 0.03075}},
                      SpreadCase{"MonostableNe555PET",
                                 true,
                                 0,
                                 9,
                                 100e3,
                                 0,
                                 4.7e-6,
                                 0.05,
                                 0.1,
                                 "PET",
                                 0,
                                 70,
                                 0.05,
                                 {0.429218084666, 0.623767250857},
                                 {},
                                 {0.05, 0.1, 0.0315, 0.00045, 0.01225}},
                      SpreadCase{"MonostableCmosX7RAt5V",
                                 true,
                                 1,
                                 5,
                                 47e3,
                                 0,
                                 1e-6,
                                 0.01,
                                 0.1,
                                 "X7R",
                                 -55,
                                 125,
                                 0.1,
                                 {0.0385383038288, 0.0670948634538},
                                 {},
                                 {0.01, 0.1, 0.15, 0.0005, 0.015}}),
    testing::RowName());

// The worked case with the 1N4148 (its forward voltage and reverse current at each
// temperature): 150 k, 68 k, 4.7 uF at 9 V, NE555, film (PET), 0 to 70 degrees C, Ub +- 5 %.
TimerDesign workedDesign() {
  TimerDesign d;
  d.r1 = 150e3;
  d.r2 = 68e3;
  d.c1 = 4.7e-6;
  d.circuit = Circuit{true, kDiodes[0], 9, kModelKelvin, kChipFamilies[0].chip(9)};
  d.resistorTolerance = 0.05;
  d.capacitorTolerance = 0.1;
  d.error = kChipFamilies[0].astable;
  d.family = kChipFamilies[0];
  return d;
}

TEST(RealSpread, GivesTheWorkedCaseWithTheDiode) {
  const TimerDesign d = workedDesign();
  const Surroundings around;
  EXPECT_EQ(realSpreadText(realSpread(d, around), false, 0.54, 0.22),
            "t-EIN: 436.7 ms … 660.9 ms (-19.13 % … +22.39 %)\n"
            "t-AUS: 182.5 ms … 278.0 ms (-17.02 % … +26.35 %)");
  const std::vector<Contribution> got = contributions(d, around);
  const std::pair<Cause, double> want[] = {
      {Cause::Resistors, 0.0496}, {Cause::CapacitorTolerance, 0.1}, {Cause::CapacitorDrift, 0.0315},
      {Cause::Diode, 0.0252},     {Cause::Supply, 0.0050},          {Cause::Timer, 0.0354}};
  ASSERT_EQ(got.size(), std::size(want));
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].cause, want[i].first);
    EXPECT_NEAR(got[i].share, want[i].second, 0.00005) << causeName(want[i].first, false);
  }
  EXPECT_EQ(largestCauseText(got, false),
            "Größter Anteil: Kondensator-Toleranz (± 10.00 % der Periode)");
  const std::optional<PassRate> rate = passRate(d, around, 0.54, 0.22, 0.1);
  ASSERT_TRUE(rate.has_value());
  // With the seed fixed the rate is exact: every corner of every board counts.
  EXPECT_EQ(rate->rate, 0.6285);
  EXPECT_EQ(rate->deviations.size(), static_cast<std::size_t>(kBoards));
  // The same boards from the same seed.
  EXPECT_EQ(passRate(d, around, 0.54, 0.22, 0.1)->deviations, rate->deviations);
  EXPECT_EQ(passRateText(0.664, 0.1, around, kBoards),
            "Ausbeute: 66.4 % innerhalb ± 10 % bei 0 … 70 °C und Ub ± 5 % (10 000 Schaltungen)");
}

// The diode's spread between parts alone (27 degrees C, nothing else varying, the ideal
// chip): the worst case spans the times at both ends of the saturation current, worked out
// apart from the program by tools/chip_reference.py. The Schottky's t-AUS, carried by its
// reverse current, spans more than a factor of six.
struct BatchCase {
  const char* name;
  std::size_t diode;
  double ub, r1, r2, c1;
  Spread tein, taus;
};

class DiodeBatch : public ::testing::TestWithParam<BatchCase> {};

TEST_P(DiodeBatch, SpansBothEndsOfTheSaturationCurrent) {
  const BatchCase& c = GetParam();
  TimerDesign d;
  d.r1 = c.r1;
  d.r2 = c.r2;
  d.c1 = c.c1;
  d.circuit = Circuit{true, kDiodes[c.diode], c.ub};
  const Surroundings still{{"fest", 0.0, 0.0}, 27.0, 27.0, 0.0};
  const RealSpread s = realSpread(d, still);
  for (auto [got, want] : {std::pair{s.tein, c.tein}, std::pair{s.taus, c.taus}}) {
    EXPECT_NEAR(got.low, want.low, want.low * 2e-6);
    EXPECT_NEAR(got.high, want.high, want.high * 2e-6);
  }
  const std::vector<Contribution> causes = contributions(d, still);
  const auto diode = std::find_if(causes.begin(), causes.end(),
                                  [](const Contribution& x) { return x.cause == Cause::Diode; });
  ASSERT_NE(diode, causes.end());
  // The group holds the spread: at least as much as either end at this temperature moves the
  // period from its nominal.
  const AstableTimes nominal = d.times(1, 1, d.c1, c.ub, kNominalCelsius);
  const double period = nominal.tein + nominal.taus;
  EXPECT_GE(diode->share, std::max(std::fabs((s.tein.high + s.taus.high) / period - 1.0),
                                   std::fabs((s.tein.low + s.taus.low) / period - 1.0)) -
                              1e-9);
}

INSTANTIATE_TEST_SUITE_P(ChipReference, DiodeBatch,
                         ::testing::Values(BatchCase{"Schottky",
                                                     2,
                                                     9,
                                                     150e3,
                                                     680e3,
                                                     1e-6,
                                                     {0.1041879963, 0.1051440169},
                                                     {0.02807761842, 0.1813330425}},
                                           BatchCase{"Silicon",
                                                     0,
                                                     5,
                                                     10e3,
                                                     10e3,
                                                     1e-6,
                                                     {0.00873350123, 0.008902492882},
                                                     {0.006931358408, 0.006931421406}}),
                         testing::RowName());

TEST(CapacitorRating, TakesTheNextUsualRatingAtOrAboveTheSupply) {
  const std::pair<double, double> rows[] = {{5, 6.3},   {6.3, 6.3},  {6.31, 10},
                                            {9.45, 10}, {15.75, 16}, {16.8, 25},
                                            {30, 35},   {450, 450},  {500, 500}};
  for (const auto& [ub, rating] : rows) EXPECT_EQ(capacitorRating(ub), rating) << ub;
}

TEST(LargestCause, NamesTheMonostablesPartsAndItsTime) {
  const std::vector<Contribution> causes{{Cause::Resistors, 0.07}, {Cause::Timer, 0.0225}};
  EXPECT_EQ(largestCauseText(causes, true), "Größter Anteil: Widerstand (± 7.00 % der Zeit)");
}

// Only the capacitor varies, uniformly within +- 10 %, against a limit of +- 5 %: half the
// boards pass; 10 000 boards give that within 3 standard deviations (0.5 % each). Every
// deviation lies within the tolerance, and the boards fall on both sides alike.
TEST(PassRate, HitsARateWorkedOutExactly) {
  TimerDesign d;
  d.r1 = 100e3;
  d.r2 = 47e3;
  d.c1 = 1e-6;
  d.capacitorTolerance = 0.1;
  const Surroundings still{{"fest", 0.0, 0.0}, 25.0, 25.0, 0.0};
  const AstableTimes exact = astableTimes(Circuit{}, 100e3, 47e3, 1e-6);
  const double tein = exact.tein, taus = exact.taus;
  const std::optional<PassRate> r = passRate(d, still, tein, taus, 0.05);
  ASSERT_TRUE(r.has_value());
  EXPECT_NEAR(r->rate, 0.5, 0.015);
  int above = 0;
  for (double v : r->deviations) {
    EXPECT_LE(std::fabs(v), 0.1 + 1e-12);
    above += v > 0 ? 1 : 0;
  }
  EXPECT_NEAR(above / double(kBoards), 0.5, 0.015);
  // A limit beyond every deviation passes every board, one of 0 none.
  EXPECT_EQ(passRate(d, still, tein, taus, 0.1000001)->rate, 1.0);
  EXPECT_EQ(passRate(d, still, tein, taus, 0.0)->rate, 0.0);
  // A board exactly at the limit holds it: with nothing varying, every board hits the times.
  d.capacitorTolerance = 0.0;
  EXPECT_EQ(passRate(d, still, tein, taus, 0.0)->rate, 1.0);
}

// Boards alike in everything (no tolerances, a fixed tk, an exact chip), tried at the four
// corners: a limit just below one corner's deviation fails every board there and only there.
TEST(PassRate, TriesEachOfTheFourCorners) {
  TimerDesign d = workedDesign();
  d.resistorTolerance = d.capacitorTolerance = 0.0;
  d.circuit.model.batchSpread = 1.0;
  d.error = {};
  d.family.reset();
  // The capacitor's drift outweighs the diode's: t-EIN is longest when hot with the supply low,
  // and wanted short enough for that to count most.
  const Surroundings around{{"fest", 1500e-6, 1500e-6}, 0.0, 70.0, 0.05};
  const double tein = 0.52, taus = 0.2204;
  std::vector<double> deviations;
  for (double celsius : {around.tMin, around.tMax}) {
    for (double ub : {9 * 0.95, 9 * 1.05}) {
      const auto t = d.times(1, 1, d.c1 * (1 + 1500e-6 * (celsius - 25)), ub, celsius);
      deviations.push_back(std::max(std::fabs(t.tein / tein - 1), std::fabs(t.taus / taus - 1)));
    }
  }
  for (std::size_t corner = 0; corner < 4; ++corner) {
    std::vector<double> others = deviations;
    others.erase(others.begin() + static_cast<std::ptrdiff_t>(corner));
    const double beyondOthers = *std::max_element(others.begin(), others.end());
    if (deviations[corner] <= beyondOthers) continue;  // not this corner's alone
    const double limit = 0.5 * (deviations[corner] + beyondOthers);
    EXPECT_EQ(passRate(d, around, tein, taus, limit, {.boards = 100})->rate, 0.0) << corner;
    EXPECT_EQ(passRate(d, around, tein, taus, deviations[corner] * 1.000001, {.boards = 100})->rate,
              1.0);
  }
  // The hot end with the low supply lengthens t-EIN most: that corner fails alone.
  EXPECT_GT(deviations[2], std::max({deviations[0], deviations[1], deviations[3]}));
}

TEST(PassRate, StopsWhenCancelledAndRefusesTimesNotAboveZero) {
  const std::atomic<bool> cancelled{true};
  EXPECT_FALSE(passRate(workedDesign(), {}, 0.54, 0.22, 0.1, {.seed = 1, .cancel = &cancelled}));
  EXPECT_FALSE(passRate(workedDesign(), {}, 0.0, 0.22, 0.1));
  EXPECT_FALSE(passRate(workedDesign(), {}, 0.54, -1, 0.1));
}

// 0.01 uA * C1/uF * U/V at two thirds of Ub, at least 3 uA; only for electrolytics.
struct LeakRow {
  const char* name;
  bool monostable, diode;
  double ub, r1, r2, c1;
  double leakage, charge;  // amperes
};

class Leakages : public ::testing::TestWithParam<LeakRow> {};

TEST_P(Leakages, FollowTheRuleOfThumb) {
  const LeakRow& r = GetParam();
  TimerDesign d;
  d.monostable = r.monostable;
  d.r1 = r.r1;
  d.r2 = r.r2;
  d.c1 = r.c1;
  d.circuit = Circuit{r.diode, kIdealDiode, r.ub};
  const std::optional<Leakage> got = leakageOf(d, type("Elko"));
  ASSERT_TRUE(got.has_value());
  EXPECT_NEAR(got->leakage, r.leakage, r.leakage * 1e-12);
  EXPECT_NEAR(got->charge, r.charge, r.charge * 1e-12);
  EXPECT_FALSE(leakageOf(d, type("PET")).has_value());
}

// With a real diode the charge's last current flows through R1, driven by Ub / 3 less the
// diode's voltage: found here by bisection of vd + R1 * (diode current + vd / R2) = Ub / 3.
TEST(Leakage, ComparesWithTheChargeThroughR1LessTheDiode) {
  TimerDesign d;
  d.r1 = 1e6;
  d.r2 = 1e6;
  d.c1 = 47e-6;
  d.circuit = Circuit{true, kDiodes[0], 12};
  const double nvt = kDiodes[0].n * kThermalVoltage;
  double low = 0, high = 4;
  for (int i = 0; i < 200; ++i) {
    const double vd = (low + high) / 2;
    const double i1 = kDiodes[0].is * std::expm1(vd / nvt) + vd / d.r2;
    (vd + d.r1 * i1 > 4 ? high : low) = vd;
  }
  const std::optional<Leakage> got = leakageOf(d, type("Elko"));
  ASSERT_TRUE(got.has_value());
  EXPECT_NEAR(got->charge, (4 - low) / d.r1, 1e-15);
  EXPECT_LT(got->charge, 4 / d.r1 * 0.95);  // the diode takes a good part
}

INSTANTIATE_TEST_SUITE_P(
    Electrolytic, Leakages,
    ::testing::Values(
        LeakRow{"LargeCapacitor", true, false, 9, 50e3, 0, 100e-6, 6e-6, 6e-5},
        LeakRow{"AtLeastThreeMicroamperes", true, false, 9, 50e3, 0, 1e-6, 3e-6, 6e-5},
        LeakRow{"AstableThroughBothResistors", false, false, 12, 1e6, 1e6, 47e-6, 3.76e-6, 2e-6},
        LeakRow{"IdealDiodeThroughR1", false, true, 12, 1e6, 1e6, 47e-6, 3.76e-6, 4e-6}),
    testing::RowName());

// It matters from a tenth of the charging current on, that tenth included.
TEST(Leakage, MattersFromATenthOfTheChargingCurrent) {
  EXPECT_TRUE((Leakage{6e-6, 6e-5}.matters()));
  EXPECT_FALSE((Leakage{std::nextafter(6e-6, 0.0), 6e-5}.matters()));
  EXPECT_TRUE((Leakage{3e-6, 1e-5}.matters()));
}

// The diode at another temperature, by the simulator rule: the 1N4148 drops 2.0 mV/K at 1 mA,
// the 1N5817's reverse current takes 6 % of t-AUS at 0 degrees C and 87 % at 70.
TEST(DiodeTemperature, FollowsTheSimulatorRule) {
  auto forward = [](double celsius) {
    const Circuit c{true, kDiodes[0], 9, celsius + kKelvinAtZeroCelsius};
    return c.model.n * c.thermalVoltage() * std::log1p(1e-3 / c.saturationCurrent());
  };
  EXPECT_NEAR((forward(27.5) - forward(26.5)) * 1e3, -2.0, 0.05);
  const std::pair<double, double> rows[] = {{0, -0.062}, {27, -0.338}, {70, -0.874}};
  for (const auto& [celsius, change] : rows) {
    const Circuit c{true, kDiodes[2], 9, celsius + kKelvinAtZeroCelsius};
    EXPECT_NEAR(astableTimes(c, 150e3, 68e3, 1).taus / (std::log(2.0) * 68e3) - 1, change, 0.001)
        << celsius;
  }
  EXPECT_EQ(Circuit{}.saturationCurrent(), kIdealDiode.is);
}

}  // namespace
}  // namespace kippwerk
