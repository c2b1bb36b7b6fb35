// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Texts of the standard-values window: parts, times and frequencies with a unit chosen so the
// number lies in [1, 1000), and signed percentages. No locale: the point is the separator.

#include <span>
#include <string>

#include "core/numbers.h"

namespace kippwerk {

inline constexpr std::array<Unit, 5> timeUnits{{
    {"ps", 1e-12},
    {"ns", 1e-9},
    {"us", 1e-6},
    {"ms", 1e-3},
    {"s", 1.0},
}};

inline constexpr std::array<Unit, 6> frequencyUnits{{
    {"uHz", 1e-6},
    {"mHz", 1e-3},
    {"Hz", 1.0},
    {"kHz", 1e3},
    {"MHz", 1e6},
    {"GHz", 1e9},
}};

// A number and the index of its unit in the table it was made for.
struct ScaledText {
  std::string number;
  int unit = 0;
};

// x rounded to `significant` digits and written with the largest unit of `units` (ascending
// factors, powers of ten) that keeps the number at 1 or above. Without `keepZeros` the zeros at
// the end of the fraction go: 330 k, 4.7 u. Beyond the table's ends the number leaves [1, 1000).
ScaledText scaledText(double x, std::span<const Unit> units, int significant, bool keepZeros);

// The number, a blank and the unit's name without its leading blank: "4.7 uF", "1 F".
std::string unitText(const ScaledText& t, std::span<const Unit> units);

// "4.99 k Ohm", "4.7 uF": a part with up to 4 significant digits, which shows every standard
// value with its series' digits.
std::string partText(double x, std::span<const Unit> units);
ScaledText partNumber(double x, std::span<const Unit> units);

// "812.3 ms", "47.00 us", "14.20 kHz": 4 significant digits, zeros kept.
std::string timeText(double seconds);
std::string frequencyText(double hertz);

// Every number text of the windows beside the main one is made here, by one rule: digits with
// the point, an exponent only far from 1 and then in the program's form (1.235E+193, never a
// lowercase e), at most 4 significant digits in a ratio, at most 2 decimals in a percentage,
// and percentages beyond +-1000 % said in words. Nothing here ever says inf or nan.

// x with `decimals` digits after the point, no sign for positive numbers: "66.4", "0.50".
// For values that cannot be that large (a share, a duty cycle).
std::string fixedText(double x, int decimals);

// "+1.07 %", "-0.31 %", "0.00 %": a relative value in percent with two decimals and a sign;
// beyond +-1000 % in words ("mehr als das Zehnfache"); empty when it is not a number.
std::string percentText(double relative);

// The same without the sign, for a size ("± 10.00 %", "um 2.81 %"): "10.00 %".
std::string sizeText(double relative);

// Up to `significant` significant digits, no zeros at the end: "0.0004", "12.5", "1E+12",
// "-3.3E-300". What the windows write of a number the user typed.
std::string numberText(double x, int significant = 6);

// A ratio with at most 4 significant digits: "1.60", "0.0011", "1234", "1.235E+05".
std::string ratioText(double x);

// A count with its thousands apart: "10 000".
std::string countText(long long n);

// The shortest text that parseValue reads back as exactly x, in the same form as numberText:
// "0.0004", "4.7", "1.2345678901234567E-300".
std::string exactText(double x);

// A text cut to about `length` characters, "…" where it was cut.
std::string shortenedText(std::string_view text, std::size_t length = 30);

}  // namespace kippwerk
