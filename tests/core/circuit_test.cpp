// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/circuit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
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

struct OffTimeRow {
  const char* name;
  Circuit circuit;
  double r2;
  double taus;  // seconds with 1 uF
};

class OffTimes : public ::testing::TestWithParam<OffTimeRow> {};

TEST_P(OffTimes, MatchTheIndependentReference) {
  const OffTimeRow& r = GetParam();
  EXPECT_NEAR(offTime(r.circuit, r.r2, 1e-6), r.taus, r.taus * 1e-9);
}

// The diode's reverse current beside R2 while C1 discharges; the real diodes' rows from
// tools/diode_reference.py. The Schottky diode's leaks most: -34 % at 68 k Ohm, -83 % at 680 k.
INSTANTIATE_TEST_SUITE_P(
    Diodes, OffTimes,
    ::testing::Values(OffTimeRow{"WithoutDiode", Circuit{false, kDiodes[2], 9}, 68e3, 0.04692},
                      OffTimeRow{"IdealDiode", with(3, 9), 68e3, 0.04692},
                      OffTimeRow{"Silicon", with(0, 9), 68e3, 0.0469180668207},
                      OffTimeRow{"Schottky", with(2, 9), 68e3, 0.0310446500379},
                      OffTimeRow{"SchottkyLargeR2", with(2, 9), 680e3, 0.0780236941235},
                      OffTimeRow{"RectifierAt5V", with(1, 5), 1e6, 0.685812800019},
                      OffTimeRow{"SchottkyAtHalfAVolt", with(2, 0.5), 10e3, 0.00295129264587}),
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

// The diode's voltage weighs less against the larger drop of larger resistors: t-EIN /
// (0.69 R1 C1) with R1 = R2 at 9 V, 1N4148.
TEST(OnTime, LengthensLessWithLargerResistors) {
  const std::pair<double, double> rows[] = {
      {1e3, 1.180}, {10e3, 1.147}, {100e3, 1.115}, {1e6, 1.086}};
  for (const auto& [r, factor] : rows) {
    EXPECT_NEAR(onTimePerFarad(with(0, 9), r, r) / (kTiming * r), factor, 0.0006) << r;
  }
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
  EXPECT_DOUBLE_EQ(s.taus.high, offTime(c, 330e3 * 1.05, 1e-6 * 1.1));
  EXPECT_LT(s.taus.high, kTiming * 330e3 * 1.05 * 1e-6 * 1.1);  // the reverse current
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
    EXPECT_NEAR(v.back().t, onTime(c, r1, r2, c1) + offTime(c, r2, c1), 1e-12);
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
    ::testing::Values(
        HintRow{"NoneForCommonParts", 0, kPlain, 10e3, 10e3, 10e-9, 5e3, ""},
        HintRow{"BipolarTooFast", 0, kPlain, 10e3, 10e3, 10e-9, 150e3, "f > 100 kHz"},
        HintRow{"CmosFastEnough", 1, kPlain, 10e3, 10e3, 10e-9, 150e3, ""},
        HintRow{"CmosTooFast", 1, kPlain, 10e3, 10e3, 10e-9, 600e3, "f > 500 kHz"},
        HintRow{"BipolarSmallR1", 0, kPlain, 820, 10e3, 10e-9, 5e3, "R1 < 1 k Ohm"},
        HintRow{"CmosSmallR1", 1, kPlain, 820, 10e3, 10e-9, 5e3, "R1 < 1 k Ohm"},
        HintRow{"BipolarLargeResistorsAt9V", 0, kPlain, 5e6, 1.2e6, 10e-9, 5, "R1+R2 > 6.12 M Ohm"},
        HintRow{"BipolarLargeResistorsAt5V", 0, Circuit{false, kIdealDiode, 5}, 2e6, 1.5e6, 10e-9,
                5, "R1+R2 > 3.4 M Ohm"},
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
        // With the diode the charge's last current flows through R1 alone, less
        // the diode's voltage: 5.685 M Ohm with R2 = 1 M Ohm at 9 V.
        HintRow{"DiodeLimitsR1Alone", 0, with(0, 9), 6.8e6, 1e6, 10e-9, 5, "R1 > 5.685 M Ohm"},
        HintRow{"DiodeKeepsR1BelowItsLimit", 0, with(0, 9), 5.6e6, 1e6, 10e-9, 5, ""},
        HintRow{"IdealDiodeLimitsR1ByUbAlone", 0, with(3, 9), 6.8e6, 10e6, 10e-9, 5,
                "R1 > 6.12 M Ohm"},
        HintRow{"CmosWithDiodeHasNoThresholdLimit", 1, with(0, 9), 6.8e6, 10e6, 10e-9, 5, ""},
        HintRow{"AllInOrder", 0, kPlain, 680, 10e6, 100e-12, 2e5,
                "f > 100 kHz, R1 < 1 k Ohm, R1+R2 > 6.12 M Ohm, C1 < 500 pF"},
        HintRow{"AllInOrderWithTheDiode", 0, with(0, 9), 680, 100, 100e-12, 2e5,
                "f > 100 kHz, R1 < 1 k Ohm, C1 < 500 pF, R2 überbrückt die Diode"}),
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

// Each limit holds up to and including its value and is broken just beyond it, for both
// families, with and without the diode.
TEST(Hints, StartJustBeyondEachLimit) {
  auto briefs = [](const std::vector<Hint>& list) {
    std::string out;
    for (const Hint& h : list) out += h.brief + ";";
    return out;
  };
  auto has = [](const std::string& all, const std::string& brief) {
    return all.find(brief) != std::string::npos;
  };
  const double up = std::numeric_limits<double>::infinity(), down = 0.0;
  for (const ChipFamily& f : kChipFamilies) {
    for (const Circuit& c : {kPlain, with(0, 9), with(2, 12), with(3, 5)}) {
      const std::string at = briefs(astableHints(f, c, 10e3, 10e3, f.c1Min, f.fMax));
      SCOPED_TRACE(std::string(f.name) + (c.diode ? " with diode" : ""));
      EXPECT_FALSE(has(at, "f >") || has(at, "C1 <")) << at;
      EXPECT_TRUE(
          has(briefs(astableHints(f, c, 10e3, 10e3, f.c1Min, std::nextafter(f.fMax, up))), "f >"));
      EXPECT_TRUE(has(briefs(astableHints(f, c, 10e3, 10e3, std::nextafter(f.c1Min, down), f.fMax)),
                      "C1 <"));
      EXPECT_FALSE(has(briefs(astableHints(f, c, f.r1Min, 10e3, 1e-6, 1)), "R1 <"));
      EXPECT_TRUE(
          has(briefs(astableHints(f, c, std::nextafter(f.r1Min, down), 10e3, 1e-6, 1)), "R1 <"));
      const double r2 = 1e6, limit = thresholdResistanceLimit(f, c, r2);
      if (!std::isfinite(limit)) {
        EXPECT_EQ(f.rSumPerVolt, 0.0);
        continue;
      }
      // Without the diode the limit is on R1 + R2, with it on R1 alone.
      const double r1 = c.diode ? limit : limit - r2;
      ASSERT_EQ(c.diode ? r1 : r1 + r2, limit);
      const std::string brief = c.diode ? "R1 >" : "R1+R2 >";
      EXPECT_FALSE(has(briefs(astableHints(f, c, r1, r2, 1e-6, 1)), brief));
      EXPECT_TRUE(has(briefs(astableHints(f, c, std::nextafter(r1, up), r2, 1e-6, 1)), brief));
    }
    const double ub = 9, rLimit = f.rSumPerVolt * ub;
    EXPECT_EQ(briefs(monostableHints(f, ub, f.r1Min, f.c1Min)), "");
    EXPECT_TRUE(has(briefs(monostableHints(f, ub, std::nextafter(f.r1Min, down), 1e-6)), "R <"));
    EXPECT_TRUE(has(briefs(monostableHints(f, ub, 1e5, std::nextafter(f.c1Min, down))), "C1 <"));
    if (rLimit > 0) {
      EXPECT_EQ(briefs(monostableHints(f, ub, rLimit, 1e-6)), "");
      EXPECT_TRUE(has(briefs(monostableHints(f, ub, std::nextafter(rLimit, up), 1e-6)), "R >"));
    }
  }
}

// The limit with the diode, worked by hand for the 1N4148 at 9 V and R2 = 10 M Ohm: the chip
// needs 1 / (3 * 680 k Ohm) = 490.2 nA; the diode carries 466.3 nA of it at 236.8 mV and R2 the
// rest, so R1 may be (3 V - 236.8 mV) / 490.2 nA = 5.637 M Ohm.
TEST(ThresholdLimit, SubtractsTheDiodesVoltage) {
  EXPECT_NEAR(thresholdResistanceLimit(kChipFamilies[0], with(0, 9), 10e6), 5.637e6, 0.001e6);
  EXPECT_EQ(thresholdResistanceLimit(kChipFamilies[0], kPlain, 10e6), 6.12e6);
  EXPECT_EQ(thresholdResistanceLimit(kChipFamilies[0], with(3, 9), 10e6), 6.12e6);
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
      EXPECT_EQ(s.taus, offTime(q.circuit(), s.r2, s.c1)) << "case " << n;
    }
  }
  EXPECT_GT(withResults, 100);
}

}  // namespace
}  // namespace kippwerk
