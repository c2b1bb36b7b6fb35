// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/passrate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

#include "tests/core/test_support.h"

namespace kippwerk {
namespace {

struct RateCase {
  const char* name;
  bool monostable;
  std::size_t family, diode, capacitor;  // diode 3: none
  double ub, r1, r2, c1, tein, taus, limit;
};

TimerDesign designOf(const RateCase& c) {
  TimerDesign d;
  d.monostable = c.monostable;
  d.r1 = c.r1;
  d.r2 = c.r2;
  d.c1 = c.c1;
  const ChipFamily& f = kChipFamilies[c.family];
  d.circuit = Circuit{c.diode < 3, kDiodes[c.diode], c.ub, kModelKelvin, f.chip(c.ub)};
  d.resistorTolerance = 0.05;
  d.capacitorTolerance = 0.1;
  d.error = c.monostable ? f.monostable : f.astable;
  d.family = f;
  return d;
}

Surroundings around(const RateCase& c) {
  return {kCapacitorTypes[c.capacitor], 0.0, 70.0, 0.05};
}

// A plain Monte Carlo written apart from the program's: its own generator and draws, every
// board worked out at its four corners.
double plainRate(const TimerDesign& d, const Surroundings& s, double tein, double taus,
                 double limit, int boards) {
  std::mt19937_64 rng(77);
  auto u = [&rng](double a, double b) { return std::uniform_real_distribution<>(a, b)(rng); };
  const double ub = d.circuit.ub;
  const std::optional<Leakage> leak = leakageOf(d, s.capacitor);
  const double spread = std::log(d.circuit.model.batchSpread);
  int passed = 0;
  for (int n = 0; n < boards; ++n) {
    const double r1f = u(0.95, 1.05), r2f = u(0.95, 1.05), cf = u(0.9, 1.1);
    const double tk = u(s.capacitor.tkMin, s.capacitor.tkMax);
    const double e0 = u(-1, 1) * d.error.e0Max, drift = u(-1, 1), slope = u(-1, 1) * d.error.sMax;
    BoardVariation v;
    v.chip = {u(0.5, 2.5), u(0, 1), u(0, 1), u(0, 1), u(0, 1)};
    v.diode = d.diodeVaries() ? std::exp(u(-spread, spread)) : 1.0;
    v.leakage = leak ? u(0, leak->leakage) : 0.0;
    bool holds = true;
    for (double celsius : {s.tMin, s.tMax}) {
      for (double supply : {ub * (1 - s.supplyTolerance), ub * (1 + s.supplyTolerance)}) {
        const double dt = celsius - 25.0;
        const double error = 1 + e0 + drift * d.error.dMax(supply) * dt + slope * (supply - ub);
        const AstableTimes t = d.times(r1f, r2f, d.c1 * cf * (1 + tk * dt), supply, celsius, &v);
        holds = holds && std::fabs(error * t.tein / tein - 1) <= limit &&
                (d.monostable || std::fabs(error * t.taus / taus - 1) <= limit);
      }
    }
    passed += holds ? 1 : 0;
  }
  return static_cast<double>(passed) / boards;
}

const RateCase kCases[] = {
    // The worked case: 150 k, 68 k, 4.7 uF with a 1N4148 at 9 V, film.
    {"Worked1N4148", false, 0, 0, 2, 9, 150e3, 68e3, 4.7e-6, 0.54, 0.22, 0.1},
    // The best nominal set for 0.54 s and 0.22 s with a 1N5817: its t-AUS made by the
    // Schottky's reverse current, which doubles every 10 K and spreads tenfold.
    {"SchottkyNominalBest", false, 0, 2, 2, 9, 240e3, 330e3, 3.3e-6, 0.54, 0.22, 0.1},
    // Its counterpart carried by R2, as an electrolytic that leaks.
    {"SchottkyElko", false, 0, 2, 4, 9, 2.2e3, 1e3, 330e-6, 0.54, 0.22, 0.1},
    {"CmosNoDiodeX7R", false, 1, 3, 1, 5, 10e3, 4.7e3, 100e-9, 1.05e-3, 0.33e-3, 0.05},
    {"MonoflopNe555", true, 0, 3, 2, 9, 910e3, 0, 1e-6, 1.0, 0, 0.1},
    {"TlcFastX7R", false, 2, 0, 1, 5, 470, 200, 220e-12, 115e-9, 70e-9, 0.1},
};

class PassRates : public ::testing::TestWithParam<RateCase> {};

// The fits place a board only where they are sure: the rate equals the one of every
// board worked out on the same boards, and each deviation's size lies near its own (within the
// fits' stray, measured on a sample: within twice its bound of 5 %; two corners alike in size may
// trade the sign).
TEST_P(PassRates, EqualEveryBoardWorkedOut) {
  const RateCase& c = GetParam();
  const TimerDesign d = designOf(c);
  const auto screened = passRate(d, around(c), c.tein, c.taus, c.limit, {.boards = 4000});
  const auto every = passRate(d, around(c), c.tein, c.taus, c.limit,
                              {.boards = 4000, .how = Boards::EachWorkedOut});
  // Without the histogram a board stops at its first failing corner: the same rate.
  const auto rateOnly =
      passRate(d, around(c), c.tein, c.taus, c.limit, {.boards = 4000, .deviations = false});
  ASSERT_TRUE(screened && every && rateOnly);
  EXPECT_NEAR(screened->rate, every->rate, 0.5 / 4000 + 1e-12);
  EXPECT_EQ(rateOnly->rate, screened->rate);
  EXPECT_TRUE(rateOnly->deviations.empty());
  ASSERT_EQ(screened->deviations.size(), every->deviations.size());
  for (std::size_t i = 0; i < every->deviations.size(); ++i) {
    ASSERT_NEAR(std::fabs(screened->deviations[i]), std::fabs(every->deviations[i]),
                0.11 * (1 + std::fabs(every->deviations[i])))
        << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Sets, PassRates, ::testing::ValuesIn(kCases), testing::RowName());

// Against the plain Monte Carlo at 40 000 boards: within 2 points.
TEST(PassRate, AgreesWithAPlainMonteCarlo) {
  for (const RateCase& c : {kCases[0], kCases[1], kCases[2], kCases[4]}) {
    const TimerDesign d = designOf(c);
    const auto rate = passRate(d, around(c), c.tein, c.taus, c.limit);
    ASSERT_TRUE(rate) << c.name;
    EXPECT_NEAR(rate->rate, plainRate(d, around(c), c.tein, c.taus, c.limit, 40000), 0.02)
        << c.name;
  }
}

// Ranked by pass rate: against a plain sort of the candidates by rate, ties in their order.
TEST(PassRate, RanksLikeAPlainSort) {
  std::mt19937_64 rng(5);
  for (int n = 0; n < 200; ++n) {
    std::vector<double> rates(static_cast<std::size_t>(rng() % 120));
    for (double& r : rates) r = static_cast<double>(rng() % 12) / 11.0;  // many ties
    if (!rates.empty() && n % 3 == 0) rates[rng() % rates.size()] = std::nan("");
    const std::size_t count = 1 + rng() % 15;
    std::vector<std::pair<double, std::size_t>> plain;
    for (std::size_t i = 0; i < rates.size(); ++i) {
      plain.push_back({std::isnan(rates[i]) ? -1.0 : rates[i], i});
    }
    std::sort(plain.begin(), plain.end(), [](const auto& a, const auto& b) {
      return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    std::vector<std::size_t> want;
    for (std::size_t i = 0; i < std::min(count, plain.size()); ++i) want.push_back(plain[i].second);
    EXPECT_EQ(byPassRate(rates, count), want) << n;
  }
}

}  // namespace
}  // namespace kippwerk
