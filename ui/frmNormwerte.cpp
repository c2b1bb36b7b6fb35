#include "ui/frmNormwerte.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cmath>

#include "ui/reading.h"
#include "ui/signalpicture.h"

namespace kippwerk::ui {
namespace {

constexpr Series kResistorSeries[] = {Series::E6,  Series::E12, Series::E24,
                                      Series::E48, Series::E96, Series::E192};
constexpr Series kCapacitorSeries[] = {Series::E3, Series::E6, Series::E12, Series::E24};
constexpr int kResistorSeriesAtFirst = 2;   // E24
constexpr int kCapacitorSeriesAtFirst = 1;  // E6
// Tolerances in percent; the resistors' list follows the series (usualTolerance).
constexpr double kResistorTolerances[] = {0.1, 0.25, 0.5, 1, 2, 5, 10, 20};
constexpr double kCapacitorTolerances[] = {1, 2, 5, 10, 20};
constexpr int kResistorToleranceAtFirst = 5;   // 5 %, the class of E24
constexpr int kCapacitorToleranceAtFirst = 3;  // 10 %

const char* const kColumns[] = {"R1",    "R2",       "C1",      "t-EIN",
                                "t-AUS", "Frequenz", "Δ t-EIN", "Δ t-AUS"};

// The inputs as data, in reading order, which is also the Tab order. Each row is one cell of
// the grid: row, column and the number of columns it spans.
enum class Cell {
  Label,
  Box,
  ResistorUnits,
  CapacitorUnits,
  ResistorSeries,
  CapacitorSeries,
  ResistorTolerance,
  CapacitorTolerance,
  Fixed,
  Check
};

struct Field {
  const char* name;
  Cell kind;
  const char* text;  // caption, or the box's first text
  int row, column, span;
  const char* accessibleName = nullptr;
  int index = -1;  // first selection of a drop-down
};

// clang-format off
constexpr Field kFields[] = {
  {"lblNTein",  Cell::Label, "t-EIN =", 0, 0, 1},
  {"txtNTein",  Cell::Box,   "",        0, 1, 1, "t-EIN in Sekunden"},
  {"lblNTeinS", Cell::Label, "s",       0, 2, 1},
  {"lblNTaus",  Cell::Label, "t-AUS =", 0, 3, 1},
  {"txtNTaus",  Cell::Box,   "",        0, 4, 1, "t-AUS in Sekunden"},
  {"lblNTausS", Cell::Label, "s",       0, 5, 1},
  {"chkNDiode", Cell::Check, "Diode parallel zu R2", 0, 6, 3, "Diode parallel zu R2"},

  {"lblNReiheR", Cell::Label,          "Widerstände:", 1, 0, 1},
  {"cmbNReiheR", Cell::ResistorSeries, "",        1, 1, 1, "Reihe der Widerstände", kResistorSeriesAtFirst},
  {"cmbNTolR",   Cell::ResistorTolerance, "",     1, 2, 1, "Toleranz der Widerstände", kResistorToleranceAtFirst},
  {"lblNRmin",   Cell::Label,          "R min =", 1, 3, 1},
  {"txtNRmin",   Cell::Box,            "1",       1, 4, 1, "R min"},
  {"cmbNRmin",   Cell::ResistorUnits,  "",        1, 5, 1, "Einheit von R min", 1},
  {"lblNRmax",   Cell::Label,          "R max =", 1, 6, 1},
  {"txtNRmax",   Cell::Box,            "10",      1, 7, 1, "R max"},
  {"cmbNRmax",   Cell::ResistorUnits,  "",        1, 8, 1, "Einheit von R max", 2},

  {"lblNReiheC", Cell::Label,           "Kondensator:", 2, 0, 1},
  {"cmbNReiheC", Cell::CapacitorSeries, "",        2, 1, 1, "Reihe des Kondensators", kCapacitorSeriesAtFirst},
  {"cmbNTolC",   Cell::CapacitorTolerance, "",     2, 2, 1, "Toleranz des Kondensators", kCapacitorToleranceAtFirst},
  {"lblNCmin",   Cell::Label,           "C min =", 2, 3, 1},
  {"txtNCmin",   Cell::Box,             "100",     2, 4, 1, "C min"},
  {"cmbNCmin",   Cell::CapacitorUnits,  "",        2, 5, 1, "Einheit von C min", 0},
  {"lblNCmax",   Cell::Label,           "C max =", 2, 6, 1},
  {"txtNCmax",   Cell::Box,             "1000",    2, 7, 1, "C max"},
  {"cmbNCmax",   Cell::CapacitorUnits,  "",        2, 8, 1, "Einheit von C max", 2},

  {"lblNFest",        Cell::Label,          "Fest:",   3, 0, 1},
  {"cmbNFest",        Cell::Fixed,          "",        3, 1, 2, "Festes Bauteil", 0},
  {"lblNFestWert",    Cell::Label,          "Wert =",  3, 3, 1},
  {"txtNFest",        Cell::Box,            "",        3, 4, 1, "Wert des festen Bauteils"},
  {"cmbNFestEinheit", Cell::CapacitorUnits, "",        3, 5, 1, "Einheit des festen Bauteils"},
};
// clang-format on

QComboBox* makeSeriesList(std::span<const Series> series) {
  auto* list = new QComboBox;
  for (Series s : series) list->addItem(fromCore(seriesName(s)));
  return list;
}

QComboBox* makeToleranceList(std::span<const double> percents) {
  auto* list = new QComboBox;
  for (double p : percents) list->addItem(QStringLiteral("± %1 %").arg(fromCore(exactText(p))));
  return list;
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
    case Cell::Fixed: {
      auto* list = new QComboBox;
      list->addItems({QStringLiteral("nichts"), QStringLiteral("C1"), QStringLiteral("R2")});
      return list;
    }
    case Cell::Check:
      return new QCheckBox(text);
  }
  return nullptr;
}

QStringList columnHeaders() {
  QStringList headers;
  for (const char* h : kColumns) headers << QString::fromUtf8(h);
  return headers;
}

// The eight cells of a row, as the table shows them and Ctrl+C copies them.
std::array<QString, 8> rowTexts(const StandardSet& s) {
  return {fromCore(partText(s.r1, resistorUnits)),
          fromCore(partText(s.r2, resistorUnits)),
          fromCore(partText(s.c1, capacitorUnits)),
          fromCore(timeText(s.tein)),
          fromCore(timeText(s.taus)),
          fromCore(frequencyText(s.frequenz)),
          fromCore(percentText(s.devTein)),
          fromCore(percentText(s.devTaus))};
}

QString outOfRange(const QString& where) {
  return QStringLiteral("Der Wert %1 liegt außerhalb des darstellbaren Zahlenbereichs.").arg(where);
}

QString partName(FixedPart part) {
  return part == FixedPart::C1 ? QStringLiteral("C1") : QStringLiteral("R2");
}

QString emptyRange(const char* part, double min, double max, Series series) {
  const QString p = QString::fromUtf8(part);
  if (min > max) return QStringLiteral("%1 min ist größer als %1 max.").arg(p);
  return QStringLiteral("Zwischen %1 min und %1 max liegt kein Wert der Reihe %2.")
      .arg(p, fromCore(seriesName(series)));
}

// Why there are no sets, as one German sentence.
QString statusText(SearchError error, const StandardSearch& q) {
  switch (error) {
    case SearchError::OutOfRange:
      return QStringLiteral("Ein Wert liegt außerhalb des darstellbaren Zahlenbereichs.");
    case SearchError::TimesNotPositive:
      return QStringLiteral("t-EIN und t-AUS müssen größer als 0 sein.");
    case SearchError::TeinNotGreater:
      return QStringLiteral("Ohne Diode muss t-EIN größer als t-AUS sein.");
    case SearchError::FixedNotPositive:
      return QStringLiteral("Der feste Wert von %1 muss größer als 0 sein.").arg(partName(q.fixed));
    case SearchError::ResistorRangeEmpty:
      return emptyRange("R", q.rMin, q.rMax, q.resistorSeries);
    case SearchError::CapacitorRangeEmpty:
      return emptyRange("C", q.cMin, q.cMax, q.capacitorSeries);
    case SearchError::Unreachable:
      return QStringLiteral(
          "Mit diesen Bereichen kommt keine Kombination auch nur annähernd an die gewünschten "
          "Zeiten heran; bitte die Bereiche anpassen.");
    case SearchError::BeyondEveryRange:
      return QStringLiteral(
                 "An diese Zeiten kommt keine Kombination von Normwerten auch nur annähernd "
                 "heran, mit welchen Bereichen auch immer; bitte andere Zeiten%1 eingeben.")
          .arg(q.fixed == FixedPart::None ? QString()
                                          : QStringLiteral(" oder einen anderen festen Wert"));
  }
  return {};
}

// Why the best set still misses a desired time by more than 10 %, or nothing.
QString shortfallText(const Shortfall& s, const StandardSearch& q) {
  using Kind = Shortfall::Kind;
  auto bounds = [&s](const char* end) {
    const QString r = QStringLiteral("R %1").arg(QLatin1String(end));
    const QString c = QStringLiteral("C %1").arg(QLatin1String(end));
    if (s.resistor && s.capacitor) return QStringLiteral("%1 oder %2").arg(r, c);
    return s.resistor ? r : c;
  };
  const QString time = s.tein ? QStringLiteral("t-EIN") : QStringLiteral("t-AUS");
  const QString reach = fromCore(timeText(s.reach));
  switch (s.kind) {
    case Kind::None:
      return {};
    case Kind::BeyondLargest:
      return QStringLiteral("Die Bereiche reichen nur bis %1 = %2; %3 erhöhen.")
          .arg(time, reach, bounds("max"));
    case Kind::BelowSmallest:
      return QStringLiteral("Die Bereiche reichen erst ab %1 = %2; %3 verringern.")
          .arg(time, reach, bounds("min"));
    case Kind::Ratio:
      return QStringLiteral(
          "Das Verhältnis von t-EIN zu t-AUS liegt außerhalb dessen, was Widerstände von R min "
          "bis R max ergeben; R min verringern oder R max erhöhen.");
    case Kind::NumberRange:
      return QStringLiteral(
          "Die gewünschten Zeiten liegen zu nahe an den Grenzen des darstellbaren "
          "Zahlenbereichs; bitte andere Zeiten eingeben.");
    case Kind::Series:
      return QStringLiteral(
                 "Keine Kombination kommt auf 10 % an die gewünschten Zeiten heran: die Reihen "
                 "sind dafür zu grob; bitte eine feinere Reihe wählen%1.")
          .arg(q.fixed == FixedPart::None ? QString() : QStringLiteral(" oder nichts festlegen"));
  }
  return {};
}

// A number and a unit of `units` that the timing page reads as `value`: the table's text when
// it reads back as the same number up to its last binary digits ("4.7" nF is the part 4.7 nF,
// though 4.7 times 1e-9 is not the double nearest to 4.7e-9), else the shortest exact number
// in the largest unit that keeps it at 1 or above (a fixed R2 of 100.04 k Ohm as "100.04").
ScaledText exactPart(double value, std::span<const Unit> units) {
  auto readBack = [&](const ScaledText& t) {
    const Result<double> read = parseValue(t.number);
    return read ? applyUnit(read.value(), units, t.unit).valueOr(0.0) : 0.0;
  };
  const ScaledText shown = partNumber(value, units);
  if (std::fabs(readBack(shown) - value) <= std::fabs(value) * 1e-14) return shown;
  for (int i = static_cast<int>(units.size()) - 1; i >= 0; --i) {
    const double factor = units[static_cast<std::size_t>(i)].factor;
    const ScaledText t{exactText(value / factor), i};
    if (value >= factor && readBack(t) == value) return t;
  }
  const auto base =
      std::find_if(units.begin(), units.end(), [](const Unit& u) { return u.factor == 1.0; });
  return {exactText(value), static_cast<int>(base - units.begin())};
}

// The result table: eight columns, ten rows without a scroll bar, whole rows selected.
QTableWidget* makeSetTable(const QFontMetrics& fm) {
  auto* table = new QTableWidget(0, static_cast<int>(std::size(kColumns)));
  table->setObjectName(QStringLiteral("tblNormwerte"));
  table->setAccessibleName(QStringLiteral("Normwerte, die besten zuerst"));
  table->setHorizontalHeaderLabels(columnHeaders());
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  table->verticalHeader()->hide();
  table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table->verticalHeader()->setDefaultSectionSize(fm.height() + 6);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setTabKeyNavigation(false);
  table->setMinimumWidth(8 * 78);
  table->setFixedHeight(table->horizontalHeader()->sizeHint().height() +
                        10 * table->verticalHeader()->defaultSectionSize() +
                        2 * table->frameWidth());
  return table;
}

}  // namespace

frmNormwerte::frmNormwerte(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("frmNormwerte"));
  setWindowTitle(QStringLiteral("Normwerte"));
  if (parent != nullptr) setWindowIcon(parent->windowIcon());  // the main window's flag
  build();
  connectEvents();
}

void frmNormwerte::build() {
  auto* grid = new QGridLayout;
  QWidget* previous = nullptr;
  for (const Field& f : kFields) {
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
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(4, 1);
  grid->setColumnStretch(7, 1);

  auto* table = makeSetTable(fontMetrics());

  auto* status = new QLabel;
  status->setObjectName(QStringLiteral("lblNStatus"));
  status->setWordWrap(true);
  status->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  auto* spread = new QLabel;
  spread->setObjectName(QStringLiteral("lblNToleranz"));
  spread->setTextFormat(Qt::PlainText);
  spread->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // The status line above the spread; both keep their room when empty, so the picture below
  // does not move when a text comes or goes.
  auto* below = new QVBoxLayout;
  below->setSpacing(2);
  auto lines = [this](int n) {
    return fontMetrics().size(0, QStringLiteral("X\n").repeated(n - 1) + QLatin1Char('X')).height();
  };
  status->setMinimumHeight(lines(2));
  spread->setMinimumHeight(lines(5));
  below->addWidget(status);
  below->addWidget(spread);

  auto* picture = new SignalPicture;
  picture->setObjectName(QStringLiteral("picNSignal"));
  picture->setMinimumHeight(150);

  auto* takeOver = new QPushButton(QStringLiteral("Übernehmen"));
  takeOver->setObjectName(QStringLiteral("cmdNUebernehmen"));
  auto* close = new QPushButton(QStringLiteral("Schließen"));
  close->setObjectName(QStringLiteral("cmdNSchliessen"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(takeOver);
  buttons->addWidget(close);

  auto* page = new QVBoxLayout(this);
  page->addLayout(grid);
  page->addWidget(table);
  page->addLayout(below);
  page->addWidget(picture, 1);
  page->addLayout(buttons);

  findControls();

  // Reading order: the fields row by row, then the table and the two buttons.
  QWidget* last = nullptr;
  for (const Field& f : kFields) {
    if (f.kind == Cell::Label) continue;
    QWidget* w = findChild<QWidget*>(QString::fromUtf8(f.name));
    if (last != nullptr) setTabOrder(last, w);
    last = w;
  }
  setTabOrder(last, c_.tblNormwerte);
  setTabOrder(c_.tblNormwerte, c_.cmdNUebernehmen);
  setTabOrder(c_.cmdNUebernehmen, c_.cmdNSchliessen);
  c_.picNSignal->setFocusPolicy(Qt::NoFocus);
}

// Each member of c_ holds the control whose object name is the member's own name.
void frmNormwerte::findControls() {
  auto find = [this]<class T>(T*& slot, const char* name) {
    slot = findChild<T*>(QString::fromLatin1(name));
    Q_ASSERT(slot != nullptr);
  };
#define KIPPWERK_FIND(member) find(c_.member, #member)
  KIPPWERK_FIND(txtNTein);
  KIPPWERK_FIND(txtNTaus);
  KIPPWERK_FIND(txtNRmin);
  KIPPWERK_FIND(txtNRmax);
  KIPPWERK_FIND(txtNCmin);
  KIPPWERK_FIND(txtNCmax);
  KIPPWERK_FIND(txtNFest);
  KIPPWERK_FIND(cmbNReiheR);
  KIPPWERK_FIND(cmbNReiheC);
  KIPPWERK_FIND(cmbNRmin);
  KIPPWERK_FIND(cmbNRmax);
  KIPPWERK_FIND(cmbNCmin);
  KIPPWERK_FIND(cmbNCmax);
  KIPPWERK_FIND(cmbNFest);
  KIPPWERK_FIND(cmbNFestEinheit);
  KIPPWERK_FIND(cmbNTolR);
  KIPPWERK_FIND(cmbNTolC);
  KIPPWERK_FIND(lblNToleranz);
  KIPPWERK_FIND(chkNDiode);
  KIPPWERK_FIND(tblNormwerte);
  KIPPWERK_FIND(lblNStatus);
  KIPPWERK_FIND(picNSignal);
  KIPPWERK_FIND(cmdNUebernehmen);
  KIPPWERK_FIND(cmdNSchliessen);
#undef KIPPWERK_FIND
}

void frmNormwerte::connectEvents() {
  for (QLineEdit* box : {c_.txtNTein, c_.txtNTaus, c_.txtNRmin, c_.txtNRmax, c_.txtNCmin,
                         c_.txtNCmax, c_.txtNFest}) {
    connect(box, &QLineEdit::textChanged, this, &frmNormwerte::recompute);
  }
  // A tolerance decides which sets are usable at the edges of the number range, so it
  // searches again like every other input.
  for (QComboBox* list : {c_.cmbNReiheC, c_.cmbNRmin, c_.cmbNRmax, c_.cmbNCmin, c_.cmbNCmax,
                          c_.cmbNFestEinheit, c_.cmbNTolR, c_.cmbNTolC}) {
    connect(list, &QComboBox::currentIndexChanged, this, &frmNormwerte::recompute);
  }
  connect(c_.cmbNReiheR, &QComboBox::currentIndexChanged, this, &frmNormwerte::cmbNReiheR_Click);
  connect(c_.cmbNFest, &QComboBox::currentIndexChanged, this, &frmNormwerte::cmbNFest_Click);
  connect(c_.chkNDiode, &QCheckBox::toggled, this, &frmNormwerte::recompute);
  connect(c_.tblNormwerte, &QTableWidget::itemSelectionChanged, this,
          &frmNormwerte::keepOneRowSelected);
  connect(c_.cmdNUebernehmen, &QPushButton::clicked, this, &frmNormwerte::cmdNUebernehmen_Click);
  connect(c_.cmdNSchliessen, &QPushButton::clicked, this, &QWidget::close);
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, &QWidget::close);
  c_.tblNormwerte->installEventFilter(this);
}

void frmNormwerte::open(const Start& start) {
  const bool newTimes = !opened_ || start.tein != start_.tein || start.taus != start_.taus ||
                        start.diode != start_.diode;
  const bool newParts = !opened_ || start.known != start_.known || start.c1Text != start_.c1Text ||
                        start.c1Unit != start_.c1Unit || start.r2Text != start_.r2Text ||
                        start.r2Unit != start_.r2Unit;
  start_ = start;
  opened_ = true;
  if (newTimes) {
    const QSignalBlocker quietTein(c_.txtNTein), quietTaus(c_.txtNTaus), quietDiode(c_.chkNDiode);
    // The main window's display form: no binary noise from the time-entry arithmetic.
    c_.txtNTein->setText(fromCore(formatValue(start.tein)).trimmed());
    c_.txtNTaus->setText(fromCore(formatValue(start.taus)).trimmed());
    c_.chkNDiode->setChecked(start.diode);
  }
  if (newParts) fillFixedValue();
  recompute();
  show();
  raise();
  activateWindow();
}

FixedPart frmNormwerte::fixedChoice() const {
  switch (c_.cmbNFest->currentIndex()) {
    case 1:
      return FixedPart::C1;
    case 2:
      return FixedPart::R2;
    default:
      return FixedPart::None;
  }
}

// The value boxes show the main window's value of the chosen part; with nothing chosen, its
// known component, greyed.
void frmNormwerte::fillFixedValue() {
  const FixedPart choice = fixedChoice();
  const bool capacitor =
      choice == FixedPart::C1 || (choice == FixedPart::None && start_.known == KnownComponent::C1);
  {
    const QSignalBlocker quiet(c_.txtNFest);
    c_.txtNFest->setText(capacitor ? start_.c1Text : start_.r2Text);
  }
  if (capacitor) {
    fillUnitList(c_.cmbNFestEinheit, capacitorUnits, start_.c1Unit);
  } else {
    fillUnitList(c_.cmbNFestEinheit, resistorUnits, start_.r2Unit);
  }
  c_.txtNFest->setEnabled(choice != FixedPart::None);
  c_.cmbNFestEinheit->setEnabled(choice != FixedPart::None);
}

// A series comes with its usual tolerance class; a tolerance chosen afterwards holds until the
// series changes again.
void frmNormwerte::cmbNReiheR_Click() {
  const double usual = usualTolerance(kResistorSeries[std::max(0, c_.cmbNReiheR->currentIndex())]);
  const auto* at = std::find(std::begin(kResistorTolerances), std::end(kResistorTolerances), usual);
  {
    const QSignalBlocker quiet(c_.cmbNTolR);
    c_.cmbNTolR->setCurrentIndex(static_cast<int>(at - std::begin(kResistorTolerances)));
  }
  recompute();
}

void frmNormwerte::cmbNFest_Click() {
  fillFixedValue();
  recompute();
}

Result<StandardSearch, QString> frmNormwerte::readRequest() const {
  StandardSearch q;
  q.diode = c_.chkNDiode->isChecked();
  q.resistorSeries = kResistorSeries[std::max(0, c_.cmbNReiheR->currentIndex())];
  q.capacitorSeries = kCapacitorSeries[std::max(0, c_.cmbNReiheC->currentIndex())];
  q.fixed = fixedChoice();
  auto percent = [](std::span<const double> list, const QComboBox* box) {
    return list[static_cast<std::size_t>(std::max(0, box->currentIndex()))] / 100.0;
  };
  q.resistorTolerance = percent(kResistorTolerances, c_.cmbNTolR);
  q.capacitorTolerance = percent(kCapacitorTolerances, c_.cmbNTolC);
  struct Input {
    const QLineEdit* box;
    const QComboBox* units;  // nullptr: seconds
    std::span<const Unit> table;
    const char* name;  // the range boxes must hold a number above 0
    double* into;
  };
  const Input inputs[] = {
      {c_.txtNTein, nullptr, {}, "t-EIN", &q.tein},
      {c_.txtNTaus, nullptr, {}, "t-AUS", &q.taus},
      {c_.txtNRmin, c_.cmbNRmin, resistorUnits, "R min", &q.rMin},
      {c_.txtNRmax, c_.cmbNRmax, resistorUnits, "R max", &q.rMax},
      {c_.txtNCmin, c_.cmbNCmin, capacitorUnits, "C min", &q.cMin},
      {c_.txtNCmax, c_.cmbNCmax, capacitorUnits, "C max", &q.cMax},
      {c_.txtNFest, c_.cmbNFestEinheit,
       q.fixed == FixedPart::C1 ? std::span<const Unit>(capacitorUnits) : resistorUnits, nullptr,
       &q.fixedValue},
  };
  for (const Input& in : inputs) {
    const bool fixed = in.into == &q.fixedValue;
    if (fixed && q.fixed == FixedPart::None) continue;
    const Result<double> v = in.units == nullptr ? parseValue(in.box->text().toStdString())
                                                 : readScaled(in.box, in.units, in.table);
    const QString name = QString::fromUtf8(fixed ? "" : in.name);
    if (!v) {
      return outOfRange(fixed ? QStringLiteral("von ") + partName(q.fixed)
                              : QStringLiteral("bei „%1“").arg(name));
    }
    const bool range = in.units != nullptr && !fixed;
    if (range && !(v.value() > 0.0)) {
      return QStringLiteral("Bitte bei „%1“ einen Wert größer als 0 eingeben.").arg(name);
    }
    *in.into = v.value();
  }
  return q;
}

void frmNormwerte::recompute() {
  const Result<StandardSearch, QString> request = readRequest();
  if (!request) return showProblem(request.error());
  StandardSets sets = searchStandardSets(request.value());
  if (!sets) return showProblem(statusText(sets.error(), request.value()));
  showSets(sets.value(), request.value());
  c_.lblNStatus->setText(shortfallText(shortfallOf(request_, sets_.front()), request_));
}

void frmNormwerte::showSets(std::vector<StandardSet> sets, const StandardSearch& request) {
  sets_ = std::move(sets);
  request_ = request;
  c_.lblNStatus->clear();
  QTableWidget* t = c_.tblNormwerte;
  const QSignalBlocker quiet(t);
  // The cells stay and only their texts change: a key costs a repaint, not a new table.
  if (t->rowCount() != static_cast<int>(sets_.size()))
    t->setRowCount(static_cast<int>(sets_.size()));
  for (int row = 0; row < t->rowCount(); ++row) {
    const auto texts = rowTexts(sets_[static_cast<std::size_t>(row)]);
    for (int column = 0; column < static_cast<int>(texts.size()); ++column) {
      QTableWidgetItem* item = t->item(row, column);
      if (item == nullptr) {
        item = new QTableWidgetItem;
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        t->setItem(row, column, item);
      }
      item->setText(texts[static_cast<std::size_t>(column)]);
    }
  }
  t->setCurrentCell(0, 0);
  t->selectRow(0);
  c_.cmdNUebernehmen->setEnabled(true);
  showSelected();
}

void frmNormwerte::showProblem(const QString& status) {
  sets_.clear();
  c_.lblNStatus->setText(status);
  const QSignalBlocker quiet(c_.tblNormwerte);
  c_.tblNormwerte->setRowCount(0);
  c_.cmdNUebernehmen->setEnabled(false);
  showSelected();
}

// While there are rows, one is highlighted: a click beside the rows or a Ctrl+click on the
// highlighted one would otherwise leave none, while the lines below still showed a set.
void frmNormwerte::keepOneRowSelected() {
  QTableWidget* t = c_.tblNormwerte;
  if (t->rowCount() > 0 && t->selectionModel()->selectedRows().isEmpty()) {
    const QSignalBlocker quiet(t);
    t->selectRow(std::clamp(t->currentRow(), 0, t->rowCount() - 1));
  }
  showSelected();
}

// Everything acts on the highlighted row.
const StandardSet* frmNormwerte::selectedSet() const {
  const QModelIndexList rows = c_.tblNormwerte->selectionModel()->selectedRows();
  if (rows.isEmpty()) return nullptr;
  const int row = rows.front().row();
  return row < static_cast<int>(sets_.size()) ? &sets_[static_cast<std::size_t>(row)] : nullptr;
}

ToleranceSpread frmNormwerte::spreadOf(const StandardSet& s) const {
  return toleranceSpread(s.r1, s.r2, s.c1, request_.diode, request_.resistorTolerance,
                         request_.capacitorTolerance);
}

void frmNormwerte::showSelected() {
  const StandardSet* s = selectedSet();
  if (s == nullptr) {
    c_.lblNToleranz->clear();
    c_.picNSignal->setSignal(std::nullopt);
    return;
  }
  const ToleranceSpread spread = spreadOf(*s);
  c_.lblNToleranz->setText(fromCore(toleranceText(spread, request_.tein, request_.taus)));
  c_.picNSignal->setSignal(Signal{s->tein, s->taus, request_.tein, request_.taus, spread.edges});
}

// The header names and the row, tab-separated, then the tolerance lines.
void frmNormwerte::copySelectedRow() const {
  const StandardSet* s = selectedSet();
  if (s == nullptr) return;
  const auto texts = rowTexts(*s);
  const QStringList cells(texts.begin(), texts.end());
  QApplication::clipboard()->setText(
      columnHeaders().join(QLatin1Char('\t')) + QLatin1Char('\n') + cells.join(QLatin1Char('\t')) +
      QLatin1Char('\n') + fromCore(toleranceText(spreadOf(*s), request_.tein, request_.taus)));
}

bool frmNormwerte::eventFilter(QObject* watched, QEvent* event) {
  if (watched == c_.tblNormwerte && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    copySelectedRow();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

// The timing page computes from texts: each must read back as the very part behind the row,
// a fixed part with all the digits it was typed with.
void frmNormwerte::cmdNUebernehmen_Click() {
  const StandardSet* s = selectedSet();
  if (s == nullptr) return;
  emit takeOver(HandOver{exactPart(s->r1, resistorUnits), exactPart(s->r2, resistorUnits),
                         exactPart(s->c1, capacitorUnits), request_.diode});
}

}  // namespace kippwerk::ui
