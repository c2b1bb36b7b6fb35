// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/dimensioning.h"

#include <gtest/gtest.h>

#include "core/numbers.h"
#include "tests/core/test_support.h"

namespace kippwerk {
namespace {

using kippwerk::testing::crlf;

const Times kStart{0.54, 0.22, 0.76, 1.32};

struct CheckRow {
  const char* name;
  double tein, taus, frequenz;
  bool equalTimes;
  const char* message;  // nullptr: the times pass
};

class CheckDesiredTimes : public ::testing::TestWithParam<CheckRow> {};

TEST_P(CheckDesiredTimes, GivesTheFirstFailingRule) {
  const auto& r = GetParam();
  const auto message = checkDesiredTimes(r.tein, r.taus, r.frequenz, r.equalTimes);
  if (r.message == nullptr) {
    EXPECT_FALSE(message.has_value()) << *message;
  } else {
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(*message, r.message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CheckDesiredTimes,
    ::testing::Values(CheckRow{"StartValues", 0.54, 0.22, 1.32, false, nullptr},
                      CheckRow{"EqualTimesWithTheBox", 0.54, 0.54, 0.926, true, nullptr},
                      CheckRow{"ShorterOnTimeWithTheBox", 0.1, 0.5, 1.6, true, nullptr},
                      CheckRow{"EqualTimesWithoutTheBox", 0.5, 0.5, 1, false,
                               "t-EIN muss größer als t-AUS sein!"},
                      CheckRow{"ShorterOnTime", 0.2, 0.5, 1.4, false,
                               "t-EIN muss größer als t-AUS sein!"},
                      CheckRow{"ZeroTeinWinsOverRuleTwo", 0, 0.22, 4.5, false, "Ungültige Werte!"},
                      CheckRow{"ZeroTaus", 0.5, 0, 2, false, "Ungültige Werte!"},
                      CheckRow{"ZeroFrequency", 0, 0, 0, true, "Ungültige Werte!"},
                      CheckRow{"NegativeFrequency", 0.5, 0.1, -1, false, "Ungültige Werte!"},
                      CheckRow{"NegativeTimes", -0.25, -0.25, -2, true, "Ungültige Werte!"}),
    kippwerk::testing::RowName());

struct DimensionRow {
  const char* name;
  KnownComponent known;
  double knownValue;
  bool diode;
  Times times;
  std::string placeholder;
  std::string computed;
};

class Dimensioning : public ::testing::TestWithParam<DimensionRow> {};

TEST_P(Dimensioning, WritesBothFormsOfTheNineLines) {
  const auto& r = GetParam();
  EXPECT_EQ(dimensioningText(placeholderLines(r.known, r.knownValue), r.diode, r.times),
            r.placeholder);
  const Result<Components> c =
      dimensionComponents(r.known, r.diode, r.times.tein, r.times.taus, r.knownValue);
  ASSERT_TRUE(c.ok());
  EXPECT_EQ(dimensioningText(computedLines(c.value()), r.diode, r.times), r.computed);
}

const char* kStartTimeLines[] = {"t-EIN =  .54 s", "t-AUS =  .22 s", "t-Periode =  .76 s",
                                 "Frequenz =  1.32 Hz"};

INSTANTIATE_TEST_SUITE_P(
    Examples, Dimensioning,
    ::testing::Values(
        DimensionRow{
            "C1Known", KnownComponent::C1, 4.7 * 1e-6, false, kStart,
            crlf({"R1 = ?", "R2 = ?", "C1 =  4.7E-06 F", "D  = nein", "", kStartTimeLines[0],
                  kStartTimeLines[1], kStartTimeLines[2], kStartTimeLines[3]}),
            crlf({"R1 =  98674 Ohm", "R2 =  67838 Ohm", "C1 =  4.7E-06 F", "D  = nein", "",
                  kStartTimeLines[0], kStartTimeLines[1], kStartTimeLines[2], kStartTimeLines[3]})},
        DimensionRow{
            "R2Known", KnownComponent::R2, 68 * 1000.0, false, kStart,
            crlf({"R1 = ?", "R2 =  68000 Ohm", "C1 = ?", "D  = nein", "", kStartTimeLines[0],
                  kStartTimeLines[1], kStartTimeLines[2], kStartTimeLines[3]}),
            crlf({"R1 =  98909 Ohm", "R2 =  68000 Ohm", "C1 =  4.689E-06 F", "D  = nein", "",
                  kStartTimeLines[0], kStartTimeLines[1], kStartTimeLines[2], kStartTimeLines[3]})},
        DimensionRow{"EqualTimesWithTheBox", KnownComponent::C1, 4.7 * 1e-6, true,
                     Times{0.54, 0.54, 1.08, 1 / 1.08},
                     crlf({"R1 = ?", "R2 = ?", "C1 =  4.7E-06 F", "D  = ja", "", "t-EIN =  .54 s",
                           "t-AUS =  .54 s", "t-Periode =  1.08 s", "Frequenz =  .926 Hz"}),
                     crlf({"R1 =  166512 Ohm", "R2 =  166512 Ohm", "C1 =  4.7E-06 F", "D  = ja", "",
                           "t-EIN =  .54 s", "t-AUS =  .54 s", "t-Periode =  1.08 s",
                           "Frequenz =  .926 Hz"})},
        // With the box ticked, R1 follows from C1 alone, like R2: both equal the known R2.
        DimensionRow{"EqualTimesWithTheBoxR2Known", KnownComponent::R2, 68 * 1000.0, true,
                     Times{0.54, 0.54, 1.08, 1 / 1.08},
                     crlf({"R1 = ?", "R2 =  68000 Ohm", "C1 = ?", "D  = ja", "", "t-EIN =  .54 s",
                           "t-AUS =  .54 s", "t-Periode =  1.08 s", "Frequenz =  .926 Hz"}),
                     crlf({"R1 =  68000 Ohm", "R2 =  68000 Ohm", "C1 =  1.1509E-05 F", "D  = ja",
                           "", "t-EIN =  .54 s", "t-AUS =  .54 s", "t-Periode =  1.08 s",
                           "Frequenz =  .926 Hz"})},
        // The known C1 shows unrounded until "Berechne Bauteile" rounds it with the others.
        DimensionRow{
            "KnownPicofaradsUnrounded", KnownComponent::C1, 4.7 * 1e-12, false, kStart,
            crlf({"R1 = ?", "R2 = ?", "C1 =  4.7E-12 F", "D  = nein", "", kStartTimeLines[0],
                  kStartTimeLines[1], kStartTimeLines[2], kStartTimeLines[3]}),
            crlf({"R1 =  98674067222 Ohm", "R2 =  67838421215 Ohm", "C1 =  0 F", "D  = nein", "",
                  kStartTimeLines[0], kStartTimeLines[1], kStartTimeLines[2], kStartTimeLines[3]})},
        DimensionRow{
            "TinyC1ShownAsZero", KnownComponent::R2, 1 * 1000000.0, false,
            Times{0.0002, 0.0001, 0.0003, 1 / 0.0003},
            crlf({"R1 = ?", "R2 =  1000000 Ohm", "C1 = ?", "D  = nein", "", "t-EIN =  0 s",
                  "t-AUS =  0 s", "t-Periode =  0 s", "Frequenz =  3333.333 Hz"}),
            crlf({"R1 =  1000000 Ohm", "R2 =  1000000 Ohm", "C1 =  0 F", "D  = nein", "",
                  "t-EIN =  0 s", "t-AUS =  0 s", "t-Periode =  0 s", "Frequenz =  3333.333 Hz"})},
        DimensionRow{
            "NegativeKnownValue", KnownComponent::C1, -4.7 * 1e-6, false, kStart,
            crlf({"R1 = ?", "R2 = ?", "C1 = -4.7E-06 F", "D  = nein", "", kStartTimeLines[0],
                  kStartTimeLines[1], kStartTimeLines[2], kStartTimeLines[3]}),
            crlf({"R1 = -98674 Ohm", "R2 = -67838 Ohm", "C1 = -4.7E-06 F", "D  = nein", "",
                  kStartTimeLines[0], kStartTimeLines[1], kStartTimeLines[2], kStartTimeLines[3]})},
        DimensionRow{
            "OhmsAndFarads", KnownComponent::C1, 1.0, false, kStart,
            crlf({"R1 = ?", "R2 = ?", "C1 =  1 F", "D  = nein", "", kStartTimeLines[0],
                  kStartTimeLines[1], kStartTimeLines[2], kStartTimeLines[3]}),
            crlf({"R1 =  0 Ohm", "R2 =  0 Ohm", "C1 =  1 F", "D  = nein", "", kStartTimeLines[0],
                  kStartTimeLines[1], kStartTimeLines[2], kStartTimeLines[3]})}),
    kippwerk::testing::RowName());

TEST(DimensionComponents, KeepsFullPrecisionInTheWrittenOrder) {
  const Components c1Known =
      dimensionComponents(KnownComponent::C1, false, 0.54, 0.22, 4.7 * 1e-6).value();
  EXPECT_EQ(c1Known.r2, 0.22 / (0.69 * (4.7 * 1e-6)));
  EXPECT_EQ(c1Known.r1, 0.54 / (0.69 * (4.7 * 1e-6)) - c1Known.r2);
  EXPECT_EQ(c1Known.c1, 4.7 * 1e-6);
  EXPECT_NEAR(c1Known.r2, 67838.42, 0.01);
  EXPECT_NEAR(c1Known.r1, 98674.06, 0.01);

  const Components r2Known =
      dimensionComponents(KnownComponent::R2, false, 0.54, 0.22, 68000).value();
  EXPECT_EQ(r2Known.c1, 0.22 / (0.69 * 68000));
  EXPECT_EQ(r2Known.r1, 0.54 / (0.69 * r2Known.c1) - 68000);
  EXPECT_NEAR(r2Known.r1, 98909.09, 0.01);

  const Components diode = dimensionComponents(KnownComponent::C1, true, 9.9, 0.54, 4.7e-6).value();
  EXPECT_EQ(diode.r1, diode.r2);
}

struct RefusalRow {
  const char* name;
  KnownComponent known;
  bool diode;
  double tein, taus, knownValue;
  Error error;
};

class DimensioningRefuses : public ::testing::TestWithParam<RefusalRow> {};

TEST_P(DimensioningRefuses, WithAnErrorAndNoNumber) {
  const auto& r = GetParam();
  const Result<Components> c = dimensionComponents(r.known, r.diode, r.tein, r.taus, r.knownValue);
  ASSERT_FALSE(c.ok());
  EXPECT_EQ(c.error(), r.error);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, DimensioningRefuses,
    ::testing::Values(
        RefusalRow{"ZeroC1", KnownComponent::C1, false, 0.54, 0.22, 0.0, Error::ZeroComponent},
        RefusalRow{"ZeroR2", KnownComponent::R2, true, 0.54, 0.54, 0.0, Error::ZeroComponent},
        RefusalRow{"NegativeZero", KnownComponent::R2, false, 0.54, 0.22, -0.0,
                   Error::ZeroComponent},
        RefusalRow{"QuotientOverflows", KnownComponent::C1, false, 0.54, 0.22, 1e-310,
                   Error::OutOfRange},
        RefusalRow{"SubnormalKnownWithDiode", KnownComponent::R2, true, 1, 1, 5e-324,
                   Error::OutOfRange},
        RefusalRow{"ComputedC1Underflows", KnownComponent::R2, false, 1e-300, 1e-300, 1e300,
                   Error::OutOfRange},
        RefusalRow{"HugeTimes", KnownComponent::C1, false, 1e308, 1e307, 1e-10, Error::OutOfRange}),
    kippwerk::testing::RowName());

}  // namespace
}  // namespace kippwerk
