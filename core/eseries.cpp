// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/eseries.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace kippwerk {
namespace {

// clang-format off
constexpr int kE24[] = {10, 11, 12, 13, 15, 16, 18, 20, 22, 24, 27, 30,
                        33, 36, 39, 43, 47, 51, 56, 62, 68, 75, 82, 91};
constexpr int kE12[] = {10, 12, 15, 18, 22, 27, 33, 39, 47, 56, 68, 82};
constexpr int kE6[] = {10, 15, 22, 33, 47, 68};
constexpr int kE3[] = {10, 22, 47};

constexpr int kE192[] = {
    100, 101, 102, 104, 105, 106, 107, 109, 110, 111, 113, 114, 115, 117, 118, 120,
    121, 123, 124, 126, 127, 129, 130, 132, 133, 135, 137, 138, 140, 142, 143, 145,
    147, 149, 150, 152, 154, 156, 158, 160, 162, 164, 165, 167, 169, 172, 174, 176,
    178, 180, 182, 184, 187, 189, 191, 193, 196, 198, 200, 203, 205, 208, 210, 213,
    215, 218, 221, 223, 226, 229, 232, 234, 237, 240, 243, 246, 249, 252, 255, 258,
    261, 264, 267, 271, 274, 277, 280, 284, 287, 291, 294, 298, 301, 305, 309, 312,
    316, 320, 324, 328, 332, 336, 340, 344, 348, 352, 357, 361, 365, 370, 374, 379,
    383, 388, 392, 397, 402, 407, 412, 417, 422, 427, 432, 437, 442, 448, 453, 459,
    464, 470, 475, 481, 487, 493, 499, 505, 511, 517, 523, 530, 536, 542, 549, 556,
    562, 569, 576, 583, 590, 597, 604, 612, 619, 626, 634, 642, 649, 657, 665, 673,
    681, 690, 698, 706, 715, 723, 732, 741, 750, 759, 768, 777, 787, 796, 806, 816,
    825, 835, 845, 856, 866, 876, 887, 898, 909, 920, 931, 942, 953, 965, 976, 988};
constexpr int kE96[] = {
    100, 102, 105, 107, 110, 113, 115, 118, 121, 124, 127, 130, 133, 137, 140, 143,
    147, 150, 154, 158, 162, 165, 169, 174, 178, 182, 187, 191, 196, 200, 205, 210,
    215, 221, 226, 232, 237, 243, 249, 255, 261, 267, 274, 280, 287, 294, 301, 309,
    316, 324, 332, 340, 348, 357, 365, 374, 383, 392, 402, 412, 422, 432, 442, 453,
    464, 475, 487, 499, 511, 523, 536, 549, 562, 576, 590, 604, 619, 634, 649, 665,
    681, 698, 715, 732, 750, 768, 787, 806, 825, 845, 866, 887, 909, 931, 953, 976};
constexpr int kE48[] = {
    100, 105, 110, 115, 121, 127, 133, 140, 147, 154, 162, 169, 178, 187, 196, 205,
    215, 226, 237, 249, 261, 274, 287, 301, 316, 332, 348, 365, 383, 402, 422, 442,
    464, 487, 511, 536, 562, 590, 619, 649, 681, 715, 750, 787, 825, 866, 909, 953};
// clang-format on

struct Table {
  std::string_view name;
  std::span<const int> mantissas;
  int digits;
};

Table table(Series s) {
  switch (s) {
    case Series::E3:
      return {"E3", kE3, 2};
    case Series::E6:
      return {"E6", kE6, 2};
    case Series::E12:
      return {"E12", kE12, 2};
    case Series::E24:
      return {"E24", kE24, 2};
    case Series::E48:
      return {"E48", kE48, 3};
    case Series::E96:
      return {"E96", kE96, 3};
    case Series::E192:
      return {"E192", kE192, 3};
  }
  return {"E24", kE24, 2};
}

constexpr int kLowestDecade = -24;
constexpr int kHighestDecade = 24;

// mantissa * 10^exponent as the nearest double: exact powers of ten up to 1e22 make one
// correctly rounded operation; beyond them the decimal text is read.
double scaled(int mantissa, int exponent) {
  static constexpr std::array<double, 23> kPowers = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const int size = exponent < 0 ? -exponent : exponent;
  if (size < static_cast<int>(kPowers.size())) {
    const double m = mantissa;
    return exponent < 0 ? m / kPowers[static_cast<std::size_t>(size)]
                        : m * kPowers[static_cast<std::size_t>(size)];
  }
  char text[32];
  const int n = std::snprintf(text, sizeof text, "%de%d", mantissa, exponent);
  double v = 0.0;
  std::from_chars(text, text + n, v);
  return v;
}

// Relative slack of the range bounds: far above the noise of a scaled decimal input, far below
// the spacing of any two standard values.
constexpr double kBoundSlack = 1e-12;

}  // namespace

std::span<const int> seriesMantissas(Series s) {
  return table(s).mantissas;
}

int seriesDigits(Series s) {
  return table(s).digits;
}

std::string_view seriesName(Series s) {
  return table(s).name;
}

double usualTolerance(Series s) {
  switch (s) {
    case Series::E3:
    case Series::E6:
      return 20.0;
    case Series::E12:
      return 10.0;
    case Series::E24:
      return 5.0;
    case Series::E48:
      return 2.0;
    case Series::E96:
      return 1.0;
    case Series::E192:
      return 0.5;
  }
  return 5.0;
}

double smallestValue(Series s) {
  return standardValues(s, 0.0, 1e-23).front();
}

double largestValue(Series s) {
  return standardValues(s, 1e23, 1e25).back();
}

std::vector<double> standardValues(Series s, double min, double max) {
  std::vector<double> out;
  if (!std::isfinite(min) || !std::isfinite(max) || min > max || max <= 0.0) return out;
  const double low = min * (1.0 - kBoundSlack);
  const double high = max * (1.0 + kBoundSlack);
  const Table t = table(s);
  int first = kLowestDecade;
  if (min > 0.0) first = std::max(first, static_cast<int>(std::floor(std::log10(min))) - 1);
  const int last = std::min(kHighestDecade, static_cast<int>(std::floor(std::log10(max))) + 1);
  for (int decade = first; decade <= last; ++decade) {
    for (int m : t.mantissas) {
      const double v = scaled(m, decade - t.digits + 1);
      if (v >= low && v <= high) out.push_back(v);
    }
  }
  return out;
}

}  // namespace kippwerk
