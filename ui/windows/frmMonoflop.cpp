// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/windows/frmMonoflop.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <cmath>

#include "core/circuit.h"
#include "core/normtext.h"
#include "ui/files/designdocument.h"
#include "ui/panels/rankedrows.h"
#include "ui/panels/realspreadpanel.h"
#include "ui/pictures/histogram.h"
#include "ui/pictures/pulsepicture.h"
#include "ui/widgets/partfields.h"
#include "ui/widgets/reading.h"
#include "ui/widgets/resulttable.h"
#include "ui/widgets/statustexts.h"
#include "ui/widgets/widgets.h"

namespace kippwerk::ui {
namespace {

const char* const kColumns[] = {"R", "C1", "t", "Δ t", "Ausbeute", "Hinweise"};
constexpr int kRateColumn = 4;

// Part one, "Zeit aus Bauteilen".
// clang-format off
constexpr Field kPartsFields[] = {
  {"lblMR", Cell::Label,               "&R =",  0, 0, 1},
  {"txtMR", Cell::Box,                 "100",  0, 1, 1, "R"},
  {"cmbMR", Cell::ResistorUnits,       "",     0, 2, 1, "Einheit von R", 1},
  {"lblMC", Cell::Label,               "C&1 =", 1, 0, 1},
  {"txtMC", Cell::Box,                 "4.7",  1, 1, 1, "C1"},
  {"cmbMC", Cell::CapacitorUnits,      "",     1, 2, 1, "Einheit von C1", 2},
};

// Part two, "Bauteile aus Zeit", in reading order, which is also the Tab order: this row,
// then the range rows.
constexpr Field kTimeFields[] = {
  {"lblMT",   Cell::Label,  "&t =",        0, 0, 1},
  {"txtMT",   Cell::Box,    "1",          0, 1, 1, "gewünschte Zeit t in Sekunden"},
  {"lblMTs",  Cell::Label,  "s",          0, 2, 1},
  {"lblMTyp", Cell::Label,  "&Schaltung:", 0, 3, 1},
  {"cmbMTyp", Cell::Family, "",           0, 4, 2, "Schaltkreisfamilie", 0},
  {"lblMUb",  Cell::Label,  "&Ub =",       0, 6, 1},
  {"txtMUb",  Cell::Box,    "9",          0, 7, 1, "Betriebsspannung Ub in Volt"},
  {"lblMUbV", Cell::Label,  "V",          0, 8, 1},

};
// clang-format on

}  // namespace

frmMonoflop::frmMonoflop(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("frmMonoflop"));
  setWindowTitle(QStringLiteral("Monoflop"));
  if (parent != nullptr) setWindowIcon(parent->windowIcon());
  build();
  connectEvents();
  txtMR_Change();
  recompute();
}

void frmMonoflop::build() {
  auto* circuit = new PictureBox;
  circuit->setObjectName(QStringLiteral("picMSchaltung"));
  circuit->setAccessibleName(QStringLiteral("Schaltbild des Monoflops"));
  circuit->setAccessibleDescription(QStringLiteral(
      "Timer 555 als Monoflop: R von +Ub an Pin 6 und 7, C1 von dort nach Masse, Auslöseeingang "
      "E an Pin 2, Ausgang A an Pin 3, C2 an Pin 5."));
  circuit->setPicture({QStringLiteral(":/kippwerk/monoflop.gif"),
                       QStringLiteral(":/kippwerk/monoflop@2x.gif"),
                       QStringLiteral(":/kippwerk/monoflop@3x.gif")});
  circuit->setFixedSize(302 + 2 * circuit->frameWidth(), 263 + 2 * circuit->frameWidth());
  circuit->setFocusPolicy(Qt::NoFocus);

  auto* partsGrid = new QGridLayout;
  buildFields(partsGrid, kPartsFields, 'M');
  partsGrid->addWidget(textLabel("lblMZeit", true), 2, 0, 1, 3);
  partsGrid->setColumnStretch(1, 1);

  // Left the circuit with part one under it; right part two with its pair's pictures.
  auto* left = new QVBoxLayout;
  left->addWidget(circuit);
  left->addWidget(framedGroup("fraMBauteile", "Zeit aus Bauteilen", partsGrid));
  left->addStretch(1);

  auto* timeGrid = new QGridLayout;
  buildFields(timeGrid, kTimeFields, 'M');
  buildFields(timeGrid, kRangeFields, 'M', 1);
  buildFields(timeGrid, kEnvironmentFields, 'M', 3);
  for (int column : {1, 4, 7}) timeGrid->setColumnStretch(column, 1);
  const RankingControls ranking = makeRankingControls('M', "S&ortierung:");
  auto* order = new QHBoxLayout;
  order->addWidget(ranking.caption);
  order->addWidget(ranking.order);
  order->addWidget(ranking.progress);
  order->addWidget(ranking.said, 1);
  auto* table = new ResultTable(kColumns, 10);
  table->setObjectName(QStringLiteral("tblMonoflop"));
  table->setAccessibleName(QStringLiteral("Paare aus Normwerten, die besten zuerst"));
  auto* picture = new PulsePicture;
  picture->setObjectName(QStringLiteral("picMSignal"));
  picture->setMinimumSize(450, 152);
  picture->setFocusPolicy(Qt::NoFocus);
  auto* histogram = new DeviationHistogram;
  histogram->setObjectName(QStringLiteral("picMHistogramm"));
  histogram->setMinimumSize(420, 152);
  histogram->setFocusPolicy(Qt::NoFocus);
  auto* pictures = new QHBoxLayout;
  pictures->addWidget(picture, 1);
  pictures->addWidget(histogram, 1);
  auto* remeasure = new QPushButton(QStringLiteral("Nac&hmessen ..."));
  remeasure->setObjectName(QStringLiteral("cmdMNachmessen"));
  auto* takeOver = new QPushButton(QStringLiteral("Übernehmen"));
  takeOver->setObjectName(QStringLiteral("cmdMUebernehmen"));
  auto* takeRow = new QHBoxLayout;
  takeRow->addStretch();
  takeRow->addWidget(remeasure);
  takeRow->addWidget(takeOver);

  // What the window says of the highlighted pair scrolls, so no text runs into a control.
  auto* texts = new QWidget;
  auto* lines = new QVBoxLayout(texts);
  lines->setContentsMargins(0, 0, 0, 0);
  lines->addWidget(textLabel("lblMStatus", true));
  lines->addWidget(textLabel("lblMToleranz", false));
  lines->addWidget(textLabel("lblMUmgebung", true));
  lines->addStretch(1);
  auto* scroll = new TextScroll(texts, 8);
  scroll->setObjectName(QStringLiteral("scrMTexte"));

  auto* search = new QVBoxLayout;
  search->addLayout(timeGrid);
  search->addLayout(order);
  search->addWidget(table);
  search->addWidget(scroll);
  search->addLayout(pictures, 1);
  search->addLayout(takeRow);

  auto* close = new QPushButton(QStringLiteral("Schließen"));
  close->setObjectName(QStringLiteral("cmdMSchliessen"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(close);

  auto* columns = new QHBoxLayout;
  columns->addLayout(left);
  columns->addWidget(framedGroup("fraMZeit", "Bauteile aus Zeit", search), 1);
  auto* page = new QVBoxLayout(this);
  page->addLayout(columns, 1);
  page->addLayout(buttons);

  findControls();
  // Reading order: part one, part two's fields, the table, Übernehmen, Schließen.
  chainTabOrder(this, {kPartsFields, kTimeFields, kRangeFields, kEnvironmentFields}, 'M',
                c_.cmbMSortierung);
  setTabOrder(c_.cmbMSortierung, c_.tblMonoflop);
  spread_ = new RealSpreadPanel(c_.lblMUmgebung, c_.picMHistogramm, this);
  ranked_ = new RankedRows(c_.tblMonoflop, kRateColumn, ranking, spread_, true, this);
  setTabOrder(c_.tblMonoflop, c_.cmdMNachmessen);
  setTabOrder(c_.cmdMNachmessen, c_.cmdMUebernehmen);
  setTabOrder(c_.cmdMUebernehmen, c_.cmdMSchliessen);
  buildDocument();
  buttons->insertWidget(0, document_->button(QStringLiteral("Ent&wurf")));
  // In reading order: the design's menu stands left of the other buttons.
  auto* design = findChild<QPushButton*>(QStringLiteral("cmdMEntwurf"));
  setTabOrder(c_.cmdMUebernehmen, design);
  setTabOrder(design, c_.cmdMSchliessen);
}

void frmMonoflop::buildDocument() {
  DesignDocument::Window hooks;
  hooks.kind = files::DesignKind::Monoflop;
  hooks.title = QStringLiteral("Monoflop");
  hooks.letter = 'M';
  hooks.selected = [this] { return partsOf(c_.tblMonoflop->highlightedRow()); };
  hooks.computed = [this]() -> std::map<QString, QString> {
    const PulsePair* p = selectedPair();
    if (p == nullptr) return {};
    return {{QStringLiteral("t"), fromCore(timeText(p->t))}};
  };
  hooks.select = [this](const std::map<QString, QString>& parts) {
    ranked_->selectWhenShown(parts, [this](int row) { return partsOf(row); });
  };
  hooks.sheet = [this] { return sheet(); };
  hooks.busy = [this] { return ranked_->busy(); };
  document_ = new DesignDocument(this, std::move(hooks));
}

void frmMonoflop::closeEvent(QCloseEvent* event) {
  if (!document_->mayClose()) return event->ignore();
  QWidget::closeEvent(event);
}

std::map<QString, QString> frmMonoflop::partsOf(int row) const {
  if (row < 0 || row >= static_cast<int>(pairs_.size())) return {};
  const PulsePair& p = pairs_[static_cast<std::size_t>(row)];
  return {{QStringLiteral("R"), fromCore(partText(p.r, resistorUnits))},
          {QStringLiteral("C1"), fromCore(partText(p.c1, capacitorUnits))}};
}

DataSheet frmMonoflop::sheet() const {
  DataSheet out;
  out.title = QStringLiteral("Monoflop mit dem 555");
  out.times << QStringLiteral("Gewünscht: t = %1").arg(fromCore(timeText(request_.t)));
  const PulsePair* p = selectedPair();
  if (p == nullptr) {
    out.times << c_.lblMStatus->text();
    return out;
  }
  const QString ub = fromCore(numberText(ub_)) + QStringLiteral(" V");
  out.circuit.monostable = true;
  out.circuit.r1 = fromCore(partText(p->r, resistorUnits));
  out.circuit.c1 = fromCore(partText(p->c1, capacitorUnits));
  out.circuit.chip = fromCore(family_.name).section(QStringLiteral(" ("), 0, 0);
  out.circuit.ub = ub;
  auto current = [this](const char* name) {
    return findChild<QComboBox*>(QString::fromLatin1(name))->currentText();
  };
  const double highest = spread_->surroundings()
                             ? ub_ * (1.0 + spread_->surroundings().value().around.supplyTolerance)
                             : ub_;
  out.parts = {
      {QStringLiteral("R"), out.circuit.r1, current("cmbMReiheR"), current("cmbMTolR"),
       QStringLiteral("Widerstand")},
      {QStringLiteral("C1"), out.circuit.c1, current("cmbMReiheC"), current("cmbMTolC"),
       QStringLiteral("%1, mindestens %2 V")
           .arg(current("cmbMKondTyp"), fromCore(numberText(capacitorRating(highest))))},
      {QStringLiteral("C2"), QStringLiteral("10 nF"), QString(), QString(),
       QStringLiteral("an Pin 5 (Steuerspannung)")},
      {QStringLiteral("IC"), out.circuit.chip, QString(), QString(), QStringLiteral("Ub = ") + ub}};
  out.times << QStringLiteral("Erwartet: t = %1 (%2)")
                   .arg(fromCore(timeText(p->t)), fromCore(percentText(p->devT)));
  out.spread = c_.lblMToleranz->text().split(QLatin1Char('\n')) +
               c_.lblMUmgebung->text().split(QLatin1Char('\n'));
  out.histogram = c_.picMHistogramm->deviations();
  out.pulse = c_.picMSignal->pulse();
  for (const Hint& h : hintsOf(*p)) out.hints << fromCore(h.sentence);
  return out;
}

// Each member of c_ holds the control whose object name is the member's own name.
void frmMonoflop::findControls() {
  KIPPWERK_FIND(picMSchaltung);
  KIPPWERK_FIND(txtMR);
  KIPPWERK_FIND(txtMC);
  KIPPWERK_FIND(txtMT);
  KIPPWERK_FIND(txtMUb);
  KIPPWERK_FIND(cmbMR);
  KIPPWERK_FIND(cmbMC);
  KIPPWERK_FIND(cmbMTyp);
  KIPPWERK_FIND(lblMZeit);
  KIPPWERK_FIND(lblMStatus);
  KIPPWERK_FIND(lblMToleranz);
  KIPPWERK_FIND(lblMUmgebung);
  KIPPWERK_FIND(picMHistogramm);
  KIPPWERK_FIND(tblMonoflop);
  KIPPWERK_FIND(cmbMSortierung);
  KIPPWERK_FIND(prgMAusbeute);
  KIPPWERK_FIND(lblMReihenfolge);
  KIPPWERK_FIND(picMSignal);
  KIPPWERK_FIND(cmdMNachmessen);
  KIPPWERK_FIND(cmdMUebernehmen);
  KIPPWERK_FIND(cmdMSchliessen);
}

void frmMonoflop::connectEvents() {
  for (QLineEdit* box : {c_.txtMR, c_.txtMC}) {
    connect(box, &QLineEdit::textChanged, this, &frmMonoflop::txtMR_Change);
  }
  for (QComboBox* list : {c_.cmbMR, c_.cmbMC}) {
    connect(list, &QComboBox::currentIndexChanged, this, &frmMonoflop::txtMR_Change);
  }
  connect(c_.txtMT, &QLineEdit::textChanged, this, &frmMonoflop::recompute);
  // Part one's pulse depends on the chip and the supply too.
  connect(c_.txtMUb, &QLineEdit::textChanged, this, [this] {
    txtMR_Change();
    recompute();
  });
  connect(c_.cmbMTyp, &QComboBox::currentIndexChanged, this, [this] {
    txtMR_Change();
    recompute();
  });
  connectFields(this, 'M', kRangeFields, [this] { recompute(); });
  connectFields(this, 'M', kEnvironmentFields, [this] { surroundingsChanged(); });
  connect(c_.tblMonoflop, &ResultTable::highlightChanged, this, &frmMonoflop::showSelected);
  connect(ranked_, &RankedRows::orderChosen, this, &frmMonoflop::recompute);
  connect(ranked_, &RankedRows::ranked, this, &frmMonoflop::showRanked);
  c_.tblMonoflop->setCopyTail([this](int) {
    return c_.lblMToleranz->text() + QLatin1Char('\n') + c_.lblMUmgebung->text();
  });
  connect(c_.cmdMUebernehmen, &QPushButton::clicked, this, &frmMonoflop::cmdMUebernehmen_Click);
  connect(c_.cmdMNachmessen, &QPushButton::clicked, this, &frmMonoflop::cmdMNachmessen_Click);
  connect(c_.cmdMSchliessen, &QPushButton::clicked, this, &QWidget::close);
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void frmMonoflop::open() {
  show();
  raise();
  activateWindow();
}

// The pulse of the parts in part one with part two's chip and supply, or why there is none.
void frmMonoflop::txtMR_Change() {
  const Result<double, QString> r = readPositive(c_.txtMR, c_.cmbMR, resistorUnits, "R");
  const Result<double, QString> c = readPositive(c_.txtMC, c_.cmbMC, capacitorUnits, "C1");
  const ChipFamily& family = familyOf(c_.cmbMTyp);
  const Result<double, QString> ub = readSupply(c_.txtMUb, family);
  if (!r || !c || !ub) return c_.lblMZeit->setText(!r ? r.error() : !c ? c.error() : ub.error());
  const Circuit circuit{false, kIdealDiode, ub.value(), kModelKelvin, family.chip(ub.value())};
  const double t = pulseTime(circuit, r.value(), c.value());
  c_.lblMZeit->setText(std::isfinite(t) && t > 0.0
                           ? QStringLiteral("t = ") + fromCore(timeText(t))
                           : QStringLiteral("Die Zeit liegt außerhalb des darstellbaren "
                                            "Zahlenbereichs."));
}

Result<PulseSearch, QString> frmMonoflop::readRequest() {
  PulseSearch q;
  const Result<double, QString> t = readNumberIn(c_.txtMT, QStringLiteral("t"));
  if (!t) return t.error();
  if (!(t.value() > 0.0)) return pulseStatusText(PulseError::TimeNotPositive, q);
  q.t = t.value();
  const Result<double, QString> ub = readSupply(c_.txtMUb, familyOf(c_.cmbMTyp));
  if (!ub) return ub.error();
  ub_ = ub.value();
  q.ub = ub_;
  q.chip = familyOf(c_.cmbMTyp).chip(ub_);
  const Result<RangeInputs, QString> ranges = readRangeFields(this, 'M');
  if (!ranges) return ranges.error();
  ranges.value().into(q);
  return q;
}

void frmMonoflop::recompute() {
  const Result<PulseSearch, QString> read = readRequest();
  if (!read) return showProblem(read.error());
  PulseSearch request = read.value();
  request.count = ranked_->candidates();
  PulsePairs pairs = searchPulsePairs(request);
  if (!pairs) return showProblem(pulseStatusText(pairs.error(), request));
  family_ = familyOf(c_.cmbMTyp);
  candidates_ = std::move(pairs.value());
  rows_.clear();
  for (std::size_t i = 0; i < std::min(candidates_.size(), kMaxPulsePairs); ++i) {
    rows_.push_back(i);
  }
  request_ = request;
  readEnvironment();
  showPairs(0);
}

// The surroundings do not change the pairs: the highlighted row stays, its spread is new.
void frmMonoflop::surroundingsChanged() {
  if (candidates_.empty()) return recompute();
  readEnvironment();
  showPairs(c_.tblMonoflop->highlightedRow());
}

void frmMonoflop::readEnvironment() {
  spread_->setSurroundings(readEnvironmentFields(this, 'M', family_, ub_));
}

TimerDesign frmMonoflop::designOf(const PulsePair& p) const {
  TimerDesign d;
  d.monostable = true;
  d.r1 = p.r;
  d.c1 = p.c1;
  d.circuit = request_.circuit();
  d.resistorTolerance = request_.resistorTolerance;
  d.capacitorTolerance = request_.capacitorTolerance;
  d.error = family_.monostable;
  d.family = family_;
  return d;
}

std::vector<Hint> frmMonoflop::hintsOf(const PulsePair& p) const {
  return spread_->withLeakage(monostableHints(family_, request_.circuit(), p.r, p.c1), designOf(p));
}

// The candidates' pass rates start anew with the rows as they stand.
void frmMonoflop::showPairs(int highlight) {
  QStringList status{shortfallText(pulseShortfallOf(request_, candidates_.front()), true)};
  status << spread_->problem();
  status.removeAll(QString());
  c_.lblMStatus->setText(status.join(QLatin1Char('\n')));
  std::vector<TimerDesign> designs;
  for (const PulsePair& p : candidates_) designs.push_back(designOf(p));
  ranked_->start(std::move(designs), request_.t, 0.0, rows_);
  showRows(highlight);
}

void frmMonoflop::showRows(int highlight) {
  pairs_.clear();
  std::vector<QStringList> rows;
  QStringList tips;
  for (std::size_t candidate : rows_) {
    const PulsePair& p = candidates_[candidate];
    pairs_.push_back(p);
    const HintTexts hints = hintTexts(hintsOf(p));
    rows.push_back({fromCore(partText(p.r, resistorUnits)),
                    fromCore(partText(p.c1, capacitorUnits)), fromCore(timeText(p.t)),
                    fromCore(percentText(p.devT)), ranked_->rateText(candidate), hints.briefs});
    tips << hints.reasons;
  }
  c_.cmdMUebernehmen->setEnabled(true);
  c_.cmdMNachmessen->setEnabled(true);
  c_.tblMonoflop->setRows(rows, tips, highlight);
}

// Every candidate's rate is known: the best by it, the first highlighted.
void frmMonoflop::showRanked(const std::vector<std::size_t>& order) {
  rows_ = order;
  ranked_->setRows(rows_);
  showRows(0);
  ranked_->rowsShown([this](int row) { return partsOf(row); });
}

void frmMonoflop::showProblem(const QString& status) {
  candidates_.clear();
  rows_.clear();
  pairs_.clear();
  ranked_->stop();
  c_.lblMStatus->setText(status);
  c_.cmdMUebernehmen->setEnabled(false);
  c_.cmdMNachmessen->setEnabled(false);
  c_.tblMonoflop->setRows({});
}

const PulsePair* frmMonoflop::selectedPair() const {
  const int row = c_.tblMonoflop->highlightedRow();
  return row >= 0 && row < static_cast<int>(pairs_.size()) ? &pairs_[static_cast<std::size_t>(row)]
                                                           : nullptr;
}

void frmMonoflop::showSelected() {
  const PulsePair* p = selectedPair();
  if (p == nullptr) {
    c_.lblMToleranz->clear();
    c_.picMSignal->setPulse(std::nullopt);
    spread_->clear();
    return;
  }
  ranked_->highlight(c_.tblMonoflop->highlightedRow());
  const Spread spread = pulseSpread(request_.circuit(), p->r, p->c1, request_.resistorTolerance,
                                    request_.capacitorTolerance);
  c_.lblMToleranz->setText(toleranceHeading() + QLatin1Char('\n') +
                           fromCore(pulseSpreadText(spread, request_.t)));
  c_.picMSignal->setPulse(Pulse{p->t, request_.t, spread});
}

// The pair into part one, each part in its own box and unit, as exact as the boxes read it.
void frmMonoflop::cmdMUebernehmen_Click() {
  const PulsePair* p = selectedPair();
  if (p == nullptr) return;
  const std::tuple<QLineEdit*, QComboBox*, ScaledText> parts[] = {
      {c_.txtMR, c_.cmbMR, exactPart(p->r, resistorUnits)},
      {c_.txtMC, c_.cmbMC, exactPart(p->c1, capacitorUnits)}};
  for (const auto& [box, units, part] : parts) {
    box->setText(fromCore(part.number));
    units->setCurrentIndex(part.unit);
  }
}

// The highlighted pair as built, with this window's chip and supply and the desired pulse, to
// measure again.
void frmMonoflop::cmdMNachmessen_Click() {
  const PulsePair* p = selectedPair();
  if (p == nullptr) return;
  frmNachmessen::Start start;
  start.monostable = true;
  start.r1 = exactPart(p->r, resistorUnits);
  start.c1 = exactPart(p->c1, capacitorUnits);
  start.family = c_.cmbMTyp->currentIndex();
  start.ub = ub_;
  start.capacitorType = findChild<QComboBox*>(QStringLiteral("cmbMKondTyp"))->currentIndex();
  start.wantTein = request_.t;
  emit remeasure(start);
}

}  // namespace kippwerk::ui
