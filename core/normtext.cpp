// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/normtext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace kippwerk {
namespace {

int exponentOf(const Unit& u) {
  return static_cast<int>(std::lround(std::log10(u.factor)));
}

std::string_view trimmed(std::string_view name) {
  while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
  return name;
}

}  // namespace

ScaledText scaledText(double x, std::span<const Unit> units, int significant, bool keepZeros) {
  ScaledText out;
  if (!std::isfinite(x) || units.empty()) return out;
  int unit = 0;
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (units[i].factor == 1.0) unit = static_cast<int>(i);
  }
  if (x == 0.0) return {std::string(1, '0'), unit};
  // d.ddde±X: rounded first, so 999.96 becomes 1.000e3 and moves to the next unit.
  char buf[48];
  const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific,
                                 significant - 1);
  const std::string_view sci(buf, static_cast<std::size_t>(res.ptr - buf));
  const std::size_t e = sci.find('e');
  std::string digits(1, sci[0]);
  if (e > 2) digits.append(sci.substr(2, e - 2));
  std::string_view expText = sci.substr(e + 1);
  if (expText.front() == '+') expText.remove_prefix(1);
  int exponent = 0;
  std::from_chars(expText.data(), expText.data() + expText.size(), exponent);

  unit = 0;
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (exponentOf(units[i]) <= exponent) unit = static_cast<int>(i);
  }
  const int shift = exponent - exponentOf(units[static_cast<std::size_t>(unit)]);
  // Built by appending only: g++ 12 warns falsely about assignments of literals here.
  std::string number, fraction;
  if (x < 0) number.push_back('-');
  const bool exponentForm = shift > 14 || shift < -6;  // far beyond the table
  if (exponentForm) {
    number.push_back(digits[0]);
    fraction.append(digits, 1);
  } else if (shift >= 0) {
    const auto wholeDigits = static_cast<std::size_t>(shift) + 1;
    if (digits.size() < wholeDigits) digits.append(wholeDigits - digits.size(), '0');
    number.append(digits, 0, wholeDigits);
    fraction.append(digits, wholeDigits);
  } else {
    number.push_back('0');
    fraction.append(static_cast<std::size_t>(-shift - 1), '0');
    fraction.append(digits);
  }
  if (!keepZeros) {
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  }
  if (!fraction.empty()) {
    number.push_back('.');
    number.append(fraction);
  }
  if (exponentForm) {
    number.append(shift < 0 ? "E-" : "E+");
    number.append(std::to_string(std::abs(shift)));
  }
  out.number = number;
  out.unit = unit;
  return out;
}

std::string unitText(const ScaledText& t, std::span<const Unit> units) {
  std::string out = t.number;
  out += ' ';
  out += trimmed(units[static_cast<std::size_t>(t.unit)].name);
  return out;
}

ScaledText partNumber(double x, std::span<const Unit> units) {
  return scaledText(x, units, 4, false);
}

std::string partText(double x, std::span<const Unit> units) {
  return unitText(partNumber(x, units), units);
}

std::string timeText(double seconds) {
  return unitText(scaledText(seconds, timeUnits, 4, true), timeUnits);
}

std::string frequencyText(double hertz) {
  return unitText(scaledText(hertz, frequencyUnits, 4, true), frequencyUnits);
}

std::string fixedText(double x, int decimals) {
  if (!std::isfinite(x)) return {};
  // A double has at most 309 digits before the point.
  char buf[400];
  const auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, decimals);
  return std::string(buf, res.ptr);
}

namespace {

// Beyond this many percent a percentage says nothing a reader can use.
constexpr double kWordsFrom = 1000.0;

// The digits of |x| in scientific form, without the point, and the exponent of the first:
// shortest exact with significant = 0.
std::pair<std::string, int> digitsOf(double x, int significant) {
  char buf[48];
  const auto res = significant > 0 ? std::to_chars(buf, buf + sizeof buf, std::fabs(x),
                                                   std::chars_format::scientific, significant - 1)
                                   : std::to_chars(buf, buf + sizeof buf, std::fabs(x),
                                                   std::chars_format::scientific);
  const std::string_view sci(buf, static_cast<std::size_t>(res.ptr - buf));
  const std::size_t e = sci.find('e');
  std::string digits(1, sci[0]);
  if (e > 2) digits.append(sci.substr(2, e - 2));
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string_view expText = sci.substr(e + 1);
  if (expText.front() == '+') expText.remove_prefix(1);
  int exponent = 0;
  std::from_chars(expText.data(), expText.data() + expText.size(), exponent);
  return {digits, exponent};
}

// Positional from 1E-04 to below 1E+15, as the main window switches; else d.dddE+XX.
std::string written(double x, int significant) {
  if (!std::isfinite(x)) return {};
  if (x == 0.0) return "0";
  const auto [digits, exponent] = digitsOf(x, significant);
  std::string out(x < 0.0 ? "-" : "");
  if (exponent < -4 || exponent >= 15) {
    out += digits[0];
    if (digits.size() > 1) out.append(".").append(digits, 1);
    out += exponent < 0 ? "E-" : "E+";
    const std::string size = std::to_string(std::abs(exponent));
    if (size.size() < 2) out += '0';
    return out + size;
  }
  if (exponent < 0) {
    return out + "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  }
  const auto whole = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= whole) return out + digits + std::string(whole - digits.size(), '0');
  return out + digits.substr(0, whole) + "." + digits.substr(whole);
}

}  // namespace

std::string percentText(double relative) {
  const double percent = relative * 100.0;
  if (std::isnan(percent)) return {};
  if (percent > kWordsFrom) return "mehr als das Zehnfache";
  if (percent < -kWordsFrom) return "mehr als das Zehnfache darunter";
  // One form for every size, so a column of them reads alike.
  std::string number = fixedText(percent, 2);
  const bool zero = number.find_first_not_of("-0.") == std::string::npos;
  if (zero) return "0.00 %";
  if (number.front() != '-') number.insert(number.begin(), '+');
  return number + " %";
}

std::string sizeText(double relative) {
  const double percent = std::fabs(relative * 100.0);
  if (std::isnan(percent)) return {};
  if (percent > kWordsFrom) return "mehr als das Zehnfache";
  return fixedText(percent, 2) + " %";
}

std::string numberText(double x, int significant) {
  return written(x, std::clamp(significant, 1, 17));
}

std::string ratioText(double x) {
  if (!std::isfinite(x)) return {};
  // Two decimals where they are at most 4 significant digits; else 4 (2 below 0.1, where the
  // leading zeros make the point).
  if (std::fabs(x) >= 0.1 && std::fabs(x) < 100.0) return fixedText(x, 2);
  return written(x, std::fabs(x) < 0.1 ? 2 : 4);
}

std::string countText(long long n) {
  const std::string digits = std::to_string(n < 0 ? -n : n);
  std::string out(n < 0 ? "-" : "");
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ' ';
    out += digits[i];
  }
  return out;
}

std::string exactText(double x) {
  return written(x, 0);
}

std::string shortenedText(std::string_view text, std::size_t length) {
  // Counted in characters, not bytes: a cut never splits an umlaut.
  std::size_t characters = 0, cut = text.size();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (characters == length) {
      cut = i;
      break;
    }
    ++characters;
  }
  if (cut == text.size()) return std::string(text);
  return std::string(text.substr(0, cut)) + "…";
}

}  // namespace kippwerk
