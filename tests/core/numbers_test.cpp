// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/numbers.h"
#include "tests/core/test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace kippwerk {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct FormatRow {
  double x;
  const char* text;
};

class FormatValueWrites : public ::testing::TestWithParam<FormatRow> {};

TEST_P(FormatValueWrites, TheDisplayForm) {
  EXPECT_EQ(formatValue(GetParam().x), GetParam().text) << "x = " << GetParam().x;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, FormatValueWrites,
    ::testing::Values(
        FormatRow{0.0, " 0"}, FormatRow{-0.0, " 0"}, FormatRow{1.0, " 1"}, FormatRow{-1.0, "-1"},
        FormatRow{100000.0, " 100000"}, FormatRow{0.5, " .5"}, FormatRow{-0.5, "-.5"},
        FormatRow{0.54, " .54"}, FormatRow{1306.6, " 1306.6"}, FormatRow{0.0001, " .0001"},
        FormatRow{0.00001, " 1E-05"}, FormatRow{4.7e-6, " 4.7E-06"}, FormatRow{-1.5e-7, "-1.5E-07"},
        FormatRow{1.0 / 3.0, " .333333333333333"}, FormatRow{2.0 / 3.0, " .666666666666667"},
        FormatRow{1e14, " 100000000000000"}, FormatRow{1e15, " 1E+15"},
        FormatRow{123456789012345678.0, " 1.23456789012346E+17"}, FormatRow{1e-100, " 1E-100"},
        // rounding to 15 digits moves the exponent
        FormatRow{9.999999999999999e-5, " .0001"}, FormatRow{999999999999999.9, " 1E+15"},
        FormatRow{0.1 + 0.2, " .3"}, FormatRow{0.54500000000000004, " .545"},
        FormatRow{1.7976931348623157e308, " 1.79769313486232E+308"},
        FormatRow{4.9406564584124654e-324, " 4.94065645841247E-324"},
        FormatRow{-2.5e-310, "-2.50000000000002E-310"}, FormatRow{123.0, " 123"},
        FormatRow{120.5, " 120.5"}, FormatRow{-0.00012, "-.00012"}));

TEST(FormatValue, WritesNothingForNonFiniteNumbers) {
  EXPECT_EQ(formatValue(kInf), "");
  EXPECT_EQ(formatValue(-kInf), "");
  EXPECT_EQ(formatValue(kNaN), "");
}

struct RoundRow {
  double x;
  int n;
  double expected;
};

class RoundValueGives : public ::testing::TestWithParam<RoundRow> {};

TEST_P(RoundValueGives, TheNearestKeptDecimal) {
  const auto& r = GetParam();
  EXPECT_EQ(roundValue(r.x, r.n), r.expected) << r.x << " to " << r.n;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, RoundValueGives,
    ::testing::Values(RoundRow{0.544824, 3, 0.545}, RoundRow{1 / 0.76, 2, 1.32},
                      RoundRow{1 / 0.76, 3, 1.316}, RoundRow{1306.5951697789765, 2, 1306.6},
                      RoundRow{0.0015, 3, 0.002}, RoundRow{0.0025, 3, 0.002},
                      RoundRow{0.0004, 3, 0.0}, RoundRow{4.7e-6, 9, 4.7e-6},
                      RoundRow{1.5e-10, 9, 0.0},
                      // ties to even, both signs
                      RoundRow{0.5, 0, 0.0}, RoundRow{1.5, 0, 2.0}, RoundRow{2.5, 0, 2.0},
                      RoundRow{-2.5, 0, -2.0}, RoundRow{-3.5, 0, -4.0}, RoundRow{-0.4, 0, -0.0},
                      RoundRow{98674.06, 0, 98674.0},
                      // x * 10^n overflows: x comes back unchanged
                      RoundRow{1e306, 3, 1e306}, RoundRow{-1.7e308, 9, -1.7e308},
                      RoundRow{12.5, 400, 12.5}, RoundRow{1e300, 0, 1e300},
                      // a negative n rounding up past the largest double
                      RoundRow{1.7976931348623157e308, -306, 1.7976931348623157e308},
                      RoundRow{1234.0, -2, 1200.0}));

TEST(RoundValue, KeepsNonFiniteInputsNonFinite) {
  EXPECT_TRUE(std::isnan(roundValue(kNaN, 3)));
  EXPECT_EQ(roundValue(kInf, 3), kInf);
}

struct ParseRow {
  const char* name;
  std::string text;
  double expected;
};

class ParseValueReads : public ::testing::TestWithParam<ParseRow> {};

TEST_P(ParseValueReads, TheLeadingNumber) {
  const Result<double> r = parseValue(GetParam().text);
  ASSERT_TRUE(r.ok()) << GetParam().text;
  EXPECT_EQ(r.value(), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseValueReads,
    ::testing::Values(
        ParseRow{"Empty", "", 0}, ParseRow{"LoneMinus", "-", 0}, ParseRow{"LonePlus", "+", 0},
        ParseRow{"LonePoint", ".", 0}, ParseRow{"SignAndPoint", "-.", 0},
        ParseRow{"Letters", "abc12", 0}, ParseRow{"TrailingLetters", "12abc", 12},
        ParseRow{"Integer", "100", 100}, ParseRow{"Exponent", "1e3", 1000},
        ParseRow{"DExponent", "1D3", 1000}, ParseRow{"LowerD", "2d-2", 0.02},
        ParseRow{"NegativeExponent", "2.5E-3", 0.0025}, ParseRow{"PointFirst", "-.5", -0.5},
        ParseRow{"PointLast", "5.", 5}, ParseRow{"PlusSign", "+7", 7},
        ParseRow{"BlankInside", "4 .7", 4.7}, ParseRow{"BlankInDigits", "1 00", 100},
        ParseRow{"LeadingTab", "\t3", 3}, ParseRow{"LineFeeds", "\n1\n2\n", 12},
        ParseRow{"BlankAfterSign", "- 2", -2}, ParseRow{"BlankInExponent", "1 e 2", 100},
        ParseRow{"SecondPoint", "1.2.3", 1.2}, ParseRow{"Comma", "1,5", 1},
        ParseRow{"CommaDecimal", "4,7", 4}, ParseRow{"DanglingExponent", "1e", 1},
        ParseRow{"DanglingExponentSign", "7E+", 7}, ParseRow{"ExponentWithoutMantissa", "e5", 0},
        ParseRow{"PointThenExponent", ".e5", 0}, ParseRow{"DoubleSign", "--1", 0},
        ParseRow{"LeadingZeros", "000.00125", 0.00125},
        ParseRow{"ManyDigits", "0.1000000000000000055511151231257827021181583404541015625", 0.1},
        ParseRow{"NearestDouble", "9007199254740993", 9007199254740992.0},
        ParseRow{"TieWithManyZeros", "9007199254740993." + std::string(900, '0'),
                 9007199254740992.0},
        ParseRow{"StickyDigitPastTheKeptOnes", "9007199254740993." + std::string(900, '0') + "1",
                 9007199254740994.0},
        ParseRow{"LargestDouble", "1.7976931348623157e308", 1.7976931348623157e308},
        ParseRow{"DisplayedMaximum", "1.79769313486232E+308", 1.7976931348623157e308},
        ParseRow{"DisplayedMinimum", "-1.79769313486232E+308", -1.7976931348623157e308},
        ParseRow{"MaximumWithZeros", "179769313486232000e291", 1.7976931348623157e308},
        ParseRow{"Subnormal", "4.9406564584124654e-324", 4.9406564584124654e-324},
        ParseRow{"UnderflowIsZero", "1e-400", 0}, ParseRow{"DeepUnderflow", "1e-99999999999", 0},
        ParseRow{"HugeExponentOfZero", "0e99999", 0}, ParseRow{"HexSmall", "&H1F", 31},
        ParseRow{"HexLower", "&hff", 255}, ParseRow{"Octal", "&O17", 15},
        ParseRow{"OctalLower", "&o777", 511}, ParseRow{"HexMinusOne16", "&HFFFF", -1},
        ParseRow{"HexMax16", "&H7FFF", 32767}, ParseRow{"HexMin16", "&H8000", -32768},
        ParseRow{"HexLongSuffix", "&HFFFF&", 65535}, ParseRow{"Hex17Bit", "&H10000", 65536},
        ParseRow{"HexMinusOne32", "&HFFFFFFFF", -1},
        ParseRow{"HexMin32", "&H80000000", -2147483648.0},
        ParseRow{"HexLeadingZeros", "&H000000001", 1}, ParseRow{"HexNoDigits", "&H", 0},
        ParseRow{"HexStopsAtG", "&H1G", 1}, ParseRow{"OctalStopsAt8", "&O78", 7},
        ParseRow{"OctalMinusOne16", "&O177777", -1}, ParseRow{"HexBlanks", "& H 1 F", 31},
        ParseRow{"AmpersandOnly", "&", 0}, ParseRow{"AmpersandOther", "&X1", 0},
        ParseRow{"Umlaut",
                 "\xC3\xA4"
                 "5",
                 0},
        ParseRow{"DigitThenUmlaut", "5\xC3\xA4", 5}),
    kippwerk::testing::RowName());

class ParseValueRefuses : public ::testing::TestWithParam<std::string> {};

TEST_P(ParseValueRefuses, NumbersBeyondTheDoubleRange) {
  const Result<double> r = parseValue(GetParam());
  ASSERT_FALSE(r.ok()) << GetParam();
  EXPECT_EQ(r.error(), Error::OutOfRange);
}

INSTANTIATE_TEST_SUITE_P(OutOfRange, ParseValueRefuses,
                         ::testing::Values("1e400", "1D309", "-1e309", "1.8e308",
                                           "1.79769313486233E+308", "1.797693134862321e308",
                                           "1e99999999999999999999", "&H100000000", "&HFFFFFFFFF",
                                           "&O40000000000", "&O777777777777",
                                           std::string(400, '9')));

TEST(ParseValue, PlainCallersReadZeroForOutOfRange) {
  EXPECT_EQ(parseValue("1e400").valueOr(0.0), 0.0);
  EXPECT_EQ(parseValue("2.5").valueOr(0.0), 2.5);
}

TEST(ParseValue, ReadsHugeHostileTextsWithoutHarm) {
  EXPECT_EQ(parseValue(std::string(5000, '1') + "e-4990").value(), 1.1111111111111111e9);
  EXPECT_EQ(parseValue("0." + std::string(5000, '0') + "1").value(), 0.0);
  EXPECT_EQ(parseValue(std::string(5000, ' ') + "3").value(), 3.0);
  EXPECT_EQ(parseValue(std::string(5000, '.')).value(), 0.0);
}

struct UnitRow {
  const char* name;
  bool capacitor;
  int index;
  double value;
  double expected;
};

class ApplyUnitScales : public ::testing::TestWithParam<UnitRow> {};

TEST_P(ApplyUnitScales, ByMultiplication) {
  const auto& r = GetParam();
  const Result<double> scaled = r.capacitor ? applyUnit(r.value, capacitorUnits, r.index)
                                            : applyUnit(r.value, resistorUnits, r.index);
  ASSERT_TRUE(scaled.ok());
  EXPECT_EQ(scaled.value(), r.expected);
}

INSTANTIATE_TEST_SUITE_P(Tables, ApplyUnitScales,
                         ::testing::Values(UnitRow{"Ohm", false, 0, 68, 68},
                                           UnitRow{"kOhm", false, 1, 68, 68000},
                                           UnitRow{"MOhm", false, 2, 1.5, 1500000},
                                           UnitRow{"NoResistorSelection", false, -1, 68, 68},
                                           UnitRow{"pF", true, 0, 4.7, 4.7 * 1e-12},
                                           UnitRow{"nF", true, 1, 4.7, 4.7 * 1e-9},
                                           UnitRow{"uF", true, 2, 4.7, 4.7 * 1e-6},
                                           UnitRow{"mF", true, 3, 4.7, 4.7 * 1e-3},
                                           UnitRow{"Farad", true, 4, 4.7, 4.7},
                                           UnitRow{"NoCapacitorSelection", true, -1, 4.7, 4.7},
                                           UnitRow{"IndexPastTheEnd", true, 5, 4.7, 4.7},
                                           UnitRow{"TinyUnderflowsToZero", true, 0, 1e-320, 0.0}),
                         kippwerk::testing::RowName());

TEST(ApplyUnit, MultipliesRatherThanDivides) {
  // 0.9 * 1e-6 and 0.9 / 1e6 are different doubles; the tables multiply.
  volatile double x = 0.9;
  ASSERT_NE(x * 1e-6, x / 1e6);
  EXPECT_EQ(applyUnit(x, capacitorUnits, 2).value(), x * 1e-6);
}

TEST(ApplyUnit, RefusesAnOverflowingScale) {
  EXPECT_EQ(applyUnit(1e308, resistorUnits, 2).error(), Error::OutOfRange);
  EXPECT_EQ(applyUnit(-1e306, resistorUnits, 1).error(), Error::OutOfRange);
}

TEST(UnitTables, HoldTheDropDownItemsInOrder) {
  std::string items;
  for (const Unit& u : resistorUnits) items += std::string(u.name) + "|";
  for (const Unit& u : capacitorUnits) items += std::string(u.name) + "|";
  EXPECT_EQ(items, "Ohm|k Ohm|M Ohm|pF|nF|uF|mF| F|");
}

TEST(PeriodToFrequency, IsTheReciprocalExceptForZero) {
  EXPECT_EQ(periodToFrequency(0.0).value(), 0.0);
  EXPECT_EQ(periodToFrequency(-0.0).value(), 0.0);
  EXPECT_EQ(periodToFrequency(0.5).value(), 2.0);
  EXPECT_EQ(periodToFrequency(-0.5).value(), -2.0);
  EXPECT_EQ(periodToFrequency(1e-310).error(), Error::OutOfRange);
}

struct PrefixRow {
  const char* text;
  bool prefix;
};

class DecimalPrefix : public ::testing::TestWithParam<PrefixRow> {};

TEST_P(DecimalPrefix, TellsTextsStillBeingTyped) {
  EXPECT_EQ(isDecimalPrefix(GetParam().text), GetParam().prefix) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DecimalPrefix,
    ::testing::Values(PrefixRow{"0", true}, PrefixRow{"0.", true}, PrefixRow{"0.5", true},
                      PrefixRow{"-", true}, PrefixRow{"+", true}, PrefixRow{".", true},
                      PrefixRow{"-.", true}, PrefixRow{"1e", true}, PrefixRow{"1E-", true},
                      PrefixRow{"1d+3", true}, PrefixRow{" 1 . 5 ", true}, PrefixRow{".5e2", true},
                      PrefixRow{"", false}, PrefixRow{"  ", false}, PrefixRow{",", false},
                      PrefixRow{"0,5", false}, PrefixRow{"1.2.", false}, PrefixRow{"e5", false},
                      PrefixRow{".e", false}, PrefixRow{"&H1", false}, PrefixRow{"1e5x", false},
                      PrefixRow{"1e-+", false}, PrefixRow{"--", false}, PrefixRow{"abc", false}));

struct RestRow {
  const char* text;
  double value;
  const char* rest;
};

class ReadNumberLeaves : public ::testing::TestWithParam<RestRow> {};

TEST_P(ReadNumberLeaves, WhatDoesNotBelongToTheNumber) {
  const NumberReading r = readNumber(GetParam().text);
  EXPECT_EQ(r.value.valueOr(kNaN), GetParam().value) << '"' << GetParam().text << '"';
  EXPECT_EQ(r.rest, GetParam().rest) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Texts, ReadNumberLeaves,
                         ::testing::Values(RestRow{"1.5", 1.5, ""}, RestRow{" 1 00 ", 100, ""},
                                           RestRow{"", 0, ""}, RestRow{"  ", 0, ""},
                                           RestRow{"2.5E-3", 0.0025, ""}, RestRow{"&H1F", 31, ""},
                                           RestRow{"&HFFFF&", 65535, ""}, RestRow{"1,5", 1, ",5"},
                                           RestRow{"9,5 V", 9, ",5 V"}, RestRow{"1.5.3", 1.5, ".3"},
                                           RestRow{".54n", 0.54, "n"}, RestRow{"abc", 0, "abc"},
                                           RestRow{"-", 0, "-"}, RestRow{" . ", 0, "."},
                                           RestRow{"1e", 1, "e"}, RestRow{"1e-", 1, "e-"},
                                           RestRow{"&H1Fz", 31, "z"}, RestRow{"&Hz", 0, "&Hz"},
                                           RestRow{"12 abc ", 12, "abc"}));

}  // namespace
}  // namespace kippwerk
