// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace kippwerk::testing {

// Lines joined by CR LF, no break after the last one, as the result labels hold them.
inline std::string crlf(std::initializer_list<const char*> lines) {
  std::string out;
  for (const char* line : lines) {
    if (!out.empty() || line != *lines.begin()) out += "\r\n";
    out += line;
  }
  return out;
}

// A shortfall as expected, its reach to 12 digits (it comes from a product of parts).
template <class Shortfall>
void expectShortfall(Shortfall got, const Shortfall& want) {
  EXPECT_NEAR(got.reach, want.reach, want.reach * 1e-12);
  got.reach = want.reach;
  EXPECT_EQ(got, want);
}

// Names data-driven rows by their `name` field.
struct RowName {
  template <class P>
  std::string operator()(const ::testing::TestParamInfo<P>& info) const {
    return info.param.name;
  }
};

}  // namespace kippwerk::testing
