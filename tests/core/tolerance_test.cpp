// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/tolerance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/timing.h"
#include "tests/core/test_support.h"

namespace kippwerk {
namespace {

struct SpreadRow {
  const char* name;
  double r1, r2, c1;
  bool diode;
  double tolR, tolC;
  Spread tein, taus, tperiode, duty;
};

class ToleranceSpreads : public ::testing::TestWithParam<SpreadRow> {};

// Worked by hand from the corners with the main window's 0.69, which the ideal chip's ln 2
// replaces: t-EIN is lowest with every part low, the duty cycle is extreme with R1 and R2 at
// opposite limits, whatever C1 does.
TEST_P(ToleranceSpreads, ReachTheWorstCornerOfEveryQuantity) {
  const SpreadRow& r = GetParam();
  const ToleranceSpread s = toleranceSpread(r.r1, r.r2, r.c1, r.diode, r.tolR, r.tolC);
  const double k = std::log(2.0) / 0.69;
  auto near = [](const Spread& got, const Spread& want, double scale) {
    EXPECT_NEAR(got.low, scale * want.low, want.low * 1e-12);
    EXPECT_NEAR(got.high, scale * want.high, want.high * 1e-12);
  };
  near(s.tein, r.tein, k);
  near(s.taus, r.taus, k);
  near(s.tperiode, r.tperiode, k);
  near(s.frequenz, {1 / r.tperiode.high, 1 / r.tperiode.low}, 1 / k);
  near(s.duty, r.duty, 1);
  near(s.edges[3], {2 * r.tperiode.low, 2 * r.tperiode.high}, k);
}

INSTANTIATE_TEST_SUITE_P(HandWorked, ToleranceSpreads,
                         ::testing::Values(SpreadRow{"WithoutDiode",
                                                     1e3,
                                                     1e3,
                                                     1e-6,
                                                     false,
                                                     0.1,
                                                     0.1,
                                                     {1.1178e-3, 1.6698e-3},
                                                     {0.5589e-3, 0.8349e-3},
                                                     {1.6767e-3, 2.5047e-3},
                                                     {2000.0 / 3100, 2000.0 / 2900}},
                                           SpreadRow{"WithDiode",
                                                     2e3,
                                                     1e3,
                                                     1e-6,
                                                     true,
                                                     0.05,
                                                     0.2,
                                                     {1.0488e-3, 1.7388e-3},
                                                     {0.5244e-3, 0.8694e-3},
                                                     {1.5732e-3, 2.6082e-3},
                                                     {1900.0 / 2950, 2100.0 / 3050}},
                                           SpreadRow{"NoTolerance",
                                                     1e3,
                                                     1e3,
                                                     1e-6,
                                                     false,
                                                     0,
                                                     0,
                                                     {1.38e-3, 1.38e-3},
                                                     {0.69e-3, 0.69e-3},
                                                     {2.07e-3, 2.07e-3},
                                                     {2.0 / 3, 2.0 / 3}}),
                         testing::RowName());

TEST(ToleranceText, GivesFiveLinesAgainstTheDesiredTimes) {
  const ToleranceSpread s = toleranceSpread(1e3, 1e3, 1e-6, false, 0.1, 0.1);
  EXPECT_EQ(toleranceText(s, 1.38e-3 / 0.69 * std::log(2.0), 0.69e-3 / 0.69 * std::log(2.0)),
            "t-EIN: 1.123 ms … 1.677 ms (-19.00 % … +21.00 %)\n"
            "t-AUS: 561.4 us … 838.7 us (-19.00 % … +21.00 %)\n"
            "t-Periode: 1.684 ms … 2.516 ms (-19.00 % … +21.00 %)\n"
            "Frequenz: 397.4 Hz … 593.7 Hz (-17.36 % … +23.46 %)\n"
            "Tastgrad: 64.5 % … 69.0 % (Soll 66.7 %)");
}

// A random point inside the tolerance box never leaves the spreads, and each end of each
// spread is what one of the corners gives.
TEST(ToleranceSpreadProperty, HoldsEveryPointOfTheBoxAndEndsAtCorners) {
  std::mt19937_64 rng(1208);
  auto uniform = [&rng](double a, double b) { return std::uniform_real_distribution<>(a, b)(rng); };
  auto quantities = [](const AstableTimes& t) {
    const double period = t.tein + t.taus;
    return std::array<double, 5>{t.tein, t.taus, period, 1 / period, t.tein / period};
  };
  for (int n = 0; n < 500; ++n) {
    const double r1 = std::pow(10, uniform(2, 6)), r2 = std::pow(10, uniform(2, 6));
    const double c1 = std::pow(10, uniform(-10, -4));
    const double tolR = uniform(0, 0.2), tolC = uniform(0, 0.2);
    // The chip too: its switch makes t-AUS fall with R1.
    const Circuit circuit{n % 2 == 0, kDiodes[static_cast<std::size_t>(n % 4)], 9, kModelKelvin,
                          kChipFamilies[static_cast<std::size_t>(n % 3)].chip(9)};
    const ToleranceSpread s = toleranceSpread(r1, r2, c1, circuit, tolR, tolC);
    const Spread spreads[] = {s.tein, s.taus, s.tperiode, s.frequenz, s.duty};
    auto at = [&](double a, double b, double c) {
      return quantities(astableTimes(circuit, r1 * a, r2 * b, c1 * c));
    };
    const auto inside =
        at(1 + uniform(-tolR, tolR), 1 + uniform(-tolR, tolR), 1 + uniform(-tolC, tolC));
    std::array<bool, 5> lowReached{}, highReached{};
    for (int corner = 0; corner < 8; ++corner) {
      const auto q = at(corner & 1 ? 1 + tolR : 1 - tolR, corner & 2 ? 1 + tolR : 1 - tolR,
                        corner & 4 ? 1 + tolC : 1 - tolC);
      for (std::size_t i = 0; i < 5; ++i) {
        lowReached[i] = lowReached[i] || std::fabs(q[i] - spreads[i].low) <= 1e-12 * q[i];
        highReached[i] = highReached[i] || std::fabs(q[i] - spreads[i].high) <= 1e-12 * q[i];
      }
    }
    for (std::size_t i = 0; i < 5; ++i) {
      EXPECT_GE(inside[i], spreads[i].low * (1 - 1e-12)) << "case " << n << ", quantity " << i;
      EXPECT_LE(inside[i], spreads[i].high * (1 + 1e-12)) << "case " << n << ", quantity " << i;
      EXPECT_TRUE(lowReached[i] && highReached[i]) << "case " << n << ", quantity " << i;
    }
  }
}

}  // namespace
}  // namespace kippwerk
