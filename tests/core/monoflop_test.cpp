// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/monoflop.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "tests/core/test_support.h"

namespace kippwerk {
namespace {

const double kLn3 = std::log(3.0);

struct PulseRow {
  const char* name;
  PulseSearch request;
  std::vector<std::pair<double, double>> best;  // R, C1 of the first pairs
};

class PulseCases : public ::testing::TestWithParam<PulseRow> {};

TEST_P(PulseCases, ListTheBestPairsFirst) {
  const PulseRow& r = GetParam();
  const PulsePairs pairs = searchPulsePairs(r.request);
  ASSERT_TRUE(pairs.ok());
  ASSERT_EQ(pairs.value().size(), 10u);
  for (std::size_t i = 0; i < r.best.size(); ++i) {
    EXPECT_DOUBLE_EQ(pairs.value()[i].r, r.best[i].first) << "pair " << i;
    EXPECT_DOUBLE_EQ(pairs.value()[i].c1, r.best[i].second) << "pair " << i;
  }
}

// Worked out by trying every pair, with the ideal chip's ln 3 R C1.
INSTANTIATE_TEST_SUITE_P(
    Search, PulseCases,
    ::testing::Values(
        // 910 k and 1 uF give 999.7 ms; 91 k and 10 uF are the same family.
        PulseRow{
            "OneSecond",
            {1.0},
            {{910e3, 1e-6}, {270e3, 3.3e-6}, {620e3, 1.5e-6}, {130e3, 6.8e-6}, {200e3, 4.7e-6}}},
        // 2.2 k with 1 uF and 1 k with 2.2 uF give the same pulse: the smaller C1 first.
        PulseRow{"EqualPulsesSmallerCapacitorFirst",
                 {kLn3 * 2.2e-3 * 1.01, Series::E6, 1e3, 10e3, Series::E6, 1e-6, 10e-6},
                 {{2.2e3, 1e-6}, {1e3, 2.2e-6}, {1.5e3, 1.5e-6}}},
        PulseRow{
            "TenMillisecondsNarrowRanges",
            {0.01, Series::E12, 1e3, 1e5, Series::E6, 1e-9, 1e-6},
            {{27e3, 330e-9}, {39e3, 220e-9}, {18e3, 470e-9}, {56e3, 150e-9}, {100e3, 100e-9}}}),
    testing::RowName());

struct PulseShortfallRow {
  const char* name;
  PulseSearch request;
  Shortfall want;
};

class PulseShortfalls : public ::testing::TestWithParam<PulseShortfallRow> {};

TEST_P(PulseShortfalls, NameWhatHoldsTheBestPairBack) {
  const PulseShortfallRow& r = GetParam();
  const PulsePairs pairs = searchPulsePairs(r.request);
  ASSERT_TRUE(pairs.ok());
  testing::expectShortfall(pulseShortfallOf(r.request, pairs.value().front()), r.want);
}

using Kind = Shortfall::Kind;

INSTANTIATE_TEST_SUITE_P(
    Search, PulseShortfalls,
    ::testing::Values(
        PulseShortfallRow{"WithinTenPercent", {1.0}, {}},
        // C min 100 uF: no pulse below ln 3 * 1 k Ohm * 100 uF = 109.9 ms.
        PulseShortfallRow{"BelowTheSmallestParts",
                          {1e-6, Series::E24, 1e3, 10e6, Series::E6, 100e-6, 1e-3},
                          {Kind::BelowSmallest, true, kLn3 * 0.1, true, true}},
        PulseShortfallRow{"BeyondTheLargestParts",
                          {1e5, Series::E24, 1e3, 10e6, Series::E6, 100e-12, 1e-3},
                          {Kind::BeyondLargest, true, kLn3 * 1e4, true, true}},
        // C1 fixed at 1 uF: R max alone decides, ln 3 * 10 M Ohm * 1 uF.
        PulseShortfallRow{"BeyondTheLargestResistorWithC1Fixed",
                          [] {
                            PulseSearch q{100, Series::E24, 1e3, 10e6};
                            q.fixedC1 = 1e-6;
                            return q;
                          }(),
                          {Kind::BeyondLargest, true, kLn3 * 10, true, false}},
        // Only 1 k Ohm, and E3 capacitors: 1.6 uF lies 60 % above 1 uF and 27 % below 2.2 uF.
        PulseShortfallRow{"SeriesTooCoarse",
                          {kLn3 * 1e3 * 1.6e-6, Series::E24, 1e3, 1e3, Series::E3, 1e-6, 1e-5},
                          {Kind::Series}}),
    testing::RowName());

struct RefusedPulse {
  const char* name;
  PulseSearch request;
  PulseError error;
};

class RefusedPulses : public ::testing::TestWithParam<RefusedPulse> {};

TEST_P(RefusedPulses, SayWhy) {
  for (auto search : {searchPulsePairs, searchPulsePairsExhaustive}) {
    const PulsePairs pairs = search(GetParam().request);
    ASSERT_FALSE(pairs.ok());
    EXPECT_EQ(pairs.error(), GetParam().error);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Search, RefusedPulses,
    ::testing::Values(
        RefusedPulse{"ZeroTime", {0.0}, PulseError::TimeNotPositive},
        RefusedPulse{"NanBound", {1.0, Series::E24, std::nan(""), 1e6}, PulseError::OutOfRange},
        RefusedPulse{"ToleranceOfAHundredPercent",
                     {1.0, Series::E24, 1e3, 1e7, Series::E6, 1e-10, 1e-3, 1.0},
                     PulseError::OutOfRange},
        RefusedPulse{
            "NoResistorInside", {1.0, Series::E6, 1.6e3, 2.1e3}, PulseError::ResistorRangeEmpty},
        RefusedPulse{"NoCapacitorInside",
                     {1.0, Series::E24, 1e3, 1e7, Series::E6, 1.6e-9, 2.1e-9},
                     PulseError::CapacitorRangeEmpty},
        RefusedPulse{"FarBelowTheseRanges",
                     {1e-12, Series::E24, 1e3, 1e7, Series::E6, 1e-6, 1e-3},
                     PulseError::Unreachable},
        RefusedPulse{"BelowAnyRange", {1e-300}, PulseError::BeyondEveryRange}),
    testing::RowName());

TEST(PulseSpread, GivesTheFourCornersAsALine) {
  const Circuit c{false, kIdealDiode, 9, kModelKelvin, kChipFamilies[0].chip(9)};
  const Spread s = pulseSpread(c, 910e3, 1e-6, 0.05, 0.1);
  EXPECT_DOUBLE_EQ(s.low, pulseTime(c, 910e3 * 0.95, 1e-6 * 0.9));
  EXPECT_DOUBLE_EQ(s.high, pulseTime(c, 910e3 * 1.05, 1e-6 * 1.1));
  EXPECT_EQ(pulseSpreadText(s, 1.0), "t: 854.8 ms … 1.155 s (-14.52 % … +15.51 %)");
}

// An NE555 at 5 V whose pin currents keep C1 below its level with R 20 % above ten megohms:
// only pairs whose longest pulse still ends are listed, by both searches alike.
TEST(PulseSpread, EndsForEveryListedPair) {
  PulseSearch q{10.0};
  q.ub = 5;
  q.chip = kChipFamilies[0].chip(q.ub);
  q.rMax = 1e10;
  q.cMax = 1e-7;
  q.resistorTolerance = q.capacitorTolerance = 0.2;
  const PulsePairs pairs = searchPulsePairs(q);
  ASSERT_TRUE(pairs.ok());
  EXPECT_EQ(pairs.value(), searchPulsePairsExhaustive(q).value());
  for (const PulsePair& p : pairs.value()) {
    EXPECT_TRUE(std::isfinite(pulseSpread(q.circuit(), p.r, p.c1, 0.2, 0.2).high)) << p.r;
  }
}

// Random targets, series, ranges and chips: the fast search gives what every pair gives.
TEST(PulseSearchDifferential, EqualsTheExhaustiveSearch) {
  std::mt19937_64 rng(20261216);
  auto uniform = [&rng](double a, double b) { return std::uniform_real_distribution<>(a, b)(rng); };
  int withResults = 0;
  for (int n = 0; n < 600; ++n) {
    PulseSearch q;
    q.resistorSeries = kAllSeries[1 + n % 6];
    q.capacitorSeries = kAllSeries[n % 4];
    q.rMin = std::pow(10.0, uniform(0, 5));
    q.rMax = q.rMin * std::pow(10.0, uniform(0, 4));
    q.cMin = std::pow(10.0, uniform(-12, -5));
    q.cMax = q.cMin * std::pow(10.0, uniform(0, 4));
    q.t = kLn3 * std::sqrt(q.rMin * q.rMax * q.cMin * q.cMax) * std::pow(10.0, uniform(-2, 2));
    q.ub = uniform(4.5, 15);
    if (n % 4 != 0) q.chip = kChipFamilies[static_cast<std::size_t>(n % 3)].chip(q.ub);
    q.resistorTolerance = 0.05;
    q.capacitorTolerance = 0.1;
    q.count = n % 3 == 0 ? 100 : kMaxPulsePairs;
    const PulsePairs fast = searchPulsePairs(q), every = searchPulsePairsExhaustive(q);
    ASSERT_EQ(fast.ok(), every.ok()) << "case " << n;
    if (!fast.ok()) {
      EXPECT_EQ(fast.error(), every.error()) << "case " << n;
      continue;
    }
    ++withResults;
    ASSERT_EQ(fast.value(), every.value()) << "case " << n;
    EXPECT_LE(fast.value().size(), q.count) << "case " << n;
  }
  EXPECT_GT(withResults, 500);
}

}  // namespace
}  // namespace kippwerk
