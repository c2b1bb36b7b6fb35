// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace kippwerk {
namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isExponentLetter(char c) {
  return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

// Walks a text as if its blanks, tabs and line feeds were not there.
class Cursor {
 public:
  explicit Cursor(std::string_view text) : text_(text) { skip(); }

  bool atEnd() const { return pos_ >= text_.size(); }
  std::size_t position() const { return pos_; }
  char peek() const { return atEnd() ? '\0' : text_[pos_]; }
  void advance() {
    ++pos_;
    skip();
  }
  bool take(char c) {
    if (atEnd() || text_[pos_] != c) return false;
    advance();
    return true;
  }

 private:
  void skip() {
    while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
  }
  std::string_view text_;
  std::size_t pos_ = 0;
};

int digitValue(char c, int base) {
  int d = -1;
  if (isDigit(c)) d = c - '0';
  if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
  if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
  return d < base ? d : -1;
}

// &H / &O: a value up to FFFF is a signed 16-bit number unless a '&' follows the digits,
// anything larger a signed 32-bit one; beyond 32 bits there is no such number.
Result<double> readRadix(Cursor& in, int base) {
  std::uint64_t value = 0;
  for (int d = digitValue(in.peek(), base); d >= 0; d = digitValue(in.peek(), base)) {
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    if (value > 0xFFFFFFFFu) return Error::OutOfRange;
    in.advance();
  }
  const bool longSuffix = in.take('&');
  if (value <= 0xFFFFu && !longSuffix) {
    return static_cast<double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(value)));
  }
  return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

// The largest double is displayed as 1.79769313486232E+308, which lies above it; a text up to
// that value reads as the largest double, so that every displayed number reads back.
bool withinDisplayedMaximum(std::string_view digits, long long magnitude) {
  constexpr std::string_view kBound = "179769313486232";
  if (magnitude != 309) return magnitude < 309;
  for (std::size_t i = 0; i < std::max(digits.size(), kBound.size()); ++i) {
    const char d = i < digits.size() ? digits[i] : '0';
    const char b = i < kBound.size() ? kBound[i] : '0';
    if (d != b) return d < b;
  }
  return true;
}

// The exponent is kept far beyond any double's reach but small enough not to overflow.
constexpr long long kExponentCap = 100000;

Result<double> readDecimal(Cursor& in) {
  bool negative = false;
  if (in.peek() == '+' || in.peek() == '-') {
    negative = in.peek() == '-';
    in.advance();
  }
  // Significant digits, leading zeros dropped. 800 digits decide the nearest double; of any
  // further digits only whether one of them is not 0 matters.
  constexpr std::size_t kKept = 800;
  char digits[kKept + 32];
  std::size_t count = 0;
  bool droppedNonZero = false;
  long long scale = 0;  // value = digits * 10^scale
  bool anyDigit = false;
  bool point = false;
  for (;;) {
    const char c = in.peek();
    if (isDigit(c)) {
      anyDigit = true;
      if (c != '0' || count > 0) {
        if (count < kKept) {
          digits[count++] = c;
        } else {
          droppedNonZero = droppedNonZero || c != '0';
          ++scale;
        }
      }
      if (point) --scale;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
    in.advance();
  }
  if (!anyDigit) return 0.0;

  if (isExponentLetter(in.peek())) {
    // The letter belongs to the number only when digits follow it.
    Cursor look = in;
    look.advance();
    bool expNegative = false;
    if (look.peek() == '+' || look.peek() == '-') {
      expNegative = look.peek() == '-';
      look.advance();
    }
    if (isDigit(look.peek())) {
      long long exponent = 0;
      while (isDigit(look.peek())) {
        exponent = std::min(exponent * 10 + (look.peek() - '0'), kExponentCap);
        look.advance();
      }
      scale += expNegative ? -exponent : exponent;
      in = look;
    }
  }

  const double zero = negative ? -0.0 : 0.0;
  if (count == 0) return zero;
  const long long magnitude = scale + static_cast<long long>(count);  // 10^(m-1) <= |v|
  if (magnitude > 400) return Error::OutOfRange;
  if (magnitude < -400) return zero;

  const std::string_view significant(digits, count);
  if (droppedNonZero) {  // a sticky digit keeps halfway cases from looking exact
    digits[count++] = '1';
    --scale;
  }
  digits[count++] = 'e';
  const auto written = std::to_chars(digits + count, digits + sizeof digits, scale);
  double value = 0.0;
  const auto [end, ec] = std::from_chars(digits, written.ptr, value);
  (void)end;
  if (ec == std::errc::result_out_of_range) {
    if (magnitude <= 0) return zero;
    if (!withinDisplayedMaximum(significant, magnitude)) return Error::OutOfRange;
    value = std::numeric_limits<double>::max();
  } else if (ec != std::errc() || !std::isfinite(value)) {
    return Error::OutOfRange;
  }
  return negative ? -value : value;
}

}  // namespace

NumberReading readNumber(std::string_view text) {
  Cursor in(text);
  const std::size_t start = in.position();
  auto rest = [&text](const Cursor& at) {
    std::string_view r = text.substr(at.position());
    while (!r.empty() && isBlank(r.back())) r.remove_suffix(1);
    return r;
  };
  if (in.peek() == '&') {
    Cursor radix = in;
    radix.advance();
    const char kind = radix.peek();
    if (kind == 'H' || kind == 'h' || kind == 'O' || kind == 'o') {
      radix.advance();
      const bool anyDigit = digitValue(radix.peek(), (kind == 'H' || kind == 'h') ? 16 : 8) >= 0;
      Result<double> value = readRadix(radix, (kind == 'H' || kind == 'h') ? 16 : 8);
      return {std::move(value), anyDigit ? rest(radix) : rest(in)};
    }
  }
  Cursor decimal = in;
  Result<double> value = readDecimal(decimal);
  // Without a digit nothing was read, a sign or a point included.
  bool anyDigit = false;
  for (std::size_t i = start; i < decimal.position() && !anyDigit; ++i) anyDigit = isDigit(text[i]);
  return {std::move(value), anyDigit ? rest(decimal) : rest(in)};
}

Result<double> parseValue(std::string_view text) {
  return readNumber(text).value;
}

double roundValue(double x, int n) {
  const double scale = std::pow(10.0, n);
  const double y = x * scale;
  if (!std::isfinite(y) || scale == 0.0 || !std::isfinite(scale)) return x;
  double r = std::round(y);  // halves away from zero ...
  if (std::fabs(r - y) == 0.5 && std::fmod(r, 2.0) != 0.0) {
    r -= std::copysign(1.0, y);  // ... so step back to the even neighbour
  }
  const double rounded = r / scale;
  return std::isfinite(rounded) ? rounded : x;  // a negative n can round up past the largest double
}

std::string formatValue(double x) {
  if (!std::isfinite(x)) return {};
  if (x == 0.0) return " 0";

  // d.dddddddddddddde±X: the value rounded to 15 significant digits, exponent taken after it.
  char buf[40];
  const auto res =
      std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 14);
  const std::string_view sci(buf, static_cast<std::size_t>(res.ptr - buf));
  const std::size_t e = sci.find('e');
  std::string digits;
  digits.push_back(sci[0]);
  digits.append(sci.substr(2, e - 2));
  const int exponent = std::atoi(std::string(sci.substr(e + 1)).c_str());
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out(1, x < 0 ? '-' : ' ');
  if (exponent < -4 || exponent >= 15) {
    out += digits[0];
    if (digits.size() > 1) {
      out += '.';
      out.append(digits, 1);
    }
    out += 'E';
    out += exponent < 0 ? '-' : '+';
    const int size = std::abs(exponent);
    if (size < 10) out += '0';
    out += std::to_string(size);
  } else if (exponent < 0) {
    out += '.';
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out += digits;
  } else {
    const auto intDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= intDigits) {
      out += digits;
      out.append(intDigits - digits.size(), '0');
    } else {
      out.append(digits, 0, intDigits);
      out += '.';
      out.append(digits, intDigits);
    }
  }
  return out;
}

Result<double> periodToFrequency(double period) {
  if (period == 0.0) return 0.0;
  const double f = 1.0 / period;
  if (!std::isfinite(f)) return Error::OutOfRange;
  return f;
}

Result<double> applyUnit(double value, std::span<const Unit> units, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= units.size()) return value;
  const double scaled = value * units[static_cast<std::size_t>(index)].factor;
  if (!std::isfinite(scaled)) return Error::OutOfRange;
  return scaled;
}

bool isDecimalPrefix(std::string_view text) {
  Cursor in(text);
  if (in.atEnd()) return false;
  if (in.peek() == '+' || in.peek() == '-') in.advance();
  bool anyDigit = false;
  bool point = false;
  for (; !in.atEnd(); in.advance()) {
    const char c = in.peek();
    if (isDigit(c)) {
      anyDigit = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (in.atEnd()) return true;
  if (!anyDigit || !isExponentLetter(in.peek())) return false;
  in.advance();
  if (in.peek() == '+' || in.peek() == '-') in.advance();
  while (isDigit(in.peek())) in.advance();
  return in.atEnd();
}

}  // namespace kippwerk
