// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/widgets/partfields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <algorithm>

#include "core/normtext.h"
#include "ui/widgets/reading.h"
#include "ui/widgets/statustexts.h"

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
    case Cell::CapacitorType:
      return makeNameList(kCapacitorTypes);
    case Cell::Choice:
      return makeList(text.split(QLatin1Char('|')));
    case Cell::Check:
      return new QCheckBox(text);
    case Cell::Option:
      return new QRadioButton(text);
  }
  return nullptr;
}

std::size_t indexOf(const QComboBox* list, std::size_t size) {
  return static_cast<std::size_t>(std::clamp(list->currentIndex(), 0, static_cast<int>(size) - 1));
}

// clang-format off
constexpr Field kRanges[] = {
  {"lbl*ReiheR", Cell::Label,             "Wi&derstände:", 0, 0, 1},
  {"cmb*ReiheR", Cell::ResistorSeries,    "",        0, 1, 1, "Reihe der Widerstände", kResistorSeriesAtFirst},
  {"cmb*TolR",   Cell::ResistorTolerance, "",        0, 2, 1, "Toleranz der Widerstände", kResistorToleranceAtFirst},
  {"lbl*Rmin",   Cell::Label,             "R mi&n =", 0, 3, 1},
  {"txt*Rmin",   Cell::Box,               "1",       0, 4, 1, "R min"},
  {"cmb*Rmin",   Cell::ResistorUnits,     "",        0, 5, 1, "Einheit von R min", 1},
  {"lbl*Rmax",   Cell::Label,             "R ma&x =", 0, 6, 1},
  {"txt*Rmax",   Cell::Box,               "10",      0, 7, 1, "R max"},
  {"cmb*Rmax",   Cell::ResistorUnits,     "",        0, 8, 1, "Einheit von R max", 2},

  {"lbl*ReiheC", Cell::Label,              "&Kondensator:", 1, 0, 1},
  {"cmb*ReiheC", Cell::CapacitorSeries,    "",        1, 1, 1, "Reihe des Kondensators", kCapacitorSeriesAtFirst},
  {"cmb*TolC",   Cell::CapacitorTolerance, "",        1, 2, 1, "Toleranz des Kondensators", kCapacitorToleranceAtFirst},
  {"lbl*Cmin",   Cell::Label,              "&C min =", 1, 3, 1},
  {"txt*Cmin",   Cell::Box,                "100",     1, 4, 1, "C min"},
  {"cmb*Cmin",   Cell::CapacitorUnits,     "",        1, 5, 1, "Einheit von C min", 0},
  {"lbl*Cmax",   Cell::Label,              "C &max =", 1, 6, 1},
  {"txt*Cmax",   Cell::Box,                "1000",    1, 7, 1, "C max"},
  {"cmb*Cmax",   Cell::CapacitorUnits,     "",        1, 8, 1, "Einheit von C max", 2},
};

constexpr Field kEnvironment[] = {
  {"lbl*KondTyp",  Cell::Label,         "Umgebun&g:",  0, 0, 1},
  {"cmb*KondTyp",  Cell::CapacitorType, "",            0, 1, 2, "Art des Kondensators", kCapacitorTypeAtFirst},
  {"lbl*Tmin",     Cell::Label,         "T m&in =",    0, 3, 1},
  {"txt*Tmin",     Cell::Box,           "0",           0, 4, 1, "T min in Grad Celsius"},
  {"lbl*TminC",    Cell::Label,         "°C",          0, 5, 1},
  {"lbl*Tmax",     Cell::Label,         "T m&ax =",    0, 6, 1},
  {"txt*Tmax",     Cell::Box,           "70",          0, 7, 1, "T max in Grad Celsius"},
  {"lbl*TmaxC",    Cell::Label,         "°C",          0, 8, 1},
  {"lbl*UbTol",    Cell::Label,         "U&b ± =",     1, 3, 1},
  {"txt*UbTol",    Cell::Box,           "5",           1, 4, 1, "Schwankung von Ub in Prozent"},
  {"lbl*UbTolP",   Cell::Label,         "%",           1, 5, 1},
  {"lbl*Grenze",   Cell::Label,         "Gren&ze ± =", 1, 6, 1},
  {"txt*Grenze",   Cell::Box,           "10",          1, 7, 1, "Grenze der Abweichung in Prozent"},
  {"lbl*GrenzeP",  Cell::Label,         "%",           1, 8, 1},
};
// clang-format on

QString nameOf(const char* pattern, char letter) {
  return QString::fromLatin1(pattern).replace(QLatin1Char('*'), QLatin1Char(letter));
}

template <class T>
T* control(const QWidget* window, const char* pattern, char letter) {
  T* found = window->findChild<T*>(nameOf(pattern, letter));
  Q_ASSERT(found != nullptr);
  return found;
}

// "Der Wert bei „R min“ liegt außerhalb …", or said `where` instead.
QString beyondTheDoubles(const QString& name, const QString& where) {
  return outOfRangeText(where.isEmpty() ? QStringLiteral("bei „%1“").arg(name) : where);
}

Result<double, QString> aboveZero(const Result<double, QString>& v, const QString& name) {
  if (!v) return v;
  if (!(v.value() > 0.0)) {
    return QStringLiteral("Bitte bei „%1“ einen Wert größer als 0 eingeben.").arg(name);
  }
  return v.value();
}

}  // namespace

const std::span<const Field> kRangeFields{kRanges};
const std::span<const Field> kEnvironmentFields{kEnvironment};

void buildFields(QGridLayout* grid, std::span<const Field> fields, char letter, int firstRow) {
  QWidget* previous = nullptr;
  for (const Field& f : fields) {
    QWidget* w = makeField(f);
    w->setObjectName(nameOf(f.name, letter));
    if (f.accessibleName != nullptr) {
      w->setAccessibleName(QString::fromUtf8(f.accessibleName));
      if (auto* label = qobject_cast<QLabel*>(previous)) label->setBuddy(w);
      if (auto* list = qobject_cast<QComboBox*>(w)) list->setCurrentIndex(f.index);
      if (auto* option = qobject_cast<QRadioButton*>(w)) option->setChecked(f.index == 1);
    }
    grid->addWidget(w, firstRow + f.row, f.column, 1, f.span);
    previous = w;
  }
}

void chainTabOrder(QWidget* owner, std::initializer_list<std::span<const Field>> tables,
                   char letter, QWidget* last) {
  QWidget* before = nullptr;
  for (std::span<const Field> fields : tables) {
    for (const Field& f : fields) {
      if (f.kind == Cell::Label) continue;
      QWidget* w = control<QWidget>(owner, f.name, letter);
      if (before != nullptr) QWidget::setTabOrder(before, w);
      before = w;
    }
  }
  if (before != nullptr && last != nullptr) QWidget::setTabOrder(before, last);
}

Result<RangeInputs, QString> readRangeFields(const QWidget* window, char letter, bool capacitor) {
  auto list = [&](const char* pattern) { return control<QComboBox>(window, pattern, letter); };
  RangeInputs in;
  in.resistorSeries = resistorSeriesOf(list("cmb*ReiheR"));
  in.resistorTolerance = resistorToleranceOf(list("cmb*TolR"));
  if (capacitor) {
    in.capacitorSeries = capacitorSeriesOf(list("cmb*ReiheC"));
    in.capacitorTolerance = capacitorToleranceOf(list("cmb*TolC"));
  }
  struct Range {
    const char *box, *units, *name;
    std::span<const Unit> table;
    double* into;
  };
  const Range ranges[] = {
      {"txt*Rmin", "cmb*Rmin", "R min", resistorUnits, &in.rMin},
      {"txt*Rmax", "cmb*Rmax", "R max", resistorUnits, &in.rMax},
      {"txt*Cmin", "cmb*Cmin", "C min", capacitorUnits, &in.cMin},
      {"txt*Cmax", "cmb*Cmax", "C max", capacitorUnits, &in.cMax},
  };
  for (const Range& r : ranges) {
    if (!capacitor && r.table.data() == capacitorUnits.data()) continue;
    const Result<double, QString> v =
        readPositive(control<QLineEdit>(window, r.box, letter), list(r.units), r.table,
                     QString::fromLatin1(r.name));
    if (!v) return v.error();
    *r.into = v.value();
  }
  return in;
}

void connectFields(QWidget* window, char letter, std::span<const Field> fields,
                   const std::function<void()>& changed) {
  for (const Field& f : fields) {
    if (f.kind == Cell::Label) continue;
    QWidget* w = control<QWidget>(window, f.name, letter);
    if (auto* box = qobject_cast<QLineEdit*>(w)) {
      QObject::connect(box, &QLineEdit::textChanged, window, changed);
    } else if (f.kind == Cell::ResistorSeries) {
      auto* series = qobject_cast<QComboBox*>(w);
      QComboBox* tolerance = control<QComboBox>(window, "cmb*TolR", letter);
      QObject::connect(series, &QComboBox::currentIndexChanged, window,
                       [series, tolerance, changed] {
                         followSeries(series, tolerance);
                         changed();
                       });
    } else {
      QObject::connect(qobject_cast<QComboBox*>(w), &QComboBox::currentIndexChanged, window,
                       changed);
    }
  }
}

Result<EnvironmentInputs, QString> readEnvironmentFields(const QWidget* window, char letter,
                                                         const ChipFamily& family, double ub) {
  EnvironmentInputs in;
  in.around.capacitor = capacitorTypeOf(control<QComboBox>(window, "cmb*KondTyp", letter));
  struct Box {
    const char *box, *name;
    double* into;
    bool temperature;
  };
  double ubPercent = 0.0, limitPercent = 0.0;
  const Box boxes[] = {{"txt*Tmin", "T min", &in.around.tMin, true},
                       {"txt*Tmax", "T max", &in.around.tMax, true},
                       {"txt*UbTol", "Ub ±", &ubPercent, false},
                       {"txt*Grenze", "Grenze ±", &limitPercent, false}};
  for (const Box& b : boxes) {
    const auto* edit = control<QLineEdit>(window, b.box, letter);
    const QString name = QString::fromUtf8(b.name);
    if (edit->text().trimmed().isEmpty()) {
      return QStringLiteral("Bitte bei „%1“ einen Wert eingeben.").arg(name);
    }
    const Result<double, QString> v = readNumberIn(edit, name);
    if (!v) return v.error();
    if (b.temperature && !(v.value() >= kTemperatureMin && v.value() <= kTemperatureMax)) {
      return QStringLiteral("Bitte bei „%1“ eine Temperatur von %2 °C bis %3 °C eingeben.")
          .arg(name, fromCore(exactText(kTemperatureMin)), fromCore(exactText(kTemperatureMax)));
    }
    if (!b.temperature && !(v.value() >= 0.0)) {
      return QStringLiteral("Bitte bei „%1“ einen Wert ab 0 eingeben.").arg(name);
    }
    *b.into = v.value();
  }
  if (in.around.tMin > in.around.tMax) return QStringLiteral("T min ist größer als T max.");
  if (!(ubPercent < 100.0)) {
    return QStringLiteral("Bitte bei „Ub ±“ einen Wert unter 100 eingeben.");
  }
  in.around.supplyTolerance = ubPercent / 100.0;
  in.limit = limitPercent / 100.0;
  const double low = ub * (1.0 - in.around.supplyTolerance);
  const double high = ub * (1.0 + in.around.supplyTolerance);
  if (!(low >= family.ubMin && high <= family.ubMax)) {
    return QStringLiteral(
               "Mit Ub ± %1 % läge die Versorgung bei %2 V bis %3 V; %4 sind %5 V bis %6 V "
               "erlaubt. Bitte bei „Ub ±“ einen kleineren Wert eingeben.")
        .arg(fromCore(numberText(ubPercent)), fromCore(numberText(low, 4)),
             fromCore(numberText(high, 4)), fromCore(family.where),
             fromCore(numberText(family.ubMin)), fromCore(numberText(family.ubMax)));
  }
  return in;
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

const CapacitorType& capacitorTypeOf(const QComboBox* list) {
  return kCapacitorTypes[indexOf(list, kCapacitorTypes.size())];
}

const DiodeModel& diodeOf(const QComboBox* list) {
  return kDiodes[indexOf(list, kDiodes.size())];
}

HintTexts hintTexts(const std::vector<Hint>& hints) {
  QStringList briefs, reasons;
  for (const Hint& h : hints) {
    briefs << fromCore(h.brief);
    reasons << fromCore(h.sentence);
  }
  return {briefs.join(QStringLiteral(", ")), reasons.join(QLatin1Char('\n'))};
}

QLabel* textLabel(const char* name, bool wrap) {
  auto* l = new QLabel;
  l->setObjectName(QString::fromLatin1(name));
  l->setTextFormat(Qt::PlainText);
  l->setWordWrap(wrap);
  l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return l;
}

Result<double, QString> readNumberIn(const QLineEdit* box, const QString& name,
                                     const QString& where) {
  const std::string typed = box->text().toStdString();
  const NumberReading read = readNumber(typed);
  if (!read.value) return beyondTheDoubles(name, where);
  if (!read.rest.empty()) return unreadText(name, box->text(), fromCore(read.rest));
  return read.value.value();
}

Result<double, QString> readBox(const QLineEdit* box, const QComboBox* units,
                                std::span<const Unit> table, const QString& name,
                                const QString& where) {
  const Result<double, QString> v = readNumberIn(box, name, where);
  if (!v) return v;
  const Result<double> scaled = applyUnit(v.value(), table, units->currentIndex());
  if (!scaled) return beyondTheDoubles(name, where);
  return scaled.value();
}

Result<double, QString> readPositiveNumber(const QLineEdit* box, const QString& name) {
  return aboveZero(readNumberIn(box, name), name);
}

Result<double, QString> readPositive(const QLineEdit* box, const QComboBox* units,
                                     std::span<const Unit> table, const QString& name) {
  return aboveZero(readBox(box, units, table, name), name);
}

Result<double, QString> readSupply(const QLineEdit* box, const ChipFamily& family) {
  const Result<double, QString> read = readNumberIn(box, QStringLiteral("Ub"));
  if (!read) return read;
  const double ub = read.value();
  if (!(ub >= family.ubMin && ub <= family.ubMax)) {
    return QStringLiteral("Die Betriebsspannung muss %1 zwischen %2 V und %3 V liegen.")
        .arg(fromCore(family.where), fromCore(exactText(family.ubMin)),
             fromCore(exactText(family.ubMax)));
  }
  return ub;
}

}  // namespace kippwerk::ui
