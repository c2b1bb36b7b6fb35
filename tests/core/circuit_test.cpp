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

// The diodes with the ideal chip, from tools/chip_reference.py, which finds C1's current at
// each voltage by bisection and integrates over the voltage, apart from the program's method.
struct DiodeRow {
  const char* name;
  Circuit circuit;
  double r1, r2, c1;
  double tein, taus;  // seconds
};

class DiodeTimes : public ::testing::TestWithParam<DiodeRow> {};

TEST_P(DiodeTimes, MatchTheIndependentReference) {
  const DiodeRow& r = GetParam();
  const AstableTimes t = astableTimes(r.circuit, r.r1, r.r2, r.c1);
  EXPECT_NEAR(t.tein, r.tein, r.tein * 1e-9);
  EXPECT_NEAR(t.taus, r.taus, r.taus * 1e-9);
}

// The Schottky diode's reverse current shortens t-AUS most: -34 % at 68 k Ohm, -83 % at 680 k.
INSTANTIATE_TEST_SUITE_P(
    Diodes, DiodeTimes,
    ::testing::Values(
        DiodeRow{"WithoutDiode", Circuit{false, kDiodes[0], 5}, 820e3, 1e6, 1e-6, 1.26152786862,
                 0.69314718056},
        DiodeRow{"IdealDiode", with(3, 5), 820e3, 1e6, 1e-6, 0.568380688059, 0.69314718056},
        DiodeRow{"Silicon", with(0, 5), 820e3, 1e6, 1e-6, 0.654992755885, 0.692392036857},
        DiodeRow{"Rectifier", with(1, 5), 820e3, 1e6, 1e-6, 0.640372578043, 0.68894088221},
        DiodeRow{"Schottky", with(2, 5), 820e3, 1e6, 1e-6, 0.569122708921, 0.0487425915617},
        DiodeRow{"SchottkyAtMicroamperes", with(2, 9), 1e6, 10e6, 100e-9, 0.069387517973,
                 0.00933132742888},
        DiodeRow{"SiliconAtMilliamperes", with(0, 12), 10e3, 4.7e3, 10e-9, 7.68096943052e-05,
                 3.2577847903e-05},
        DiodeRow{"SiliconAt68k", with(0, 9), 150e3, 68e3, 1e-6, 0.115169512001, 0.0471320662813},
        DiodeRow{"SchottkyAt68k", with(2, 9), 150e3, 68e3, 1e-6, 0.104522067746, 0.0311862487612},
        DiodeRow{"SchottkyAt680k", with(2, 9), 150e3, 680e3, 1e-6, 0.104526421382, 0.0783795704327},
        DiodeRow{"SchottkyAtHalfAVolt", with(2, 0.5), 150e3, 10e3, 1e-6, 0.104656544235,
                 0.00296475387898}),
    testing::RowName());

// The chip as built, each family typical: the worked values, from tools/chip_reference.py,
// where a quadrature over C1's voltage and a time-stepping integration agree to 1e-13.
struct ChipRow {
  const char* name;
  int family, diode;  // diode -1: none
  double ub, r1, r2, c1;
  double tein, taus;
};

Circuit chipCircuit(const ChipRow& r) {
  return {r.diode >= 0, r.diode >= 0 ? kDiodes[static_cast<std::size_t>(r.diode)] : kIdealDiode,
          r.ub, kModelKelvin, kChipFamilies[static_cast<std::size_t>(r.family)].chip(r.ub)};
}

class ChipTimes : public ::testing::TestWithParam<ChipRow> {};

TEST_P(ChipTimes, MatchTheIndependentReference) {
  const ChipRow& r = GetParam();
  const AstableTimes t = astableTimes(chipCircuit(r), r.r1, r.r2, r.c1);
  EXPECT_NEAR(t.tein, r.tein, r.tein * 1e-8);
  EXPECT_NEAR(t.taus, r.taus, r.taus * 1e-8);
}

// 9 V, 1 k / 1 k / 10 nF: +7.40 % and +13.54 % against 0.69; the data-sheet points of the CMOS
// families: about 1.0 MHz with 470, 270 Ohm and 200 pF, 2.1 MHz with 470, 200 Ohm and 200 pF.
INSTANTIATE_TEST_SUITE_P(
    WorkedValues, ChipTimes,
    ::testing::Values(
        ChipRow{"SmallResistors", 0, -1, 9, 1e3, 1e3, 10e-9, 1.482128197e-05, 7.834464217e-06},
        ChipRow{"SmallR1", 0, -1, 5, 1e3, 10e3, 10e-9, 7.700459811e-05, 7.274212463e-05},
        ChipRow{"WorkedCase", 0, -1, 9, 150e3, 68e3, 4.7e-6, 0.7106284483, 0.2236480239},
        ChipRow{"WorkedCaseWithDiode", 0, 0, 9, 150e3, 68e3, 4.7e-6, 0.5416855232, 0.2236387348},
        ChipRow{"Megohms", 0, -1, 5, 1e6, 1e6, 1e-6, 1.394585215, 0.7146438821},
        ChipRow{"Fast", 0, -1, 9, 1e3, 2.2e3, 1e-9, 3.014688299e-06, 2.235061924e-06},
        ChipRow{"FastTlc555", 2, -1, 9, 1e3, 2.2e3, 1e-9, 2.45968766e-06, 1.765703573e-06},
        ChipRow{"Cmos7555AtItsDataSheetPoint", 1, -1, 5, 470, 270, 200e-12, 5.484071747e-07,
                4.540710159e-07},
        ChipRow{"Tlc555AtItsDataSheetPoint", 2, -1, 5, 470, 200, 200e-12, 2.86863463e-07,
                1.892725639e-07},
        ChipRow{"SchottkyFast", 0, 2, 12, 10e3, 4.7e3, 10e-9, 7.165026906e-05, 3.267690023e-05},
        ChipRow{"RectifierFast", 0, 1, 5, 2.2e3, 1e3, 1e-9, 2.905020973e-06, 1.292421022e-06}),
    testing::RowName());

TEST(ChipTimes, AreTheLogarithmsWithTheIdealChip) {
  for (double r1 : {1.0, 820e3, 3.3e9}) {
    const AstableTimes plain = astableTimes(Circuit{false}, r1, 47e3, 2.2e-6);
    EXPECT_NEAR(plain.tein, std::log(2.0) * (r1 + 47e3) * 2.2e-6, plain.tein * 1e-14);
    EXPECT_NEAR(plain.taus, std::log(2.0) * 47e3 * 2.2e-6, plain.taus * 1e-14);
    const AstableTimes ideal = astableTimes(with(3, 9), r1, 47e3, 2.2e-6);
    EXPECT_NEAR(ideal.tein, std::log(2.0) * r1 * 2.2e-6, ideal.tein * 1e-14);
    EXPECT_NEAR(pulseTime(Circuit{}, r1, 2.2e-6), std::log(3.0) * r1 * 2.2e-6, r1 * 1e-19);
  }
}

// The monoflop: 9 V, 910 k, 1 uF gives 999.9 ms, 0.01 % short of 1.1 R C1 (ln 3 is 0.13 %
// shorter, the switch, pin 7's leakage and the threshold input add 0.12 %);
// tools/chip_reference.py.
TEST(PulseTime, MatchesTheIndependentReference) {
  const Circuit c{false, kIdealDiode, 9, kModelKelvin, kChipFamilies[0].chip(9)};
  EXPECT_NEAR(pulseTime(c, 910e3, 1e-6), 0.9999253707, 1e-9);
}

// Without its exponential the diode laws, integrated numerically over the diode's voltage, give
// what the closed forms of R2 alone give.
TEST(ChipTimes, ClosedFormsEqualTheNumericIntegration) {
  DiodeModel none = kDiodes[0];
  none.is = 1e-300;
  for (int family = 0; family < 3; ++family) {
    for (double ub : {5.0, 9.0, 15.0}) {
      const ChipModel chip = kChipFamilies[static_cast<std::size_t>(family)].chip(ub);
      const Circuit numeric{true, none, ub, kModelKelvin, chip};
      const Circuit closed{false, kIdealDiode, ub, kModelKelvin, chip};
      for (const auto& [r1, r2, c1] : {std::tuple{1e3, 1e3, 10e-9}, std::tuple{47e3, 4.7e3, 1e-6},
                                       std::tuple{1e6, 2.2e6, 100e-12}}) {
        const AstableTimes a = astableTimes(numeric, r1, r2, c1);
        const AstableTimes b = astableTimes(closed, r1, r2, c1);
        EXPECT_NEAR(a.tein / b.tein, 1.0, 1e-10) << family << " " << ub << " " << r1;
        EXPECT_NEAR(a.taus / b.taus, 1.0, 1e-10) << family << " " << ub << " " << r1;
      }
    }
  }
}

// What each of the chip's figures does: the switch, the delays and pin 7's leakage lengthen
// the period (t-EIN alone may fall with the switch, whose higher discharge end the delay carries
// into the next charge); the comparator inputs' currents move time from one phase to the other,
// the threshold's into t-EIN, the trigger's into t-AUS, and the period either way by less than
// they move.
TEST(ChipTimes, FollowEachFigureOfTheChip) {
  enum What { Period, TeinRises, TausRises };
  using Change = void (*)(ChipModel&, double);
  const std::pair<Change, What> figures[] = {
      {[](ChipModel& k, double x) { k.switchVolts *= x; }, Period},
      {[](ChipModel& k, double x) { k.switchOhms *= x; }, Period},
      {[](ChipModel& k, double x) { k.thresholdDelay *= x; }, Period},
      {[](ChipModel& k, double x) { k.triggerDelay *= x; }, Period},
      {[](ChipModel& k, double x) { k.leakage *= x; }, Period},
      {[](ChipModel& k, double x) { k.thresholdCurrent *= x; }, TeinRises},
      {[](ChipModel& k, double x) { k.triggerCurrent *= x; }, TausRises}};
  for (const Circuit& base : {Circuit{false, kIdealDiode, 9}, with(0, 9), with(2, 9)}) {
    for (const auto& [r1, r2, c1] :
         {std::tuple{1e3, 1e3, 10e-9}, std::tuple{1e6, 1e6, 1e-6}, std::tuple{10e3, 4.7e3, 1e-9}}) {
      for (std::size_t i = 0; i < std::size(figures); ++i) {
        auto times = [&](double x) {
          Circuit c = base;
          c.chip = kChipFamilies[0].chip(9);
          figures[i].first(c.chip, x);
          return astableTimes(c, r1, r2, c1);
        };
        const AstableTimes none = times(0), typical = times(1), more = times(3);
        auto measure = [&](const AstableTimes& t) {
          return figures[i].second == Period      ? t.tein + t.taus
                 : figures[i].second == TeinRises ? t.tein
                                                  : t.taus;
        };
        EXPECT_LT(measure(none), measure(typical)) << i << " " << r1;
        EXPECT_LT(measure(typical), measure(more)) << i << " " << r1;
      }
    }
  }
}

// The diode's voltage weighs less against the larger drop of larger resistors: t-EIN /
// (ln 2 R1 C1) with R1 = R2 at 9 V, 1N4148, ideal chip.
TEST(DiodeTimes, LengthenLessWithLargerResistors) {
  const std::pair<double, double> rows[] = {
      {1e3, 1.180}, {10e3, 1.147}, {100e3, 1.115}, {1e6, 1.086}};
  for (const auto& [r, factor] : rows) {
    EXPECT_NEAR(astableTimes(with(0, 9), r, r, 1e-6).tein / (std::log(2.0) * r * 1e-6), factor,
                0.0006)
        << r;
  }
}

// An R2 of a milliohm and less shorts the diode: every diode, with a real chip, gives the times
// of a nano-ohm down to the smallest resistances, never a negative or a jumping one.
TEST(DiodeTimes, SettleWhereR2ShortsTheDiode) {
  for (const DiodeModel& model : kDiodes) {
    for (double ub : {5.0, 61.5}) {
      Circuit c{true, model, ub};
      c.chip = kChipFamilies[0].chip(15.0);
      const AstableTimes near = astableTimes(c, 1e4, 1e-9, 1e-6);
      for (double r2 : {1e-12, 1e-20, 1e-50, 1e-100, 6.5e-202, 1e-300}) {
        const AstableTimes t = astableTimes(c, 1e4, r2, 1e-6);
        EXPECT_NEAR(t.tein / near.tein, 1.0, 1e-9) << model.name << " " << ub << " V " << r2;
        EXPECT_NEAR(t.taus / near.taus, 1.0, 1e-9) << model.name << " " << ub << " V " << r2;
      }
    }
  }
  // Beside a far larger R1 the diode hardly conducts forward, but its reverse current still
  // shortens the discharge: the Schottky's t-AUS with 1 M Ohm is a ninth of ln 2 R2 C1.
  const Circuit schottky{true, kDiodes[2], 9.0};
  EXPECT_NEAR(astableTimes(schottky, 1e12, 1e6, 1e-6).taus, 0.0829, 0.0001);
}

// t-EIN rises with every part and t-AUS with R2 and C1 but falls with R1, so the spread lies
// between the corners.
TEST(ToleranceSpread, TakesTheTimesFromTheRealCircuit) {
  Circuit c = with(0, 5);
  c.chip = kChipFamilies[0].chip(5);
  const ToleranceSpread s = toleranceSpread(820e3, 330e3, 1e-6, c, 0.05, 0.1);
  EXPECT_DOUBLE_EQ(s.tein.low, astableTimes(c, 820e3 * 0.95, 330e3 * 0.95, 1e-6 * 0.9).tein);
  EXPECT_DOUBLE_EQ(s.tein.high, astableTimes(c, 820e3 * 1.05, 330e3 * 1.05, 1e-6 * 1.1).tein);
  EXPECT_DOUBLE_EQ(s.taus.high, astableTimes(c, 820e3 * 0.95, 330e3 * 1.05, 1e-6 * 1.1).taus);
  EXPECT_DOUBLE_EQ(s.taus.low, astableTimes(c, 820e3 * 1.05, 330e3 * 0.95, 1e-6 * 0.9).taus);
}

// C1's voltage rises from where the discharge ended, below Ub / 3, to beyond 2 Ub / 3 in
// t-EIN, and falls back in t-AUS.
TEST(CapacitorVoltage, RunsBetweenTheLevelsAndTheDelaysOvershoot) {
  for (Circuit c : {Circuit{false, kIdealDiode, 9}, with(3, 9), with(0, 5), with(2, 15)}) {
    for (bool chip : {false, true}) {
      c.chip = chip ? kChipFamilies[0].chip(c.ub) : ChipModel{};
      const double r1 = 3.3e3, r2 = 1.5e3, c1 = 10e-9;
      const auto v = capacitorVoltage(c, r1, r2, c1, 20);
      const AstableTimes t = astableTimes(c, r1, r2, c1);
      ASSERT_EQ(v.size(), 39u);
      EXPECT_EQ(v.front().t, 0.0);
      EXPECT_EQ(v[19].t, t.tein);
      EXPECT_EQ(v.back().t, t.tein + t.taus);
      EXPECT_EQ(v.front().v, v.back().v);
      // Beyond the levels by what the delays let C1 run on; exactly at them without a chip.
      if (chip) {
        EXPECT_LT(v.front().v, c.ub / 3);
        EXPECT_GT(v.front().v, c.ub / 3 * 0.9);
        EXPECT_GT(v[19].v, 2 * c.ub / 3);
        EXPECT_LT(v[19].v, 2 * c.ub / 3 * 1.1);
      } else {
        EXPECT_NEAR(v.front().v, c.ub / 3, 1e-9);
        EXPECT_NEAR(v[19].v, 2 * c.ub / 3, 1e-9);
      }
      for (std::size_t i = 1; i < v.size(); ++i) {
        EXPECT_GT(v[i].t, v[i - 1].t);
        EXPECT_EQ(v[i].v > v[i - 1].v, i < 20) << i;
      }
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
const Circuit kTypical{false, kIdealDiode, 9, kModelKelvin, kChipFamilies[0].chip(9)};

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
        // The 1N4148's junction moves 16 pC, more than 2 % of 100 pF * 3 V.
        HintRow{"AllInOrderWithTheDiode", 0, with(0, 9), 680, 100, 100e-12, 2e5,
                "f > 100 kHz, R1 < 1 k Ohm, C1 < 500 pF, R2 überbrückt die Diode, Diode zu groß"},
        // The chip's delays: 1 k / 2.2 k / 1 nF runs 29 % slow; 100 nF 0.4 %.
        HintRow{"DelaysLengthenThePeriod", 0, kTypical, 1e3, 2.2e3, 1e-9, 190e3,
                "f > 100 kHz, Verzögerung"},
        HintRow{"DelaysHardlyCount", 0, kTypical, 1e3, 2.2e3, 100e-9, 1.9e3, ""},
        // The 1N4001's stored charge against 2 % of C1 Ub / 3, and the 1N5817's junction.
        HintRow{"RectifierTooSlow", 0, with(1, 9), 10e3, 10e3, 10e-9, 5e3, "Diode zu langsam"},
        HintRow{"RectifierWithALargerCapacitor", 0, with(1, 9), 10e3, 10e3, 1e-6, 50, ""},
        HintRow{"SchottkyTooLarge", 0, with(2, 9), 100e3, 100e3, 1e-9, 5e3, "Diode zu groß"},
        HintRow{"SchottkyWithALargerCapacitor", 0, with(2, 9), 100e3, 100e3, 100e-9, 50, ""},
        HintRow{"SiliconFastEnough", 0, with(0, 9), 10e3, 10e3, 1e-9, 50e3, ""}),
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
  EXPECT_EQ(briefs(monostableHints(kChipFamilies[0], kPlain, 820, 470e-12)),
            "R < 1 k Ohm, C1 < 500 pF");
  EXPECT_EQ(briefs(monostableHints(kChipFamilies[0], kPlain, 6.8e6, 1e-6)), "R > 6.12 M Ohm");
  EXPECT_EQ(briefs(monostableHints(kChipFamilies[1], kPlain, 6.8e6, 1e-6)), "");
  // A pulse of microseconds: the delay adds more than 1 %.
  const auto fast = monostableHints(kChipFamilies[0], kTypical, 1e3, 1e-9);
  ASSERT_EQ(briefs(fast), "Verzögerung");
  EXPECT_EQ(
      fast[0].sentence.rfind("Die Verzögerung des Zeitgebers verlängert den Impuls hier um ", 0),
      0u);
  const auto slow = astableHints(kChipFamilies[0], with(1, 9), 10e3, 10e3, 10e-9, 5e3);
  ASSERT_EQ(slow.size(), 1u);
  EXPECT_EQ(slow[0].sentence,
            "Die Diode 1N4001 verschiebt beim Umschalten etwa 1.15 nC gespeicherte Ladung, mehr "
            "als 2 % der Ladung von C1 zwischen den Schwellen; die Zeiten weichen dann ab. Besser "
            "eine 1N4148 oder ein größeres C1.");
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
    EXPECT_EQ(briefs(monostableHints(f, kPlain, f.r1Min, f.c1Min)), "");
    EXPECT_TRUE(
        has(briefs(monostableHints(f, kPlain, std::nextafter(f.r1Min, down), 1e-6)), "R <"));
    EXPECT_TRUE(
        has(briefs(monostableHints(f, kPlain, 1e5, std::nextafter(f.c1Min, down))), "C1 <"));
    if (rLimit > 0) {
      EXPECT_EQ(briefs(monostableHints(f, kPlain, rLimit, 1e-6)), "");
      EXPECT_TRUE(has(briefs(monostableHints(f, kPlain, std::nextafter(rLimit, up), 1e-6)), "R >"));
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

// With a real diode, at several supplies, with each family's chip: the fast search gives what
// every combination gives. Small series keep the exhaustive side, which works out each set
// anew, quick.
TEST(StandardSearchWithTheDiode, EqualsTheExhaustiveSearch) {
  std::mt19937_64 rng(20261215);
  auto uniform = [&rng](double a, double b) { return std::uniform_real_distribution<>(a, b)(rng); };
  int withResults = 0;
  for (int n = 0; n < 120; ++n) {
    StandardSearch q;
    q.diode = true;
    q.diodeModel = kDiodes[static_cast<std::size_t>(n % 4)];
    q.ub = uniform(2, 16);
    q.chip = kChipFamilies[static_cast<std::size_t>(n % 3)].chip(q.ub);
    q.resistorSeries = n % 3 == 0 ? Series::E12 : Series::E6;
    q.capacitorSeries = Series::E6;
    q.rMin = std::pow(10.0, uniform(2, 4));
    q.rMax = q.rMin * std::pow(10.0, uniform(1, 2.5));
    q.cMin = std::pow(10.0, uniform(-10, -7));
    q.cMax = q.cMin * std::pow(10.0, uniform(1, 3));
    const double typical = std::log(2.0) * std::sqrt(q.rMin * q.rMax * q.cMin * q.cMax);
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
      EXPECT_EQ(s.tein, astableTimes(q.circuit(), s.r1, s.r2, s.c1).tein) << "case " << n;
      EXPECT_EQ(s.taus, astableTimes(q.circuit(), s.r1, s.r2, s.c1).taus) << "case " << n;
    }
  }
  EXPECT_GT(withResults, 100);
}

}  // namespace
}  // namespace kippwerk
