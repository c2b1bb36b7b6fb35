// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/timeentry.h"

#include <cmath>

#include "core/numbers.h"

namespace kippwerk {
namespace {

// Period and frequency follow from the two times.
Result<Times> withPeriod(Times q) {
  q.tperiode = q.taus + q.tein;
  if (!std::isfinite(q.tperiode)) return Error::OutOfRange;
  const Result<double> f = periodToFrequency(q.tperiode);
  if (!f) return f.error();
  q.frequenz = f.value();
  return q;
}

}  // namespace

std::string displayText(double x) {
  std::string text = formatValue(roundValue(x, 3));
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

Result<Times> afterTeinTyped(Times q, double tein, bool equalTimes) {
  q.tein = tein;
  if (equalTimes) q.taus = q.tein;
  return withPeriod(q);
}

Result<Times> afterTausTyped(Times q, double taus) {
  q.taus = taus;
  return withPeriod(q);
}

Result<Times> afterFrequencyTyped(Times q, double frequenz) {
  q.frequenz = frequenz;
  if (frequenz != 0.0) {
    const double twice = 2.0 * frequenz;
    q.tein = 1.0 / twice;
    if (!std::isfinite(twice) || !std::isfinite(q.tein)) return Error::OutOfRange;
  } else {
    q.tein = 0.0;
  }
  q.taus = q.tein;
  q.tperiode = q.tein + q.taus;
  if (!std::isfinite(q.tperiode)) return Error::OutOfRange;
  return q;
}

Result<Times> afterModeSwitched(Times q, bool equalTimes) {
  if (equalTimes) q.taus = q.tein;
  return withPeriod(q);
}

}  // namespace kippwerk
