// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/windows/frmNormwerte.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/timing.h"
#include "ui/files/designdocument.h"
#include "ui/panels/rankedrows.h"
#include "ui/panels/realspreadpanel.h"
#include "ui/pictures/histogram.h"
#include "ui/pictures/signalpicture.h"
#include "ui/widgets/partfields.h"
#include "ui/widgets/reading.h"
#include "ui/widgets/resulttable.h"
#include "ui/widgets/statustexts.h"
#include "ui/widgets/widgets.h"

namespace kippwerk::ui {
namespace {

const char* const kColumns[] = {"R1",       "R2",      "C1",      "t-EIN",    "t-AUS",
                                "Frequenz", "Δ t-EIN", "Δ t-AUS", "Ausbeute", "Hinweise"};
constexpr int kRateColumn = 8;

// The inputs in reading order, which is also the Tab order: these two rows, the range rows,
// then the fixed part. Each label's "&" gives its box an Alt key, unique in the window together
// with the shared rows' (D, N, X, K, C, M).
// clang-format off
constexpr Field kFields[] = {
  {"lblNTein",  Cell::Label, "t-&EIN =", 0, 0, 1},
  {"txtNTein",  Cell::Box,   "",         0, 1, 1, "t-EIN in Sekunden"},
  {"lblNTeinS", Cell::Label, "s",        0, 2, 1},
  {"lblNTaus",  Cell::Label, "t-AU&S =", 0, 3, 1},
  {"txtNTaus",  Cell::Box,   "",         0, 4, 1, "t-AUS in Sekunden"},
  {"lblNTausS", Cell::Label, "s",        0, 5, 1},
  {"chkNDiode", Cell::Check, "Diode &parallel zu R2", 0, 6, 3, "Diode parallel zu R2"},

  {"lblNTyp",      Cell::Label,  "Scha&ltung:", 1, 0, 1},
  {"cmbNTyp",      Cell::Family, "",            1, 1, 2, "Schaltkreisfamilie", 0},
  {"lblNUb",       Cell::Label,  "&Ub =",       1, 3, 1},
  {"txtNUb",       Cell::Box,    "9",           1, 4, 1, "Betriebsspannung Ub in Volt"},
  {"lblNUbV",      Cell::Label,  "V",           1, 5, 1},
  {"lblNDiodeTyp", Cell::Label,  "Di&ode:",     1, 6, 1},
  {"cmbNDiodeTyp", Cell::Diode,  "",            1, 7, 2, "Diodentyp", 0},
};

constexpr Field kFixedFields[] = {
  {"lblNFest",        Cell::Label,          "&Fest:",        0, 0, 1},
  {"cmbNFest",        Cell::Choice,         "nichts|C1|R2",  0, 1, 2, "Festes Bauteil", 0},
  {"lblNFestWert",    Cell::Label,          "&Wert =",       0, 3, 1},
  {"txtNFest",        Cell::Box,            "",              0, 4, 1, "Wert des festen Bauteils"},
  {"cmbNFestEinheit", Cell::CapacitorUnits, "",              0, 5, 1, "Einheit des festen Bauteils"},
};
// clang-format on

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
  buildFields(grid, kFields, 'N');
  buildFields(grid, kRangeFields, 'N', 2);
  buildFields(grid, kEnvironmentFields, 'N', 4);
  buildFields(grid, kFixedFields, 'N', 6);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(4, 1);
  grid->setColumnStretch(7, 1);

  auto* table = new ResultTable(kColumns, 10);
  table->setObjectName(QStringLiteral("tblNormwerte"));
  table->setAccessibleName(QStringLiteral("Normwerte, die besten zuerst"));
  table->setMinimumWidth(9 * 66 + 190);
  const RankingControls ranking = makeRankingControls('N', "So&rtierung:");
  auto* order = new QHBoxLayout;
  order->addWidget(ranking.caption);
  order->addWidget(ranking.order);
  order->addWidget(ranking.progress);
  order->addWidget(ranking.said, 1);

  // Left the inputs, the table and what the window says of the highlighted set; right its
  // picture. The texts scroll: however many lines a set brings, they never run into a control.
  auto* texts = new QWidget;
  auto* lines = new QVBoxLayout(texts);
  lines->setContentsMargins(0, 0, 0, 0);
  lines->setSpacing(6);
  for (const auto& [name, wrap] :
       {std::pair{"lblNStatus", true}, std::pair{"lblNToleranz", false},
        std::pair{"lblNUmgebung", true}, std::pair{"lblNHinweis", true}}) {
    lines->addWidget(textLabel(name, wrap));
  }
  lines->addStretch(1);
  auto* scroll = new TextScroll(texts, 18);
  scroll->setObjectName(QStringLiteral("scrNTexte"));

  auto* picture = new SignalPicture;
  picture->setObjectName(QStringLiteral("picNSignal"));
  picture->setMinimumSize(420, 220);
  picture->setFocusPolicy(Qt::NoFocus);
  auto* histogram = new DeviationHistogram;
  histogram->setObjectName(QStringLiteral("picNHistogramm"));
  histogram->setMinimumSize(420, 180);
  histogram->setFocusPolicy(Qt::NoFocus);

  auto* remeasure = new QPushButton(QStringLiteral("Nac&hmessen ..."));
  remeasure->setObjectName(QStringLiteral("cmdNNachmessen"));
  auto* takeOver = new QPushButton(QStringLiteral("Übernehmen"));
  takeOver->setObjectName(QStringLiteral("cmdNUebernehmen"));
  auto* close = new QPushButton(QStringLiteral("Schließen"));
  close->setObjectName(QStringLiteral("cmdNSchliessen"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(remeasure);
  buttons->addWidget(takeOver);
  buttons->addWidget(close);

  auto* left = new QVBoxLayout;
  left->addLayout(grid);
  left->addLayout(order);
  left->addWidget(table);
  left->addWidget(scroll, 1);
  auto* right = new QVBoxLayout;
  right->addWidget(picture, 3);
  right->addWidget(histogram, 2);
  right->addLayout(buttons);
  auto* page = new QHBoxLayout(this);
  page->addLayout(left, 3);
  page->addLayout(right, 2);

  findControls();
  // Reading order: the fields row by row, then the table and the two buttons.
  chainTabOrder(this, {kFields, kRangeFields, kEnvironmentFields, kFixedFields}, 'N',
                c_.cmbNSortierung);
  setTabOrder(c_.cmbNSortierung, c_.tblNormwerte);
  spread_ = new RealSpreadPanel(c_.lblNUmgebung, c_.picNHistogramm, this);
  ranked_ = new RankedRows(c_.tblNormwerte, kRateColumn, ranking, spread_, false, this);
  setTabOrder(c_.tblNormwerte, c_.cmdNNachmessen);
  setTabOrder(c_.cmdNNachmessen, c_.cmdNUebernehmen);
  setTabOrder(c_.cmdNUebernehmen, c_.cmdNSchliessen);
  buildDocument();
  buttons->insertWidget(0, document_->button(QStringLiteral("En&twurf")));
  // In reading order: the design's menu stands left of the other buttons.
  auto* design = findChild<QPushButton*>(QStringLiteral("cmdNEntwurf"));
  setTabOrder(c_.tblNormwerte, design);
  setTabOrder(design, c_.cmdNNachmessen);
}

void frmNormwerte::buildDocument() {
  DesignDocument::Window hooks;
  hooks.kind = files::DesignKind::Normwerte;
  hooks.title = QStringLiteral("Normwerte");
  hooks.letter = 'N';
  hooks.selected = [this] { return partsOf(c_.tblNormwerte->highlightedRow()); };
  hooks.computed = [this] { return computedTexts(); };
  hooks.select = [this](const std::map<QString, QString>& parts) {
    ranked_->selectWhenShown(parts, [this](int row) { return partsOf(row); });
  };
  hooks.sheet = [this] { return sheet(); };
  hooks.busy = [this] { return ranked_->busy(); };
  document_ = new DesignDocument(this, std::move(hooks));
}

void frmNormwerte::closeEvent(QCloseEvent* event) {
  if (!document_->mayClose()) return event->ignore();
  QWidget::closeEvent(event);
}

std::map<QString, QString> frmNormwerte::partsOf(int row) const {
  if (row < 0 || row >= static_cast<int>(sets_.size())) return {};
  const StandardSet& s = sets_[static_cast<std::size_t>(row)];
  return {{QStringLiteral("R1"), fromCore(partText(s.r1, resistorUnits))},
          {QStringLiteral("R2"), fromCore(partText(s.r2, resistorUnits))},
          {QStringLiteral("C1"), fromCore(partText(s.c1, capacitorUnits))}};
}

std::map<QString, QString> frmNormwerte::computedTexts() const {
  const StandardSet* s = selectedSet();
  if (s == nullptr) return {};
  return {{QStringLiteral("t-EIN"), fromCore(timeText(s->tein))},
          {QStringLiteral("t-AUS"), fromCore(timeText(s->taus))},
          {QStringLiteral("Frequenz"), fromCore(frequencyText(s->frequenz))}};
}

DataSheet frmNormwerte::sheet() const {
  DataSheet out;
  const StandardSet* s = selectedSet();
  const Circuit c = request_.circuit();
  const QString diode = fromCore(c.model.name).section(QStringLiteral(" ("), 0, 0);
  out.title = QStringLiteral("Astabile Kippstufe mit dem 555 – Normwerte");
  out.times << QStringLiteral("Gewünscht: t-EIN = %1, t-AUS = %2")
                   .arg(fromCore(timeText(request_.tein)), fromCore(timeText(request_.taus)));
  if (s == nullptr) {
    out.times << c_.lblNStatus->text();
    return out;
  }
  const QString ub = fromCore(numberText(c.ub)) + QStringLiteral(" V");
  out.circuit = {false,
                 c.diode,
                 fromCore(partText(s->r1, resistorUnits)),
                 fromCore(partText(s->r2, resistorUnits)),
                 fromCore(partText(s->c1, capacitorUnits)),
                 diode,
                 fromCore(family_.name).section(QStringLiteral(" ("), 0, 0),
                 ub};
  const QString rSeries = findChild<QComboBox*>(QStringLiteral("cmbNReiheR"))->currentText();
  const QString rTolerance = findChild<QComboBox*>(QStringLiteral("cmbNTolR"))->currentText();
  const QString cSeries = findChild<QComboBox*>(QStringLiteral("cmbNReiheC"))->currentText();
  const QString cTolerance = findChild<QComboBox*>(QStringLiteral("cmbNTolC"))->currentText();
  const QString dielectric = findChild<QComboBox*>(QStringLiteral("cmbNKondTyp"))->currentText();
  const double highest = spread_->surroundings()
                             ? c.ub * (1.0 + spread_->surroundings().value().around.supplyTolerance)
                             : c.ub;
  out.parts = {
      {QStringLiteral("R1"), out.circuit.r1, rSeries, rTolerance, QStringLiteral("Widerstand")},
      {QStringLiteral("R2"), out.circuit.r2, rSeries, rTolerance, QStringLiteral("Widerstand")},
      {QStringLiteral("C1"), out.circuit.c1, cSeries, cTolerance,
       QStringLiteral("%1, mindestens %2 V")
           .arg(dielectric, fromCore(numberText(capacitorRating(highest))))},
      {QStringLiteral("C2"), QStringLiteral("10 nF"), QString(), QString(),
       QStringLiteral("an Pin 5 (Steuerspannung)")},
      {QStringLiteral("IC"), out.circuit.chip, QString(), QString(), QStringLiteral("Ub = ") + ub}};
  if (c.diode) {
    out.parts.insert(out.parts.begin() + 3, {QStringLiteral("D"), fromCore(c.model.name), QString(),
                                             QString(), QStringLiteral("parallel zu R2")});
  }
  out.times << QStringLiteral("Erwartet: t-EIN = %1 (%2), t-AUS = %3 (%4), Frequenz = %5")
                   .arg(fromCore(timeText(s->tein)), fromCore(percentText(s->devTein)),
                        fromCore(timeText(s->taus)), fromCore(percentText(s->devTaus)),
                        fromCore(frequencyText(s->frequenz)));
  out.spread = c_.lblNToleranz->text().split(QLatin1Char('\n')) +
               c_.lblNUmgebung->text().split(QLatin1Char('\n'));
  out.histogram = c_.picNHistogramm->deviations();
  out.signal = c_.picNSignal->signal();
  out.hints = c_.lblNHinweis->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  return out;
}

// Each member of c_ holds the control whose object name is the member's own name.
void frmNormwerte::findControls() {
  KIPPWERK_FIND(txtNTein);
  KIPPWERK_FIND(txtNTaus);
  KIPPWERK_FIND(txtNUb);
  KIPPWERK_FIND(txtNFest);
  KIPPWERK_FIND(cmbNTyp);
  KIPPWERK_FIND(cmbNDiodeTyp);
  KIPPWERK_FIND(cmbNFest);
  KIPPWERK_FIND(cmbNFestEinheit);
  KIPPWERK_FIND(cmbNSortierung);
  KIPPWERK_FIND(prgNAusbeute);
  KIPPWERK_FIND(lblNReihenfolge);
  KIPPWERK_FIND(chkNDiode);
  KIPPWERK_FIND(tblNormwerte);
  KIPPWERK_FIND(lblNStatus);
  KIPPWERK_FIND(lblNToleranz);
  KIPPWERK_FIND(lblNUmgebung);
  KIPPWERK_FIND(picNHistogramm);
  KIPPWERK_FIND(lblNHinweis);
  KIPPWERK_FIND(picNSignal);
  KIPPWERK_FIND(cmdNNachmessen);
  KIPPWERK_FIND(cmdNUebernehmen);
  KIPPWERK_FIND(cmdNSchliessen);
}

void frmNormwerte::connectEvents() {
  for (QLineEdit* box : {c_.txtNTein, c_.txtNTaus, c_.txtNUb, c_.txtNFest}) {
    connect(box, &QLineEdit::textChanged, this, &frmNormwerte::recompute);
  }
  for (QComboBox* list : {c_.cmbNTyp, c_.cmbNDiodeTyp, c_.cmbNFestEinheit}) {
    connect(list, &QComboBox::currentIndexChanged, this, &frmNormwerte::recompute);
  }
  // A tolerance too decides which sets are usable at the edges of the number range, so it
  // searches again like every other input.
  connectFields(this, 'N', kRangeFields, [this] { recompute(); });
  connectFields(this, 'N', kEnvironmentFields, [this] { surroundingsChanged(); });
  connect(c_.cmbNFest, &QComboBox::currentIndexChanged, this, &frmNormwerte::cmbNFest_Click);
  connect(c_.chkNDiode, &QCheckBox::toggled, this, &frmNormwerte::chkNDiode_Click);
  connect(c_.tblNormwerte, &ResultTable::highlightChanged, this, &frmNormwerte::showSelected);
  connect(ranked_, &RankedRows::orderChosen, this, &frmNormwerte::recompute);
  connect(ranked_, &RankedRows::ranked, this, &frmNormwerte::showRanked);
  c_.tblNormwerte->setCopyTail([this](int) {
    return c_.lblNToleranz->text() + QLatin1Char('\n') + c_.lblNUmgebung->text();
  });
  connect(c_.cmdNUebernehmen, &QPushButton::clicked, this, &frmNormwerte::cmdNUebernehmen_Click);
  connect(c_.cmdNNachmessen, &QPushButton::clicked, this, &frmNormwerte::cmdNNachmessen_Click);
  connect(c_.cmdNSchliessen, &QPushButton::clicked, this, &QWidget::close);
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, &QWidget::close);
  c_.cmbNDiodeTyp->setEnabled(false);
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
    c_.cmbNDiodeTyp->setEnabled(start.diode);
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

void frmNormwerte::cmbNFest_Click() {
  fillFixedValue();
  recompute();
}

// The diode's model only counts while there is a diode.
void frmNormwerte::chkNDiode_Click() {
  c_.cmbNDiodeTyp->setEnabled(c_.chkNDiode->isChecked());
  recompute();
}

Result<StandardSearch, QString> frmNormwerte::readRequest() const {
  StandardSearch q;
  q.diode = c_.chkNDiode->isChecked();
  q.diodeModel = diodeOf(c_.cmbNDiodeTyp);
  q.fixed = fixedChoice();
  for (const auto& [box, name, into] :
       {std::tuple{c_.txtNTein, "t-EIN", &q.tein}, std::tuple{c_.txtNTaus, "t-AUS", &q.taus}}) {
    const Result<double, QString> v = readNumberIn(box, QString::fromLatin1(name));
    if (!v) return v.error();
    *into = v.value();
  }
  const Result<double, QString> ub = readSupply(c_.txtNUb, familyOf(c_.cmbNTyp));
  if (!ub) return ub.error();
  q.ub = ub.value();
  q.chip = familyOf(c_.cmbNTyp).chip(q.ub);
  const Result<RangeInputs, QString> ranges = readRangeFields(this, 'N');
  if (!ranges) return ranges.error();
  ranges.value().into(q);
  if (q.fixed != FixedPart::None) {
    const Result<double, QString> v =
        readBox(c_.txtNFest, c_.cmbNFestEinheit,
                q.fixed == FixedPart::C1 ? std::span<const Unit>(capacitorUnits) : resistorUnits,
                fixedPartName(q.fixed), QStringLiteral("von ") + fixedPartName(q.fixed));
    if (!v) return v.error();
    q.fixedValue = v.value();
  }
  return q;
}

void frmNormwerte::recompute() {
  const Result<StandardSearch, QString> read = readRequest();
  if (!read) return showProblem(read.error());
  StandardSearch request = read.value();
  request.count = ranked_->candidates();
  StandardSets sets = searchStandardSets(request);
  if (!sets) return showProblem(searchStatusText(sets.error(), request));
  family_ = familyOf(c_.cmbNTyp);
  candidates_ = std::move(sets.value());
  rows_.clear();
  for (std::size_t i = 0; i < std::min(candidates_.size(), kMaxStandardSets); ++i) {
    rows_.push_back(i);
  }
  request_ = request;
  readEnvironment();
  showSets(0);
}

// The surroundings do not change the sets, only their real spread and the leakage hints: the
// highlighted row stays, and a box there that cannot be used leaves the table as it is and says
// so in the status line.
void frmNormwerte::surroundingsChanged() {
  if (candidates_.empty()) return recompute();
  readEnvironment();
  showSets(c_.tblNormwerte->highlightedRow());
}

void frmNormwerte::readEnvironment() {
  spread_->setSurroundings(readEnvironmentFields(this, 'N', family_, request_.ub));
}

std::vector<Hint> frmNormwerte::hintsOf(const StandardSet& s) const {
  return spread_->withLeakage(
      astableHints(family_, request_.circuit(), s.r1, s.r2, s.c1, s.frequenz), designOf(s));
}

TimerDesign frmNormwerte::designOf(const StandardSet& s) const {
  TimerDesign d;
  d.r1 = s.r1;
  d.r2 = s.r2;
  d.c1 = s.c1;
  d.circuit = request_.circuit();
  d.resistorTolerance = request_.resistorTolerance;
  d.capacitorTolerance = request_.capacitorTolerance;
  d.error = family_.astable;
  d.family = family_;
  return d;
}

// The table's cells of a set, the hints' briefs in the last.
QStringList frmNormwerte::rowTexts(const StandardSet& s, const QString& rate,
                                   const QString& hints) {
  return {fromCore(partText(s.r1, resistorUnits)),
          fromCore(partText(s.r2, resistorUnits)),
          fromCore(partText(s.c1, capacitorUnits)),
          fromCore(timeText(s.tein)),
          fromCore(timeText(s.taus)),
          fromCore(frequencyText(s.frequenz)),
          fromCore(percentText(s.devTein)),
          fromCore(percentText(s.devTaus)),
          rate,
          hints};
}

// The candidates' pass rates start anew with the rows as they stand.
void frmNormwerte::showSets(int highlight) {
  QStringList status{
      shortfallText(shortfallOf(request_, candidates_.front()), false, request_.fixed)};
  status << spread_->problem();
  status.removeAll(QString());
  c_.lblNStatus->setText(status.join(QLatin1Char('\n')));
  std::vector<TimerDesign> designs;
  for (const StandardSet& s : candidates_) designs.push_back(designOf(s));
  ranked_->start(std::move(designs), request_.tein, request_.taus, rows_);
  showRows(highlight);
}

void frmNormwerte::showRows(int highlight) {
  sets_.clear();
  std::vector<QStringList> rows;
  QStringList tips;
  for (std::size_t candidate : rows_) {
    const StandardSet& s = candidates_[candidate];
    sets_.push_back(s);
    const HintTexts hints = hintTexts(hintsOf(s));
    rows.push_back(rowTexts(s, ranked_->rateText(candidate), hints.briefs));
    tips << hints.reasons;
  }
  c_.cmdNUebernehmen->setEnabled(true);
  c_.cmdNNachmessen->setEnabled(true);
  c_.tblNormwerte->setRows(rows, tips, highlight);
}

// Every candidate's rate is known: the best by it, the first highlighted.
void frmNormwerte::showRanked(const std::vector<std::size_t>& order) {
  rows_ = order;
  ranked_->setRows(rows_);
  showRows(0);
  ranked_->rowsShown([this](int row) { return partsOf(row); });
}

void frmNormwerte::showProblem(const QString& status) {
  candidates_.clear();
  rows_.clear();
  sets_.clear();
  ranked_->stop();
  c_.lblNStatus->setText(status);
  c_.cmdNUebernehmen->setEnabled(false);
  c_.cmdNNachmessen->setEnabled(false);
  c_.tblNormwerte->setRows({});
}

// Everything acts on the highlighted row.
const StandardSet* frmNormwerte::selectedSet() const {
  const int row = c_.tblNormwerte->highlightedRow();
  return row >= 0 && row < static_cast<int>(sets_.size()) ? &sets_[static_cast<std::size_t>(row)]
                                                          : nullptr;
}

ToleranceSpread frmNormwerte::spreadOf(const StandardSet& s) const {
  return toleranceSpread(s.r1, s.r2, s.c1, request_.circuit(), request_.resistorTolerance,
                         request_.capacitorTolerance);
}

// The hints as sentences and how far the set's times lie from the timing page's formulas, which
// take an ideal diode and an ideal chip with 0.69 for ln 2: always with a real diode, else
// where a time differs by more than 1 %, so the difference after Übernehmen is explained
// before it.
QString frmNormwerte::hintText(const StandardSet& s) const {
  QStringList lines;
  const QString reasons = hintTexts(hintsOf(s)).reasons;
  if (!reasons.isEmpty()) lines << reasons;
  const Circuit c = request_.circuit();
  const QString ub = fromCore(numberText(c.ub));
  const QString name = fromCore(c.model.name).section(QStringLiteral(" ("), 0, 0);
  auto longer = [](double relative) {
    return fromCore(sizeText(relative)) +
           (relative >= 0.0 ? QStringLiteral(" länger") : QStringLiteral(" kürzer"));
  };
  const double onPage = kTiming * (c.diode ? s.r1 : s.r1 + s.r2) * s.c1;
  const double offPage = kTiming * s.r2 * s.c1;
  const double on = s.tein / onPage - 1.0, off = s.taus / offPage - 1.0;
  const QString formula =
      c.diode ? QStringLiteral("0.69 · R1 · C1") : QStringLiteral("0.69 · (R1 + R2) · C1");
  if (c.realDiode()) {
    lines << QStringLiteral(
                 "Mit der Diode %1 bei Ub = %2 V ist t-EIN um %3 als %4; die Seite „Zeiten“ "
                 "rechnet mit idealer Diode und idealem Zeitgeber.")
                 .arg(name, ub, longer(on), formula);
  } else if (std::fabs(on) > 0.01) {
    lines << QStringLiteral(
                 "Bei Ub = %1 V ist t-EIN hier um %2 als %3; die Seite „Zeiten“ rechnet mit "
                 "idealem Zeitgeber.")
                 .arg(ub, longer(on), formula);
  }
  if (c.realDiode() && off < -0.01) {
    lines << QStringLiteral(
                 "Der Sperrstrom der Diode %1 fließt beim Entladen neben R2: t-AUS ist hier um %2 "
                 "als 0.69 · R2 · C1.")
                 .arg(name, longer(off));
  } else if (std::fabs(off) > 0.01) {
    lines << QStringLiteral(
                 "t-AUS ist hier um %1 als 0.69 · R2 · C1: Entladeschalter und Verzögerungen des "
                 "Zeitgebers.")
                 .arg(longer(off));
  }
  return lines.join(QLatin1Char('\n'));
}

void frmNormwerte::showSelected() {
  const StandardSet* s = selectedSet();
  if (s == nullptr) {
    c_.lblNToleranz->clear();
    c_.lblNHinweis->clear();
    c_.picNSignal->setSignal(std::nullopt);
    spread_->clear();
    return;
  }
  ranked_->highlight(c_.tblNormwerte->highlightedRow());
  const ToleranceSpread spread = spreadOf(*s);
  c_.lblNToleranz->setText(toleranceHeading() + QLatin1Char('\n') +
                           fromCore(toleranceText(spread, request_.tein, request_.taus)));
  c_.lblNHinweis->setText(hintText(*s));
  c_.picNSignal->setSignal(Signal{s->tein, s->taus, request_.tein, request_.taus, spread.edges,
                                  capacitorVoltage(request_.circuit(), s->r1, s->r2, s->c1, 48),
                                  request_.ub});
}

// The timing page computes from texts: each must read back as the very part behind the row,
// a fixed part with all the digits it was typed with. It shows times to three decimals of a
// second, so a set of microseconds arrives there as 0 s: the status line says so.
void frmNormwerte::cmdNUebernehmen_Click() {
  const StandardSet* s = selectedSet();
  if (s == nullptr) return;
  const StandardSet set = *s;
  emit takeOver(HandOver{exactPart(set.r1, resistorUnits), exactPart(set.r2, resistorUnits),
                         exactPart(set.c1, capacitorUnits), request_.diode});
  const Result<Times> shown = timesFromComponents(set.r1, set.r2, set.c1, request_.diode);
  if (!shown) return;
  QStringList zeros;
  for (const auto& [name, value] :
       {std::pair{"t-EIN", shown.value().tein}, std::pair{"t-AUS", shown.value().taus},
        std::pair{"t-Periode", shown.value().tperiode}}) {
    if (roundValue(value, 3) == 0.0) {
      zeros << QStringLiteral("%1 = 0 s (genau %2)")
                   .arg(QLatin1String(name), fromCore(timeText(value)));
    }
  }
  if (!zeros.isEmpty()) {
    c_.lblNStatus->setText(
        QStringLiteral("Übernommen. Die Seite „Zeiten“ rundet auf drei Nachkommastellen und zeigt "
                       "deshalb %1.")
            .arg(zeros.join(QStringLiteral(", "))));
  }
}

// The highlighted set as built, with this window's circuit and desired times, to measure again.
void frmNormwerte::cmdNNachmessen_Click() {
  const StandardSet* s = selectedSet();
  if (s == nullptr) return;
  frmNachmessen::Start start;
  start.r1 = exactPart(s->r1, resistorUnits);
  start.r2 = exactPart(s->r2, resistorUnits);
  start.c1 = exactPart(s->c1, capacitorUnits);
  start.family = c_.cmbNTyp->currentIndex();
  start.ub = request_.ub;
  start.diode = request_.diode;
  start.diodeModel = c_.cmbNDiodeTyp->currentIndex();
  start.capacitorType = findChild<QComboBox*>(QStringLiteral("cmbNKondTyp"))->currentIndex();
  start.wantTein = request_.tein;
  start.wantTaus = request_.taus;
  emit remeasure(start);
}

}  // namespace kippwerk::ui
