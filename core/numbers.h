// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Number rules and unit tables shared by every calculation. Nothing here looks at the
// locale: the point is the only decimal separator, in input and output.

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "core/result.h"

namespace kippwerk {

// Reads the longest leading number of a text: blanks, tabs and line feeds are ignored
// wherever they stand; &H / &O radix forms; decimal form with an E/e/D/d exponent.
// A text without a number reads as 0. A number that does not fit a double (1e400,
// &H100000000) gives Error::OutOfRange; an underflow reads as the nearest double, 0.
Result<double> parseValue(std::string_view text);

// The same reading, and what of the text it left unread from the first character that does not
// belong to the number on (blanks at the end dropped): "" for "1.5", ",5" for "1,5", "abc" for
// "abc". Windows that take only whole numbers refuse a text with a rest.
struct NumberReading {
  Result<double> value;
  std::string_view rest;
};
NumberReading readNumber(std::string_view text);

// Rounds x to n decimal places, ties to even. When x * 10^n or the rounded value is not
// finite, x comes back.
double roundValue(double x, int n);

// The display form: 15 significant digits, a blank before a non-negative number, no 0
// before the point, exponent form (4.7E-06, 1E+15) below 1E-04 and from 1E+15 on.
// Callers never pass inf or NaN; for them the text is empty.
std::string formatValue(double x);

// 1 / period, or 0 for a period of exactly 0.
Result<double> periodToFrequency(double period);

struct Unit {
  std::string_view name;
  double factor;  // 1 for "no factor": the number is used as read
};

inline constexpr std::array<Unit, 3> resistorUnits{{
    {"Ohm", 1.0},
    {"k Ohm", 1000.0},
    {"M Ohm", 1000000.0},
}};

inline constexpr std::array<Unit, 5> capacitorUnits{{
    {"pF", 1e-12},
    {"nF", 1e-9},
    {"uF", 1e-6},
    {"mF", 1e-3},
    {" F", 1.0},
}};

// value times the factor of the selected unit; an index outside the table (no selection)
// leaves the value as read.
Result<double> applyUnit(double value, std::span<const Unit> units, int index);

// True when a text with blanks removed is a decimal number or the beginning of one:
// "-", ".", "1.", "2e-" are; "", ",", "1.2.", "&H1" are not.
bool isDecimalPrefix(std::string_view text);

}  // namespace kippwerk
