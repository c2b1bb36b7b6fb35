// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/partfields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <algorithm>

#include "core/normtext.h"
#include "ui/reading.h"

namespace kippwerk::ui {
namespace {

QComboBox* makeList(const QStringList& items) {
  auto* list = new QComboBox;
  list->addItems(items);
  return list;
}

QComboBox* makeSeriesList(std::span<const Series> series) {
  QStringList names;
  for (Series s : series) names << fromCore(seriesName(s));
  return makeList(names);
}

QComboBox* makeToleranceList(std::span<const double> percents) {
  QStringList texts;
  for (double p : percents) texts << QStringLiteral("± %1 %").arg(fromCore(exactText(p)));
  return makeList(texts);
}

template <class Table>
QComboBox* makeNameList(const Table& table) {
  QStringList names;
  for (const auto& row : table) names << fromCore(row.name);
  return makeList(names);
}

QWidget* makeField(const Field& f) {
  const QString text = QString::fromUtf8(f.text);
  switch (f.kind) {
    case Cell::Label: {
      auto* label = new QLabel(text);
      const bool name = text.endsWith(QLatin1Char('='));
      label->setAlignment((name ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
      return label;
    }
    case Cell::Box: {
      auto* box = new QLineEdit(text);
      box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      box->setMinimumWidth(110);  // a full-precision time fits
      return box;
    }
    case Cell::ResistorUnits:
      return makeUnitList(resistorUnits);
    case Cell::CapacitorUnits:
      return makeUnitList(capacitorUnits);
    case Cell::SmallCapacitorUnits:
      return makeUnitList(kSmallCapacitorUnits);
    case Cell::ResistorSeries:
      return makeSeriesList(kResistorSeries);
    case Cell::CapacitorSeries:
      return makeSeriesList(kCapacitorSeries);
    case Cell::ResistorTolerance:
      return makeToleranceList(kResistorTolerances);
    case Cell::CapacitorTolerance:
      return makeToleranceList(kCapacitorTolerances);
    case Cell::Family:
      return makeNameList(kChipFamilies);
    case Cell::Diode:
      return makeNameList(kDiodes);
    case Cell::Choice:
      return makeList(text.split(QLatin1Char('|')));
    case Cell::Check:
      return new QCheckBox(text);
  }
  return nullptr;
}

std::size_t indexOf(const QComboBox* list, std::size_t size) {
  return static_cast<std::size_t>(std::clamp(list->currentIndex(), 0, static_cast<int>(size) - 1));
}

}  // namespace

QGridLayout* buildFields(std::span<const Field> fields) {
  auto* grid = new QGridLayout;
  QWidget* previous = nullptr;
  for (const Field& f : fields) {
    QWidget* w = makeField(f);
    w->setObjectName(QString::fromUtf8(f.name));
    if (f.accessibleName != nullptr) {
      w->setAccessibleName(QString::fromUtf8(f.accessibleName));
      if (auto* label = qobject_cast<QLabel*>(previous)) label->setBuddy(w);
      if (auto* list = qobject_cast<QComboBox*>(w)) list->setCurrentIndex(f.index);
    }
    grid->addWidget(w, f.row, f.column, 1, f.span);
    previous = w;
  }
  return grid;
}

void chainTabOrder(QWidget* owner, std::span<const Field> fields, QWidget* last) {
  QWidget* before = nullptr;
  for (const Field& f : fields) {
    if (f.kind == Cell::Label) continue;
    QWidget* w = owner->findChild<QWidget*>(QString::fromUtf8(f.name));
    if (before != nullptr) QWidget::setTabOrder(before, w);
    before = w;
  }
  if (before != nullptr && last != nullptr) QWidget::setTabOrder(before, last);
}

Series resistorSeriesOf(const QComboBox* list) {
  return kResistorSeries[indexOf(list, std::size(kResistorSeries))];
}

Series capacitorSeriesOf(const QComboBox* list) {
  return kCapacitorSeries[indexOf(list, std::size(kCapacitorSeries))];
}

double resistorToleranceOf(const QComboBox* list) {
  return kResistorTolerances[indexOf(list, std::size(kResistorTolerances))] / 100.0;
}

double capacitorToleranceOf(const QComboBox* list) {
  return kCapacitorTolerances[indexOf(list, std::size(kCapacitorTolerances))] / 100.0;
}

void followSeries(const QComboBox* series, QComboBox* tolerance) {
  const double usual = usualTolerance(resistorSeriesOf(series));
  const auto* at = std::find(std::begin(kResistorTolerances), std::end(kResistorTolerances), usual);
  const QSignalBlocker quiet(tolerance);
  tolerance->setCurrentIndex(static_cast<int>(at - std::begin(kResistorTolerances)));
}

const ChipFamily& familyOf(const QComboBox* list) {
  return kChipFamilies[indexOf(list, kChipFamilies.size())];
}

const DiodeModel& diodeOf(const QComboBox* list) {
  return kDiodes[indexOf(list, kDiodes.size())];
}

QString emptyRangeText(const char* part, double min, double max, Series series) {
  const QString p = QString::fromUtf8(part);
  if (min > max) return QStringLiteral("%1 min ist größer als %1 max.").arg(p);
  return QStringLiteral("Zwischen %1 min und %1 max liegt kein Wert der Reihe %2.")
      .arg(p, fromCore(seriesName(series)));
}

QString outOfRangeText(const QString& where) {
  return QStringLiteral("Der Wert %1 liegt außerhalb des darstellbaren Zahlenbereichs.").arg(where);
}

Result<double, QString> readPositive(const QLineEdit* box, const QComboBox* units,
                                     std::span<const Unit> table, const QString& name) {
  const Result<double> v = readScaled(box, units, table);
  if (!v) return outOfRangeText(QStringLiteral("bei „%1“").arg(name));
  if (!(v.value() > 0.0)) {
    return QStringLiteral("Bitte bei „%1“ einen Wert größer als 0 eingeben.").arg(name);
  }
  return v.value();
}

Result<double, QString> readSupply(const QLineEdit* box, const ChipFamily& family) {
  const double ub = parseValue(box->text().toStdString()).valueOr(0.0);
  if (!(ub >= family.ubMin && ub <= family.ubMax)) {
    return QStringLiteral("Die Betriebsspannung muss %1 zwischen %2 V und %3 V liegen.")
        .arg(fromCore(family.where), fromCore(exactText(family.ubMin)),
             fromCore(exactText(family.ubMax)));
  }
  return ub;
}

}  // namespace kippwerk::ui
