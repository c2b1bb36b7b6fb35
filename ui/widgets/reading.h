// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What both windows share between their controls and the core: numbers read from a text box
// and its unit drop-down, texts handed over from the core, and the unit drop-downs themselves.

#include <QString>
#include <span>
#include <string_view>

#include "core/normtext.h"
#include "core/numbers.h"

class QComboBox;
class QLineEdit;

namespace kippwerk::ui {

inline QString fromCore(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The box's number scaled by the unit selected beside it.
Result<double> readScaled(const QLineEdit* box, const QComboBox* units,
                          std::span<const Unit> table);

// A number and a unit index that a box and its unit list read back as `value`: the part's
// table text where it reads back as the same number up to its last binary digits, else an
// exact text. What a window hands over to another.
ScaledText exactPart(double value, std::span<const Unit> units);

// A pick-only drop-down with the table's unit names, nothing selected.
QComboBox* makeUnitList(std::span<const Unit> units);

// Replaces the items of a drop-down by the table's names and selects `index`, without
// reporting the intermediate states.
void fillUnitList(QComboBox* list, std::span<const Unit> units, int index);

}  // namespace kippwerk::ui
