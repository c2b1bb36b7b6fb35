// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/circuit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/standardsearch.h"
#include "core/timing.h"
#include "core/tolerance.h"
#include "tests/core/test_support.h"

namespace kippwerk {
namespace {

Circuit with(int diode, double ub) {
  return {true, kDiodes[static_cast<std::size_t>(diode)], ub};
}

struct OnTimeRow {
  const char* name;
  Circuit circuit;
  double r1, r2, c1;
  double tein;  // seconds
};

class OnTimes : public ::testing::TestWithParam<OnTimeRow> {};

TEST_P(OnTimes, MatchTheIndependentReference) {
  const OnTimeRow& r = GetParam();
  EXPECT_NEAR(onTime(r.circuit, r.r1, r.r2, r.c1), r.tein, r.tein * 1e-9);
}

// The real diodes' rows come from tools/diode_reference.py, which integrates C1 dv / i over
// the capacitor voltage with the current found by bisection, apart from the program's method.
INSTANTIATE_TEST_SUITE_P(
    Diodes, OnTimes,
    ::testing::Values(
        OnTimeRow{"WithoutDiode", Circuit{false, kDiodes[0], 5}, 820e3, 1e6, 1e-6, 1.2558},
        OnTimeRow{"IdealDiode", with(3, 5), 820e3, 1e6, 1e-6, 0.5658},
        OnTimeRow{"Silicon", with(0, 5), 820e3, 1e6, 1e-6, 0.652018812506},
        OnTimeRow{"Rectifier", with(1, 5), 820e3, 1e6, 1e-6, 0.637465016438},
        OnTimeRow{"Schottky", with(2, 5), 820e3, 1e6, 1e-6, 0.566538651774},
        OnTimeRow{"SchottkyAtMicroamperes", with(2, 9), 1e6, 10e6, 100e-9, 0.0690724693747},
        OnTimeRow{"SiliconAtMilliamperes", with(0, 12), 10e3, 4.7e3, 10e-9, 7.64609458958e-05}),
    testing::RowName());

TEST(OnTime, IsTheTimingPagesFormulaWithTheIdealDiode) {
  for (double r1 : {1.0, 820e3, 3.3e9}) {
    EXPECT_EQ(onTime(with(3, 9), r1, 47e3, 2.2e-6), kTiming * r1 * 2.2e-6);
    EXPECT_EQ(onTime(Circuit{false}, r1, 47e3, 2.2e-6), kTiming * (r1 + 47e3) * 2.2e-6);
  }
}

// Without current through R2 the charge is C1 dv / i with i the diode current alone, integrated
// here over v by Simpson's rule with the diode voltage found by bisection at each v.
TEST(OnTime, WithoutR2CurrentIsTheDiodeChargeIntegral) {
  const double ub = 9, r1 = 100e3, c1 = 1e-6;
  const DiodeModel d = kDiodes[0];
  const double nvt = d.n * kThermalVoltage;
  auto current = [&](double v) {
    double lo = 0, hi = ub - v;
    for (int i = 0; i < 100; ++i) {
      const double vd = (lo + hi) / 2;
      (vd + r1 * d.is * (std::exp(vd / nvt) - 1) > ub - v ? hi : lo) = vd;
    }
    return (ub - v - lo) / r1;
  };
  const int steps = 2000;
  const double h = (ub / 3) / steps;
  double sum = 0;
  for (int k = 0; k <= steps; ++k) {
    const double weight = k == 0 || k == steps ? 1 : k % 2 == 1 ? 4 : 2;
    sum += weight * c1 / current(ub / 3 + k * h);
  }
  const double want = kTiming / std::log(2.0) * sum * h / 3;
  EXPECT_NEAR(onTime(with(0, ub), r1, 1e300, c1), want, want * 1e-8);
}

TEST(OnTime, RisesWithEachPartAndFallsWithTheSupply) {
  const Circuit c = with(0, 9);
  const double t = onTime(c, 100e3, 47e3, 1e-6);
  EXPECT_GT(onTime(c, 101e3, 47e3, 1e-6), t);
  EXPECT_GT(onTime(c, 100e3, 48e3, 1e-6), t);
  EXPECT_GT(onTime(c, 100e3, 47e3, 1.01e-6), t);
  EXPECT_LT(onTime(with(0, 12), 100e3, 47e3, 1e-6), t);
  EXPECT_GT(t, kTiming * 100e3 * 1e-6);
}

// t-EIN rises with every part, so its spread lies between the corners of all low and all high.
TEST(ToleranceSpread, TakesTEinFromTheRealCircuit) {
  const Circuit c = with(0, 5);
  const ToleranceSpread s = toleranceSpread(820e3, 330e3, 1e-6, c, 0.05, 0.1);
  EXPECT_DOUBLE_EQ(s.tein.low, onTime(c, 820e3 * 0.95, 330e3 * 0.95, 1e-6 * 0.9));
  EXPECT_DOUBLE_EQ(s.tein.high, onTime(c, 820e3 * 1.05, 330e3 * 1.05, 1e-6 * 1.1));
  EXPECT_DOUBLE_EQ(s.taus.high, kTiming * 330e3 * 1.05 * 1e-6 * 1.1);
}

// The capacitor voltage goes from Ub / 3 up to 2 Ub / 3 in t-EIN and back in t-AUS.
TEST(CapacitorVoltage, ChargesAndDischargesBetweenTheThresholds) {
  for (const Circuit& c : {Circuit{false, kIdealDiode, 9}, with(3, 9), with(0, 5), with(2, 15)}) {
    const double r1 = 330e3, r2 = 150e3, c1 = 1e-6;
    const auto v = capacitorVoltage(c, r1, r2, c1, 20);
    ASSERT_EQ(v.size(), 39u);
    EXPECT_NEAR(v.front().v, c.ub / 3, 1e-9);
    EXPECT_EQ(v.front().t, 0.0);
    EXPECT_NEAR(v[19].v, 2 * c.ub / 3, 1e-9);
    EXPECT_NEAR(v[19].t, onTime(c, r1, r2, c1), 1e-12);
    EXPECT_NEAR(v.back().v, c.ub / 3, 1e-9);
    EXPECT_NEAR(v.back().t, onTime(c, r1, r2, c1) + kTiming * r2 * c1, 1e-12);
    for (std::size_t i = 1; i < v.size(); ++i) {
      EXPECT_GT(v[i].t, v[i - 1].t);
      EXPECT_EQ(v[i].v > v[i - 1].v, i < 20) << i;
    }
  }
}

struct HintRow {
  const char* name;
  int family;
  Circuit circuit;
  double r1, r2, c1, frequency;
  const char* hints;  // the brief texts joined by ", "
};

class Hints : public ::testing::TestWithParam<HintRow> {};

TEST_P(Hints, NameEachLimitTheSetBreaks) {
  const HintRow& r = GetParam();
  std::string joined;
  const auto hints = astableHints(kChipFamilies[static_cast<std::size_t>(r.family)], r.circuit,
                                  r.r1, r.r2, r.c1, r.frequency);
  for (const Hint& h : hints) {
    joined += (joined.empty() ? "" : ", ") + h.brief;
    EXPECT_FALSE(h.sentence.empty());
  }
  EXPECT_EQ(joined, r.hints);
}

const Circuit kPlain{false, kIdealDiode, 9};

INSTANTIATE_TEST_SUITE_P(
    Families, Hints,
    ::testing::Values(HintRow{"NoneForCommonParts", 0, kPlain, 10e3, 10e3, 10e-9, 5e3, ""},
                      HintRow{"BipolarTooFast", 0, kPlain, 10e3, 10e3, 10e-9, 150e3, "f > 100 kHz"},
                      HintRow{"CmosFastEnough", 1, kPlain, 10e3, 10e3, 10e-9, 150e3, ""},
                      HintRow{"CmosTooFast", 1, kPlain, 10e3, 10e3, 10e-9, 600e3, "f > 500 kHz"},
                      HintRow{"BipolarSmallR1", 0, kPlain, 820, 10e3, 10e-9, 5e3, "R1 < 1 k Ohm"},
                      HintRow{"CmosSmallR1", 1, kPlain, 820, 10e3, 10e-9, 5e3, "R1 < 1 k Ohm"},
                      HintRow{"BipolarLargeResistorsAt9V", 0, kPlain, 5e6, 1.2e6, 10e-9, 5,
                              "R1+R2 > 6.12 M Ohm"},
                      HintRow{"BipolarLargeResistorsAt5V", 0, Circuit{false, kIdealDiode, 5}, 2e6,
                              1.5e6, 10e-9, 5, "R1+R2 > 3.4 M Ohm"},
                      HintRow{"CmosLargeResistors", 1, kPlain, 5e6, 5e6, 10e-9, 5, ""},
                      HintRow{"BipolarSmallC1", 0, kPlain, 10e3, 10e3, 470e-12, 5e3, "C1 < 500 pF"},
                      HintRow{"CmosSmallC1", 1, kPlain, 10e3, 10e3, 180e-12, 5e3, "C1 < 200 pF"},
                      HintRow{"CmosC1AboveItsLimit", 1, kPlain, 10e3, 10e3, 470e-12, 5e3, ""},
                      HintRow{"R2BridgesTheDiode", 0, with(0, 5), 820e3, 22e3, 1e-6, 1,
                              "R2 überbrückt die Diode"},
                      HintRow{"IdealDiodeBridgesNothing", 0, with(3, 5), 820e3, 22e3, 1e-6, 1, ""},
                      // At the end of the charge 56 % and 47 % of the current flow through R2.
                      HintRow{"R2JustBridgesTheDiode", 0, with(0, 5), 820e3, 270e3, 1e-6, 1,
                              "R2 überbrückt die Diode"},
                      HintRow{"R2JustLeavesTheDiode", 0, with(0, 5), 820e3, 330e3, 1e-6, 1, ""},
                      HintRow{"AllInOrder", 0, with(0, 9), 680, 10e6, 100e-12, 2e5,
                              "f > 100 kHz, R1 < 1 k Ohm, R1+R2 > 6.12 M Ohm, C1 < 500 pF"}),
    testing::RowName());

TEST(Hints, GiveTheirReasonAndTheMonostableLimits) {
  const auto hints = astableHints(kChipFamilies[0], kPlain, 5e6, 5e6, 1e-6, 1);
  ASSERT_EQ(hints.size(), 1u);
  EXPECT_EQ(hints[0].sentence,
            "R1+R2 über 6.12 M Ohm: Bei Ub = 9 V reicht der Strom nicht mehr für den "
            "Schwellwerteingang an Pin 6 beim NE555.");
  auto briefs = [](const std::vector<Hint>& list) {
    std::string out;
    for (const Hint& h : list) out += (out.empty() ? "" : ", ") + h.brief;
    return out;
  };
  EXPECT_EQ(briefs(monostableHints(kChipFamilies[0], 9, 820, 470e-12)), "R < 1 k Ohm, C1 < 500 pF");
  EXPECT_EQ(briefs(monostableHints(kChipFamilies[0], 9, 6.8e6, 1e-6)), "R > 6.12 M Ohm");
  EXPECT_EQ(briefs(monostableHints(kChipFamilies[1], 9, 6.8e6, 1e-6)), "");
}

// With a real diode, at several supplies: the fast search gives what every combination gives.
// Small series keep the exhaustive side, which works out each set anew, quick.
TEST(StandardSearchWithTheDiode, EqualsTheExhaustiveSearch) {
  std::mt19937_64 rng(20261215);
  auto uniform = [&rng](double a, double b) { return std::uniform_real_distribution<>(a, b)(rng); };
  int withResults = 0;
  for (int n = 0; n < 120; ++n) {
    StandardSearch q;
    q.diode = true;
    q.diodeModel = kDiodes[static_cast<std::size_t>(n % 4)];
    q.ub = uniform(2, 16);
    q.resistorSeries = n % 3 == 0 ? Series::E12 : Series::E6;
    q.capacitorSeries = Series::E6;
    q.rMin = std::pow(10.0, uniform(2, 4));
    q.rMax = q.rMin * std::pow(10.0, uniform(1, 2.5));
    q.cMin = std::pow(10.0, uniform(-10, -7));
    q.cMax = q.cMin * std::pow(10.0, uniform(1, 3));
    const double typical = kTiming * std::sqrt(q.rMin * q.rMax * q.cMin * q.cMax);
    q.taus = typical * std::pow(10.0, uniform(-1, 1));
    q.tein = q.taus * std::pow(10.0, uniform(-1, 1));
    q.fixed = static_cast<FixedPart>(n % 3);
    q.fixedValue = q.fixed == FixedPart::C1 ? std::sqrt(q.cMin * q.cMax) : q.rMin * 3.3;
    q.resistorTolerance = 0.05;
    q.capacitorTolerance = 0.1;
    const StandardSets fast = searchStandardSets(q);
    const StandardSets every = searchStandardSetsExhaustive(q);
    ASSERT_EQ(fast.ok(), every.ok()) << "case " << n;
    if (!fast.ok()) continue;
    ++withResults;
    ASSERT_EQ(fast.value(), every.value()) << "case " << n;
    for (const StandardSet& s : fast.value()) {
      EXPECT_EQ(s.tein, onTime(q.circuit(), s.r1, s.r2, s.c1)) << "case " << n;
    }
  }
  EXPECT_GT(withResults, 100);
}

}  // namespace
}  // namespace kippwerk
