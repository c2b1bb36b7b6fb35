// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The standard value series of resistors and capacitors. The tables are the published ones:
// several of their values are not what the geometric formula rounds to (E24 has 2.7 and 8.2
// where the formula gives 2.6 and 8.3, E192 has 9.20 where it gives 9.19).

#include <span>
#include <string_view>
#include <vector>

namespace kippwerk {

enum class Series { E3, E6, E12, E24, E48, E96, E192 };

inline constexpr Series kAllSeries[] = {Series::E3,  Series::E6,  Series::E12, Series::E24,
                                        Series::E48, Series::E96, Series::E192};

// The values of one decade as whole numbers of `seriesDigits` digits: 10, 22, 47 for E3.
std::span<const int> seriesMantissas(Series s);
int seriesDigits(Series s);
std::string_view seriesName(Series s);

// The tolerance class usually sold with the series, in percent: E6 20, E12 10, E24 5, E48 2,
// E96 1, E192 0.5 (E3 as E6).
double usualTolerance(Series s);

// Every value of the series in [min, max], ascending. A bound that is itself a standard value
// but carries the last-bit noise of decimal scaling (4.7 * 1e-6) still counts as inside. Only
// the decades from 1e-24 to 1e24 are searched. Empty when min > max or a bound is not finite.
// Index i + (values per decade) is always the value ten times index i, when it is inside.
std::vector<double> standardValues(Series s, double min, double max);

// The smallest and the largest value searched at all.
double smallestValue(Series s);
double largestValue(Series s);

}  // namespace kippwerk
