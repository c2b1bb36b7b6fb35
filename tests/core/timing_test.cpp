// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/timing.h"

#include <gtest/gtest.h>

#include <limits>

#include "core/numbers.h"
#include "tests/core/test_support.h"

namespace kippwerk {
namespace {

using kippwerk::testing::crlf;

struct TimingRow {
  const char* name;
  double r1, r2, c1;
  bool diode;
  std::string text;
};

class TimesFromComponents : public ::testing::TestWithParam<TimingRow> {};

TEST_P(TimesFromComponents, GivesTheFourLines) {
  const auto& r = GetParam();
  const Result<Times> t = timesFromComponents(r.r1, r.r2, r.c1, r.diode);
  ASSERT_TRUE(t.ok());
  EXPECT_EQ(timesText(t.value()), r.text);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, TimesFromComponents,
    ::testing::Values(
        TimingRow{"StartValues", 100000, 68000, 4.7 * 1e-6, false,
                  crlf({"t-EIN =  .545 s", "t-AUS =  .221 s", "t-Periode =  .765 s",
                        "Frequenz =  1.31 Hz"})},
        TimingRow{"Diode", 100000, 68000, 4.7 * 1e-6, true,
                  crlf({"t-EIN =  .324 s", "t-AUS =  .221 s", "t-Periode =  .545 s",
                        "Frequenz =  1.84 Hz"})},
        TimingRow{"Ohms", 100, 68, 4.7 * 1e-6, false,
                  crlf({"t-EIN =  .001 s", "t-AUS =  0 s", "t-Periode =  .001 s",
                        "Frequenz =  1306.6 Hz"})},
        TimingRow{
            "Nanofarad", 1000, 1000, 1e-9, false,
            crlf({"t-EIN =  0 s", "t-AUS =  0 s", "t-Periode =  0 s", "Frequenz =  483091.79 Hz"})},
        TimingRow{"NegativeR1", -100000, 68000, 4.7 * 1e-6, false,
                  crlf({"t-EIN = -.104 s", "t-AUS =  .221 s", "t-Periode =  .117 s",
                        "Frequenz =  8.57 Hz"})},
        TimingRow{"EmptyC1", 100000, 68000, 0, false,
                  crlf({"t-EIN =  0 s", "t-AUS =  0 s", "t-Periode =  0 s", "Frequenz =  0 Hz"})},
        TimingRow{"Farads", 100000, 68000, 4.7, false,
                  crlf({"t-EIN =  544824 s", "t-AUS =  220524 s", "t-Periode =  765348 s",
                        "Frequenz =  0 Hz"})},
        TimingRow{"Cancelling", -68000, 68000, 4.7e-6, false,
                  crlf({"t-EIN =  0 s", "t-AUS =  .221 s", "t-Periode =  .221 s",
                        "Frequenz =  4.53 Hz"})}),
    kippwerk::testing::RowName());

TEST(TimesFromComponents, StoresFullPrecisionInTheWrittenOrder) {
  const Times t = timesFromComponents(100000, 68000, 4.7 * 1e-6, false).value();
  EXPECT_EQ(t.tein, (0.69 * (100000.0 + 68000.0)) * (4.7 * 1e-6));
  EXPECT_EQ(t.taus, (0.69 * 68000.0) * (4.7 * 1e-6));
  EXPECT_EQ(t.tperiode, t.tein + t.taus);
  EXPECT_EQ(t.frequenz, 1.0 / t.tperiode);
  EXPECT_NEAR(t.frequenz, 1.3065952, 1e-7);
}

TEST(TimesFromComponents, GivesFrequencyZeroWhenThePeriodIsExactlyZero) {
  // t-EIN and t-AUS cancel: R1 + R2 = -R2.
  const Times t = timesFromComponents(-136000, 68000, 4.7e-6, false).value();
  EXPECT_EQ(t.tein, -t.taus);
  EXPECT_EQ(t.tperiode, 0.0);
  EXPECT_EQ(t.frequenz, 0.0);
  EXPECT_EQ(timesText(t),
            crlf({"t-EIN = -.221 s", "t-AUS =  .221 s", "t-Periode =  0 s", "Frequenz =  0 Hz"}));
}

struct OverflowRow {
  const char* name;
  double r1, r2, c1;
  bool diode;
};

class TimesOutOfRange : public ::testing::TestWithParam<OverflowRow> {};

TEST_P(TimesOutOfRange, ReportTheErrorInsteadOfANumber) {
  const auto& r = GetParam();
  const Result<Times> t = timesFromComponents(r.r1, r.r2, r.c1, r.diode);
  ASSERT_FALSE(t.ok());
  EXPECT_EQ(t.error(), Error::OutOfRange);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, TimesOutOfRange,
    ::testing::Values(OverflowRow{"SumOverflows", 1e308, 1e308, 1e-6, false},
                      OverflowRow{"ProductOverflows", 1e300, 1, 1e10, false},
                      OverflowRow{"OffTimeOverflows", 1, 1e300, 1e10, true},
                      OverflowRow{"PeriodOverflows", 1.5e308, 1.5e308, 1, true},
                      OverflowRow{"FrequencyOverflows", 1e-160, 0, 1e-160, false}),
    kippwerk::testing::RowName());

}  // namespace
}  // namespace kippwerk
