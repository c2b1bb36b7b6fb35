// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The inputs the windows that pick standard parts share: a grid of fields made from a table
// (labels, boxes, unit, series, tolerance and circuit drop-downs), and the reading of those
// fields with the program's number rules into values or a German status line.

#include <QString>
#include <span>

#include "core/circuit.h"
#include "core/eseries.h"
#include "core/numbers.h"
#include "core/result.h"

class QComboBox;
class QGridLayout;
class QLineEdit;
class QWidget;

namespace kippwerk::ui {

inline constexpr Series kResistorSeries[] = {Series::E6,  Series::E12, Series::E24,
                                             Series::E48, Series::E96, Series::E192};
inline constexpr Series kCapacitorSeries[] = {Series::E3, Series::E6, Series::E12, Series::E24};
inline constexpr int kResistorSeriesAtFirst = 2;   // E24
inline constexpr int kCapacitorSeriesAtFirst = 1;  // E6
// Tolerances in percent; the resistors' list follows the series (usualTolerance).
inline constexpr double kResistorTolerances[] = {0.1, 0.25, 0.5, 1, 2, 5, 10, 20};
inline constexpr double kCapacitorTolerances[] = {1, 2, 5, 10, 20};
inline constexpr int kResistorToleranceAtFirst = 5;   // 5 %, the class of E24
inline constexpr int kCapacitorToleranceAtFirst = 3;  // 10 %
// The capacitor units up to uF, for timing capacitors.
inline constexpr std::span<const Unit> kSmallCapacitorUnits{capacitorUnits.data(), 3};

// What a field of the grid is.
enum class Cell {
  Label,  // right-aligned when its text ends in "=", as it names the box beside it
  Box,
  ResistorUnits,
  CapacitorUnits,
  SmallCapacitorUnits,  // pF, nF and uF only
  ResistorSeries,
  CapacitorSeries,
  ResistorTolerance,
  CapacitorTolerance,
  Family,  // the chip families
  Diode,   // the diode models
  Choice,  // a drop-down of the texts given, separated by '|'
  Check
};

// One field: its object name, kind, caption or first text, and its place in the grid.
struct Field {
  const char* name;
  Cell kind;
  const char* text;
  int row, column, span;
  const char* accessibleName = nullptr;  // inputs only; a label just before is its buddy
  int index = -1;                        // first selection of a drop-down
};

// The fields as widgets named after their rows, in a grid; the inputs in the table's order
// are also the Tab order, which ends with `last`.
QGridLayout* buildFields(std::span<const Field> fields);
void chainTabOrder(QWidget* owner, std::span<const Field> fields, QWidget* last);

Series resistorSeriesOf(const QComboBox* list);
Series capacitorSeriesOf(const QComboBox* list);
// The selected tolerance as a fraction (0.05 for ± 5 %).
double resistorToleranceOf(const QComboBox* list);
double capacitorToleranceOf(const QComboBox* list);
// Selects the tolerance class the resistor series is usually sold in, without reporting it.
void followSeries(const QComboBox* series, QComboBox* tolerance);

const ChipFamily& familyOf(const QComboBox* list);
const DiodeModel& diodeOf(const QComboBox* list);

// A box's number scaled by its unit, which must be above 0; else the status line that names
// the box ("R min").
Result<double, QString> readPositive(const QLineEdit* box, const QComboBox* units,
                                     std::span<const Unit> table, const QString& name);

// Ub in volts inside the family's range, or the status line that gives the range.
Result<double, QString> readSupply(const QLineEdit* box, const ChipFamily& family);

// "R min ist größer als R max.", or that the series has no value between them.
QString emptyRangeText(const char* part, double min, double max, Series series);

// "Der Wert bei „R max“ liegt …", or with `where` "von R2".
QString outOfRangeText(const QString& where);

}  // namespace kippwerk::ui
