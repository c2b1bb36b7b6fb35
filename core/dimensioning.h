// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The second job: R1 and the missing one of R2 and C1 from the desired times and one known
// component, and the nine-line text of the result page.

#include <optional>
#include <string>
#include <string_view>

#include "core/result.h"
#include "core/timing.h"

namespace kippwerk {

inline constexpr std::string_view kInvalidValues = "Ungültige Werte!";
inline constexpr std::string_view kTeinNotGreater = "t-EIN muss größer als t-AUS sein!";

// The first rule that fails gives its message; nothing when the times are usable.
std::optional<std::string_view> checkDesiredTimes(double tein, double taus, double frequenz,
                                                  bool equalTimes);

enum class KnownComponent { C1, R2 };

struct Components {
  double r1 = 0.0;
  double r2 = 0.0;
  double c1 = 0.0;

  friend bool operator==(const Components&, const Components&) = default;
};

// Inverts the timing relations. The known component passes through unchanged.
// Error::ZeroComponent when it is 0, Error::OutOfRange when a step leaves the double range.
Result<Components> dimensionComponents(KnownComponent known, bool diode, double tein, double taus,
                                       double knownValue);

// Lines 1 to 3 of the result text.
struct ComponentLines {
  std::string r1, r2, c1;
};

// After "Weiter": the known value unrounded, question marks for the others.
ComponentLines placeholderLines(KnownComponent known, double knownValue);

// After "Berechne Bauteile": resistors to whole ohms, C1 to whole nanofarads.
ComponentLines computedLines(const Components& c);

// Nine lines joined by CR LF; line 5 is empty.
std::string dimensioningText(const ComponentLines& lines, bool diode, const Times& times);

}  // namespace kippwerk
