// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/timeentry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/core/test_support.h"

namespace kippwerk {
namespace {

const Times kStart{0.54, 0.22, 0.76, 1.32};

struct DisplayRow {
  double x;
  const char* text;
};

class DisplayText : public ::testing::TestWithParam<DisplayRow> {};

TEST_P(DisplayText, IsTheRoundedValueWithoutBlanks) {
  EXPECT_EQ(displayText(GetParam().x), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Examples, DisplayText,
                         ::testing::Values(DisplayRow{0.54, ".54"}, DisplayRow{1 / 0.76, "1.316"},
                                           DisplayRow{1.32, "1.32"}, DisplayRow{0.5, ".5"},
                                           DisplayRow{2, "2"}, DisplayRow{0, "0"},
                                           DisplayRow{-0.25, "-.25"}, DisplayRow{0.0004, "0"},
                                           DisplayRow{-0.0004, "0"}, DisplayRow{1e20, "1E+20"},
                                           DisplayRow{0.1234, ".123"},
                                           DisplayRow{1.0 / 6, ".167"}));

// The worked example from the start values, one operation after the other.
TEST(TimeEntry, FollowsTheWorkedExampleRowByRow) {
  Times q = kStart;

  q = afterModeSwitched(q, true).value();
  EXPECT_EQ(q.tein, 0.54);
  EXPECT_EQ(q.taus, 0.54);
  EXPECT_EQ(q.tperiode, 1.08);
  EXPECT_EQ(q.frequenz, 1 / 1.08);
  EXPECT_EQ(displayText(q.frequenz), ".926");

  q = afterFrequencyTyped(q, 2).value();
  EXPECT_EQ(q, (Times{0.25, 0.25, 0.5, 2}));

  q = afterModeSwitched(q, false).value();
  EXPECT_EQ(q, (Times{0.25, 0.25, 0.5, 2}));

  q = afterTeinTyped(q, 1, false).value();
  EXPECT_EQ(q, (Times{1, 0.25, 1.25, 0.8}));
}

TEST(TimeEntry, RecomputesTheFrequencyFromThePeriodOnTheFirstOperation) {
  EXPECT_EQ(afterTeinTyped(kStart, 0.54, false).value().frequenz, 1 / 0.76);
  EXPECT_EQ(afterTausTyped(kStart, 0.22).value().frequenz, 1 / 0.76);
  EXPECT_EQ(afterModeSwitched(kStart, false).value().frequenz, 1 / 0.76);
}

TEST(TimeEntry, EmptyTeinLeavesTheFrequencyOfTausAlone) {
  const Times q = afterTeinTyped(kStart, 0, false).value();
  EXPECT_EQ(q.tperiode, 0.22);
  EXPECT_EQ(q.frequenz, 1 / 0.22);
}

TEST(TimeEntry, ZeroPeriodGivesZeroFrequency) {
  EXPECT_EQ(afterTeinTyped(Times{0, 0, 0, 0}, 0, false).value(), (Times{0, 0, 0, 0}));
  const Times q = afterTeinTyped(Times{0, 0.25, 0.25, 4}, -0.25, false).value();
  EXPECT_EQ(q, (Times{-0.25, 0.25, 0, 0}));
}

TEST(TimeEntry, TypedFrequencyHalvesThePeriod) {
  const Times three = afterFrequencyTyped(kStart, 3).value();
  EXPECT_EQ(three.tein, 1.0 / 6);
  EXPECT_EQ(three.taus, 1.0 / 6);
  EXPECT_EQ(three.tperiode, 1.0 / 3);
  EXPECT_EQ(three.frequenz, 3);
  // a key in the locked t-AUS box then reads ".167" back
  const Times locked = afterTausTyped(three, 0.167).value();
  EXPECT_EQ(displayText(locked.tperiode), ".334");
  EXPECT_EQ(displayText(locked.frequenz), "2.997");

  EXPECT_EQ(afterFrequencyTyped(kStart, -2).value(), (Times{-0.25, -0.25, -0.5, -2}));
  EXPECT_EQ(afterFrequencyTyped(kStart, 0).value(), (Times{0, 0, 0, 0}));
}

TEST(TimeEntry, TypedTausDoesNotConsultTheMode) {
  EXPECT_EQ(afterTausTyped(Times{1, 1, 2, 0.5}, 0.5).value(), (Times{1, 0.5, 1.5, 1 / 1.5}));
}

struct EntryOverflowRow {
  const char* name;
  int op;  // 0 t-EIN, 1 t-AUS, 2 frequency
  double value;
  Times q;
};

class TimeEntryOutOfRange : public ::testing::TestWithParam<EntryOverflowRow> {};

TEST_P(TimeEntryOutOfRange, ReportsAnErrorInsteadOfInfinity) {
  const auto& r = GetParam();
  const Result<Times> t = r.op == 0   ? afterTeinTyped(r.q, r.value, true)
                          : r.op == 1 ? afterTausTyped(r.q, r.value)
                                      : afterFrequencyTyped(r.q, r.value);
  ASSERT_FALSE(t.ok());
  EXPECT_EQ(t.error(), Error::OutOfRange);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, TimeEntryOutOfRange,
    ::testing::Values(EntryOverflowRow{"SumOfEqualTimes", 0, 1e308, kStart},
                      EntryOverflowRow{"SumOfTimes", 1, 1e308, Times{1e308, 0, 0, 0}},
                      EntryOverflowRow{"TinyPeriod", 0, 1e-310, Times{0, 0, 0, 0}},
                      EntryOverflowRow{"SubnormalFrequency", 2, 1e-320, kStart},
                      EntryOverflowRow{"HugeFrequency", 2, 1e308, kStart},
                      EntryOverflowRow{"TinyFrequency", 2, -1e-309, kStart}),
    kippwerk::testing::RowName());

TEST(TimeEntry, ModeSwitchOverflowIsAnError) {
  EXPECT_FALSE(afterModeSwitched(Times{1e308, 0, 1e308, 0}, true).ok());
  EXPECT_TRUE(afterModeSwitched(Times{1e308, 0, 1e308, 0}, false).ok());
}

}  // namespace
}  // namespace kippwerk
