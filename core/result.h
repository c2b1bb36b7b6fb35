// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <utility>
#include <variant>

namespace kippwerk {

// Why a calculation gave no number.
enum class Error {
  OutOfRange,     // a value or an intermediate left the range of a double
  ZeroComponent,  // the known component is 0, so the formulas would divide by it
};

// A value or the reason there is none; never both.
template <class T, class E = Error>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::move(value)) {}  // NOLINT: implicit on purpose
  Result(E error) : state_(error) {}             // NOLINT: implicit on purpose

  bool ok() const { return std::holds_alternative<T>(state_); }
  explicit operator bool() const { return ok(); }

  const T& value() const { return std::get<T>(state_); }
  E error() const { return std::get<E>(state_); }
  T valueOr(T fallback) const { return ok() ? value() : std::move(fallback); }

 private:
  std::variant<T, E> state_;
};

}  // namespace kippwerk
