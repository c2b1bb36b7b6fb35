// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The inputs the windows that pick standard parts share: a grid of fields made from a table
// (labels, boxes, unit, series, tolerance and circuit drop-downs), and the reading of those
// fields with the program's number rules into values or a German status line.

#include <QString>
#include <functional>
#include <initializer_list>
#include <span>
#include <vector>

#include "core/circuit.h"
#include "core/eseries.h"
#include "core/numbers.h"
#include "core/realspread.h"
#include "core/result.h"

class QComboBox;
class QGridLayout;
class QLabel;
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

// What a field of the grid is.
enum class Cell {
  Label,  // right-aligned when its text ends in "=", as it names the box beside it
  Box,
  ResistorUnits,
  CapacitorUnits,
  ResistorSeries,
  CapacitorSeries,
  ResistorTolerance,
  CapacitorTolerance,
  Family,         // the chip families
  Diode,          // the diode models
  CapacitorType,  // the dielectrics with their temperature coefficients
  Choice,         // a drop-down of the texts given, separated by '|'
  Check,
  Option  // an option button, one of those in the same container; index 1: selected
};

// One field: its object name ('*' stands for the window's letter), kind, caption or first
// text, and its place in the grid.
struct Field {
  const char* name;
  Cell kind;
  const char* text;
  int row, column, span;
  const char* accessibleName = nullptr;  // inputs only; a label just before is its buddy
  int index = -1;                        // first selection of a drop-down
};

// The series, tolerance and range rows of both windows that pick standard parts: two rows
// from row 0, to be placed at the window's own row. The resistors' row alone is the first
// kResistorRangeFields of them.
extern const std::span<const Field> kRangeFields;
inline constexpr std::size_t kResistorRangeFields = 9;

// The surroundings of both windows: the capacitor's dielectric, the temperature range, the
// supply's tolerance and the limit the pass rate counts against; two rows from row 0.
extern const std::span<const Field> kEnvironmentFields;

// The fields as widgets named after their rows with the window's letter, in `grid` from
// `firstRow` on. The inputs in the order of the tables are also the Tab order, which ends
// with `last`.
void buildFields(QGridLayout* grid, std::span<const Field> fields, char letter, int firstRow = 0);
void chainTabOrder(QWidget* owner, std::initializer_list<std::span<const Field>> tables,
                   char letter, QWidget* last);

// What the range rows say: the series, their tolerance classes as fractions and the ranges
// in ohms and farads, or the status line that names the first unusable box.
struct RangeInputs {
  Series resistorSeries = Series::E24, capacitorSeries = Series::E6;
  double resistorTolerance = 0.0, capacitorTolerance = 0.0;
  double rMin = 0.0, rMax = 0.0, cMin = 0.0, cMax = 0.0;

  template <class Search>
  void into(Search& q) const {
    q.resistorSeries = resistorSeries;
    q.capacitorSeries = capacitorSeries;
    q.resistorTolerance = resistorTolerance;
    q.capacitorTolerance = capacitorTolerance;
    q.rMin = rMin;
    q.rMax = rMax;
    q.cMin = cMin;
    q.cMax = cMax;
  }
};
// With `capacitor` false only the resistors' row is read (and there).
Result<RangeInputs, QString> readRangeFields(const QWidget* window, char letter,
                                             bool capacitor = true);

// What the surroundings' rows say, or the status line that names the first unusable box. The
// supply's tolerance must keep Ub within the chip family's range (inside the diode model's).
struct EnvironmentInputs {
  Surroundings around;
  double limit = 0.1;  // fraction
};
Result<EnvironmentInputs, QString> readEnvironmentFields(const QWidget* window, char letter,
                                                         const ChipFamily& family, double ub);

// Every change of the fields of `fields` calls `changed`; a new resistor series first brings
// its tolerance class, which a tolerance picked afterwards overrides until the series changes.
void connectFields(QWidget* window, char letter, std::span<const Field> fields,
                   const std::function<void()>& changed);

Series resistorSeriesOf(const QComboBox* list);
Series capacitorSeriesOf(const QComboBox* list);
// The selected tolerance as a fraction (0.05 for ± 5 %).
double resistorToleranceOf(const QComboBox* list);
double capacitorToleranceOf(const QComboBox* list);
// Selects the tolerance class the resistor series is usually sold in, without reporting it.
void followSeries(const QComboBox* series, QComboBox* tolerance);

const ChipFamily& familyOf(const QComboBox* list);
const CapacitorType& capacitorTypeOf(const QComboBox* list);
const DiodeModel& diodeOf(const QComboBox* list);

// A box's number, or the status line that names the box (`name`, "R min"): when the text holds
// more than one number the reader takes (a comma for the point, letters, a second point), or a
// number beyond the doubles (said `where`, "bei „R min“" unless given).
Result<double, QString> readNumberIn(const QLineEdit* box, const QString& name,
                                     const QString& where = {});

// The same scaled by the unit selected beside it.
Result<double, QString> readBox(const QLineEdit* box, const QComboBox* units,
                                std::span<const Unit> table, const QString& name,
                                const QString& where = {});

// A box's number, which must be above 0; else the status line that names the box.
Result<double, QString> readPositiveNumber(const QLineEdit* box, const QString& name);

// A box's number scaled by its unit, which must be above 0; else the status line that names
// the box ("R min").
Result<double, QString> readPositive(const QLineEdit* box, const QComboBox* units,
                                     std::span<const Unit> table, const QString& name);

// Ub in volts inside the family's range, or the status line that gives the range (or names the
// box "Ub" when its text is not a number).
Result<double, QString> readSupply(const QLineEdit* box, const ChipFamily& family);

// The hints of a row as the table shows them: the briefs joined by ", " for the cell, the
// sentences one a line for its tooltip and the lines below the table.
struct HintTexts {
  QString briefs, reasons;
};
HintTexts hintTexts(const std::vector<Hint>& hints);

// A label for what a window says (a status line, a spread): plain text from the top left.
QLabel* textLabel(const char* name, bool wrap);

}  // namespace kippwerk::ui
