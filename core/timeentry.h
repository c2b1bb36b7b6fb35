// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The time-entry page keeps t-EIN, t-AUS, the period and the frequency consistent while the
// user types. Each operation takes the current quantities and gives the new ones; the caller
// stores them only when the result is a value, so an error leaves everything as it was.

#include <string>

#include "core/result.h"
#include "core/timing.h"

namespace kippwerk {

// What a time box shows for a quantity: rounded to 3 decimals, without surrounding blanks.
std::string displayText(double x);

// t-EIN typed; in the t-EIN = t-AUS mode t-AUS follows it.
Result<Times> afterTeinTyped(Times q, double tein, bool equalTimes);

// t-AUS typed; the mode is not consulted.
Result<Times> afterTausTyped(Times q, double taus);

// Frequency typed (only possible in the t-EIN = t-AUS mode): both times become half the
// period. The frequency keeps the typed value.
Result<Times> afterFrequencyTyped(Times q, double frequenz);

// The t-EIN = t-AUS box changed: entering the mode copies t-EIN into t-AUS.
Result<Times> afterModeSwitched(Times q, bool equalTimes);

}  // namespace kippwerk
