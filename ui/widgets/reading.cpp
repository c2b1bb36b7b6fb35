// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/widgets/reading.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>
#include <optional>

namespace kippwerk::ui {

Result<double> readScaled(const QLineEdit* box, const QComboBox* units,
                          std::span<const Unit> table) {
  const Result<double> read = parseValue(box->text().toStdString());
  if (!read) return read;
  return applyUnit(read.value(), table, units->currentIndex());
}

// The table's text where it reads back as the same number up to its last binary digits ("4.7"
// nF means the capacitor of 4.7 nF, though 4.7 times 1e-9 is not the double nearest to 4.7e-9),
// else the shortest exact number in the largest unit that keeps it at 1 or above (a fixed R2
// of 100.04 k Ohm as "100.04").
ScaledText exactPart(double value, std::span<const Unit> units) {
  auto readBack = [&](const ScaledText& t) {
    const Result<double> read = parseValue(t.number);
    return read ? applyUnit(read.value(), units, t.unit).valueOr(0.0) : 0.0;
  };
  const ScaledText shown = partNumber(value, units);
  if (std::fabs(readBack(shown) - value) <= std::fabs(value) * 1e-14) return shown;
  // The largest unit that keeps the number at 1 or above, the smallest for smaller values.
  std::optional<ScaledText> nearest;
  for (int i = static_cast<int>(units.size()) - 1; i >= 0; --i) {
    const double factor = units[static_cast<std::size_t>(i)].factor;
    const ScaledText t{exactText(value / factor), i};
    if (value >= factor || i == 0) {
      if (readBack(t) == value) return t;
      if (!nearest) nearest = t;
    }
  }
  const auto base =
      std::find_if(units.begin(), units.end(), [](const Unit& u) { return u.factor == 1.0; });
  if (base != units.end()) return {exactText(value), static_cast<int>(base - units.begin())};
  return *nearest;  // a list without a unit of 1: as near as its units read
}

QComboBox* makeUnitList(std::span<const Unit> units) {
  auto* list = new QComboBox;
  list->setEditable(false);
  fillUnitList(list, units, -1);
  return list;
}

void fillUnitList(QComboBox* list, std::span<const Unit> units, int index) {
  const QSignalBlocker quiet(list);
  list->clear();
  for (const Unit& u : units) list->addItem(fromCore(u.name));
  list->setCurrentIndex(index);
}

}  // namespace kippwerk::ui
