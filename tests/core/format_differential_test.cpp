// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// formatValue against a reference built from the C library's %.15g, which applies the same
// switch to exponent form (exponent below -4 or at least 15) but by a different road.

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "core/numbers.h"

namespace kippwerk {
namespace {

std::string referenceFormat(double x) {
  if (x == 0.0) return " 0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", std::fabs(x));
  std::string s = buf;
  std::string mantissa = s, exponent;
  if (const auto e = s.find('e'); e != std::string::npos) {
    mantissa = s.substr(0, e);
    exponent = "E" + s.substr(e + 1);  // %g writes the sign and at least two digits too
  }
  if (mantissa.rfind("0.", 0) == 0) mantissa.erase(0, 1);
  return (x < 0 ? "-" : " ") + mantissa + exponent;
}

// Doubles from every corner: uniform bit patterns, subnormals, powers of ten and their
// neighbours, exact halves at the 15th digit, small integers.
class Sampler {
 public:
  explicit Sampler(std::uint64_t seed) : rng_(seed) {}

  double next() {
    const std::uint64_t bits = rng_();
    switch (rng_() % 6) {
      case 0:
      case 1: {
        const double d = std::bit_cast<double>(bits);
        return std::isfinite(d) ? d : 1.0;
      }
      case 2:  // subnormal
        return std::bit_cast<double>(bits & 0x800FFFFFFFFFFFFFull);
      case 3: {  // near a power of ten
        const double p = std::pow(10.0, static_cast<int>(rng_() % 617) - 308);
        const int steps = static_cast<int>(rng_() % 5) - 2;
        double d = p;
        for (int i = 0; i < std::abs(steps); ++i) d = std::nextafter(d, steps < 0 ? 0.0 : HUGE_VAL);
        return (bits & 1) ? -d : d;
      }
      case 4: {  // a 16-digit decimal ending in 5: a tie at 15 digits, or its neighbour
        const auto digits = static_cast<double>(rng_() % 900000000000000ull + 100000000000000ull);
        const double d = (digits * 10 + 5) * std::pow(10.0, static_cast<int>(rng_() % 40) - 25);
        return (bits & 1) ? std::nextafter(d, 0.0) : d;
      }
      default:
        return static_cast<double>(static_cast<std::int64_t>(bits % 2000001) - 1000000) / 8.0;
    }
  }

 private:
  std::mt19937_64 rng_;
};

TEST(FormatValueDifferential, MatchesThePrintfReferenceOverAMillionDoubles) {
  ASSERT_NE(std::setlocale(LC_NUMERIC, "C"), nullptr);
  Sampler sample(20261208);
  int mismatches = 0;
  for (int i = 0; i < 1'000'000 && mismatches < 10; ++i) {
    const double x = sample.next();
    const std::string got = formatValue(x);
    const std::string want = referenceFormat(x);
    if (got != want) {
      ++mismatches;
      ADD_FAILURE() << "x = " << std::hexfloat << x << ": got '" << got << "', want '" << want
                    << "'";
    }
  }
}

TEST(FormatValueDifferential, ReadsBackAsTheFifteenDigitValue) {
  Sampler sample(555);
  for (int i = 0; i < 1'000'000; ++i) {
    const double x = sample.next();
    const Result<double> back = parseValue(formatValue(x));
    ASSERT_TRUE(back.ok()) << formatValue(x);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", x);
    double fifteen = std::strtod(buf, nullptr);
    // above the largest double at 15 digits: reads back as the largest double
    if (std::isinf(fifteen)) fifteen = std::copysign(std::numeric_limits<double>::max(), x);
    ASSERT_EQ(back.value(), fifteen) << std::hexfloat << x << " -> " << formatValue(x);
  }
}

}  // namespace
}  // namespace kippwerk
