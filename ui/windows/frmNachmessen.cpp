// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/windows/frmNachmessen.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <memory>

#include "core/circuit.h"
#include "core/realspread.h"
#include "ui/files/designdocument.h"
#include "ui/pictures/measurepicture.h"
#include "ui/widgets/partfields.h"
#include "ui/widgets/reading.h"
#include "ui/widgets/resulttable.h"
#include "ui/widgets/statustexts.h"
#include "ui/widgets/widgets.h"

namespace kippwerk::ui {
namespace {

const char* const kAstableColumns[] = {"R1",      "R2",      "t-EIN",   "t-AUS",
                                       "Δ t-EIN", "Δ t-AUS", "Hinweise"};
const char* const kMonostableColumns[] = {"R", "t", "Δ t", "Hinweise"};

// The inputs in reading order, which is also the Tab order: the kind, the parts as built, what
// was measured, what is wanted, then the resistors' row. Each label's "&" gives its box an Alt
// key, unique in the window together with the shared row's (D, N, X); a monoflop's labels take
// others (R, T, L) where their text changes.
// clang-format off
constexpr Field kKindFields[] = {
  {"optAAstabil",  Cell::Option, "Astabile Kippstufe", 0, 0, 1, "Astabile Kippstufe", 1},
  {"optAMonoflop", Cell::Option, "Monoflop",           0, 1, 1, "Monoflop"},
};

constexpr Field kBuiltFields[] = {
  {"lblAR1",       Cell::Label,          "R&1 =",         0, 0, 1},
  {"txtAR1",       Cell::Box,            "150",           0, 1, 1, "R1 wie aufgebaut"},
  {"cmbAR1",       Cell::ResistorUnits,  "",              0, 2, 1, "Einheit von R1", 1},
  {"lblAR2",       Cell::Label,          "R&2 =",         1, 0, 1},
  {"txtAR2",       Cell::Box,            "68",            1, 1, 1, "R2 wie aufgebaut"},
  {"cmbAR2",       Cell::ResistorUnits,  "",              1, 2, 1, "Einheit von R2", 1},
  {"lblAC1",       Cell::Label,          "&C1 =",         2, 0, 1},
  {"txtAC1",       Cell::Box,            "4.7",           2, 1, 1, "C1 wie aufgebaut"},
  {"cmbAC1",       Cell::CapacitorUnits, "",              2, 2, 1, "Einheit von C1", 2},
  {"chkADiode",    Cell::Check,          "Diode &parallel zu R2", 3, 0, 3, "Diode parallel zu R2"},
  {"lblADiodeTyp", Cell::Label,          "Di&ode:",       4, 0, 1},
  {"cmbADiodeTyp", Cell::Diode,          "",              4, 1, 2, "Diodentyp", 0},
  {"lblATyp",      Cell::Label,          "Sc&haltung:",   5, 0, 1},
  {"cmbATyp",      Cell::Family,         "",              5, 1, 2, "Schaltkreisfamilie", 0},
  {"lblAUb",       Cell::Label,          "&Ub =",         6, 0, 1},
  {"txtAUb",       Cell::Box,            "9",             6, 1, 1, "Betriebsspannung Ub in Volt"},
  {"lblAUbV",      Cell::Label,          "V",             6, 2, 1},
  {"lblAKondTyp",  Cell::Label,          "&Kondensator:", 7, 0, 1},
  {"cmbAKondTyp",  Cell::CapacitorType,  "",              7, 1, 2, "Art des Kondensators", kCapacitorTypeAtFirst},
};

constexpr Field kMeasuredFields[] = {
  {"optAZeiten",   Cell::Option, "t-EIN und t-AUS",       0, 0, 3, "Gemessen: t-EIN und t-AUS", 1},
  {"lblAMessEin",  Cell::Label,  "t-&EIN =",              1, 0, 1},
  {"txtAMessEin",  Cell::Box,    "",                 1, 1, 1, "gemessenes t-EIN in Sekunden"},
  {"lblAMessEinS", Cell::Label,  "s",                     1, 2, 1},
  {"lblAMessAus",  Cell::Label,  "t-&AUS =",              2, 0, 1},
  {"txtAMessAus",  Cell::Box,    "",                 2, 1, 1, "gemessenes t-AUS in Sekunden"},
  {"lblAMessAusS", Cell::Label,  "s",                     2, 2, 1},
  {"optAFrequenz", Cell::Option, "Frequenz und Tastgrad", 3, 0, 3, "Gemessen: Frequenz und Tastgrad"},
  {"lblAMessF",    Cell::Label,  "&f =",                  4, 0, 1},
  {"txtAMessF",    Cell::Box,    "",                 4, 1, 1, "gemessene Frequenz in Hertz"},
  {"lblAMessFHz",  Cell::Label,  "Hz",                    4, 2, 1},
  {"lblAMessTg",   Cell::Label,  "Tast&grad =",           5, 0, 1},
  {"txtAMessTg",   Cell::Box,    "",                  5, 1, 1, "gemessener Tastgrad in Prozent"},
  {"lblAMessTgP",  Cell::Label,  "%",                     5, 2, 1},
};

constexpr Field kWantedFields[] = {
  {"lblASollEin",  Cell::Label, "Soll t-E&IN =", 0, 0, 1},
  {"txtASollEin",  Cell::Box,   "0.54",     0, 1, 1, "gewünschtes t-EIN in Sekunden"},
  {"lblASollEinS", Cell::Label, "s",        0, 2, 1},
  {"lblASollAus",  Cell::Label, "Soll t-AU&S =", 1, 0, 1},
  {"txtASollAus",  Cell::Box,   "0.22",     1, 1, 1, "gewünschtes t-AUS in Sekunden"},
  {"lblASollAusS", Cell::Label, "s",        1, 2, 1},
};
// clang-format on

const std::span<const Field> kResistorRow = kRangeFields.first(kResistorRangeFields);

// The controls that a monoflop has no use for: disabled (R2, the diode) or hidden (the second
// time and the frequency form).
constexpr const char* kAstableOnly[] = {"lblAR2",    "txtAR2",       "cmbAR2",
                                        "chkADiode", "lblADiodeTyp", "cmbADiodeTyp"};
constexpr const char* kAstableRows[] = {
    "lblAMessAus", "txtAMessAus", "lblAMessAusS", "optAFrequenz", "lblAMessF",
    "txtAMessF",   "lblAMessFHz", "lblAMessTg",   "txtAMessTg",   "lblAMessTgP",
    "lblASollAus", "txtASollAus", "lblASollAusS", "optAZeiten"};

// Which box holds the reading back and what helps, in the words of this window: the box as its
// label and form name it, and a remedy that this window offers.
QString refusalText(const Refusal& r, bool mono) {
  using Box = Refusal::Box;
  auto name = [mono](const char* astable, const char* monostable) {
    return QString::fromUtf8(mono ? monostable : astable);
  };
  auto measured = [](const QString& box, const QString& expected) {
    return QStringLiteral(
               "Der Messwert bei „%1“ passt nicht zu diesen Bauteilen, die etwa %2 ergeben; "
               "bitte den Messwert prüfen.")
        .arg(box, expected);
  };
  auto time = [](double seconds) { return fromCore(timeText(seconds)); };
  const QString longer = r.longer ? QStringLiteral("längere") : QStringLiteral("kürzere");
  switch (r.box) {
    case Box::R1:
    case Box::R2:
      return QStringLiteral(
                 "Bei „%1“ steht kein glaubhafter Widerstand (1 Ohm bis 1000 M Ohm); bitte den "
                 "aufgebauten Wert eingeben.")
          .arg(r.box == Box::R1 ? name("R1", "R") : QStringLiteral("R2"));
    case Box::C1:
      return QStringLiteral(
          "Bei „C1“ steht kein glaubhafter Kondensator (1 pF bis 1 F); bitte den aufgebauten "
          "Wert eingeben.");
    case Box::MeasuredTein:
      return measured(name("t-EIN gemessen", "t gemessen"), time(r.expected));
    case Box::MeasuredTaus:
      return measured(QStringLiteral("t-AUS gemessen"), time(r.expected));
    case Box::Frequency:
      return measured(QStringLiteral("f"), fromCore(frequencyText(r.expected)));
    case Box::Duty:
      return measured(QStringLiteral("Tastgrad"),
                      fromCore(fixedText(r.expected * 100.0, 1)) + QStringLiteral(" %"));
    case Box::WantTaus:
      return QStringLiteral(
                 "Kein Widerstand R2 erreicht mit diesem C1 das gewünschte t-AUS; bitte bei "
                 "„t-AUS gewünscht“ eine %1 Zeit eingeben.")
          .arg(longer);
    case Box::WantTein:
      if (mono) {
        return QStringLiteral(
                   "Kein Widerstand R erreicht mit diesem C1 die gewünschte Zeit; bitte bei „t "
                   "gewünscht“ eine %1 Zeit eingeben.")
            .arg(longer);
      }
      return QStringLiteral(
                 "Kein Widerstand R1 erreicht mit diesem C1 und R2 das gewünschte t-EIN; bitte "
                 "bei „t-EIN gewünscht“ eine %1 Zeit eingeben.")
          .arg(longer);
  }
  return {};
}

}  // namespace

frmNachmessen::frmNachmessen(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("frmNachmessen"));
  setWindowTitle(QStringLiteral("Nachmessen"));
  if (parent != nullptr) setWindowIcon(parent->windowIcon());
  build();
  connectEvents();
  optAAstabil_Click();
}

void frmNachmessen::build() {
  auto grid = [](std::span<const Field> fields) {
    auto* g = new QGridLayout;
    buildFields(g, fields, 'A');
    g->setColumnStretch(1, 1);
    return g;
  };
  auto* kind = new QGridLayout;
  buildFields(kind, kKindFields, 'A');
  QGridLayout* measured = grid(kMeasuredFields);
  measured->addWidget(textLabel("lblAMessHinweis", true), 6, 0, 1, 3);

  auto* left = new QVBoxLayout;
  left->addWidget(framedGroup("fraAArt", "Art:", kind));
  left->addWidget(framedGroup("fraAAufgebaut", "Aufgebaut:", grid(kBuiltFields)));
  left->addWidget(framedGroup("fraAGemessen", "Gemessen:", measured));
  left->addWidget(framedGroup("fraAGewuenscht", "Gewünscht:", grid(kWantedFields)));
  left->addStretch(1);

  auto* range = new QGridLayout;
  buildFields(range, kResistorRow, 'A');
  for (int column : {1, 4, 7}) range->setColumnStretch(column, 1);

  // What the measurement says, then the replacement sets, the trimmers and the picture. The
  // texts scroll, so however many lines they get they never run into a control.
  auto* texts = new QWidget;
  auto* lines = new QVBoxLayout(texts);
  lines->setContentsMargins(0, 0, 0, 0);
  lines->addWidget(textLabel("lblAStatus", true));
  lines->addWidget(textLabel("lblAErgebnis", true));
  lines->addStretch(1);
  auto* scroll = new TextScroll(texts, 6);
  scroll->setObjectName(QStringLiteral("scrATexte"));

  auto* table = new ResultTable(kAstableColumns, 10);
  table->setObjectName(QStringLiteral("tblNachmessen"));
  table->setAccessibleName(QStringLiteral("Ersatzwiderstände aus Normwerten, die besten zuerst"));
  table->setMinimumWidth(6 * 80 + 190);

  auto* trimmerTexts = new QWidget;
  auto* trimmerLines = new QVBoxLayout(trimmerTexts);
  trimmerLines->setContentsMargins(0, 0, 0, 0);
  trimmerLines->addWidget(textLabel("lblATrimmer", true));
  trimmerLines->addStretch(1);
  auto* trimmerScroll = new TextScroll(trimmerTexts, 2);
  trimmerScroll->setObjectName(QStringLiteral("scrATrimmer"));

  auto* picture = new MeasurePicture;
  picture->setObjectName(QStringLiteral("picASignal"));
  picture->setMinimumSize(420, 170);
  picture->setFocusPolicy(Qt::NoFocus);

  auto* close = new QPushButton(QStringLiteral("Schließen"));
  close->setObjectName(QStringLiteral("cmdASchliessen"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(close);

  auto* right = new QVBoxLayout;
  right->addLayout(range);
  right->addWidget(scroll);
  right->addWidget(table);
  right->addWidget(trimmerScroll);
  right->addWidget(picture, 1);
  right->addLayout(buttons);

  auto* page = new QHBoxLayout(this);
  page->addLayout(left);
  page->addLayout(right, 1);

  findControls();
  // Reading order: the groups top to bottom, the resistors' row, the table, Schließen.
  chainTabOrder(this, {kKindFields, kBuiltFields, kMeasuredFields, kWantedFields, kResistorRow},
                'A', c_.tblNachmessen);
  setTabOrder(c_.tblNachmessen, c_.cmdASchliessen);
  buildDocument();
  buttons->insertWidget(0, document_->button(QStringLiteral("Ent&wurf")));
  // In reading order: the design's menu stands left of the other buttons.
  auto* design = findChild<QPushButton*>(QStringLiteral("cmdAEntwurf"));
  setTabOrder(c_.tblNachmessen, design);
  setTabOrder(design, c_.cmdASchliessen);
}

void frmNachmessen::buildDocument() {
  DesignDocument::Window hooks;
  hooks.kind = files::DesignKind::Nachmessen;
  hooks.title = QStringLiteral("Nachmessen");
  hooks.letter = 'A';
  hooks.selected = [this] { return partsOf(c_.tblNachmessen->highlightedRow()); };
  hooks.computed = [this]() -> std::map<QString, QString> {
    if (reading_.c1eff <= 0.0) return {};
    return {{QStringLiteral("C1 wirkt wie"), fromCore(partText(reading_.c1eff, capacitorUnits))}};
  };
  hooks.select = [this](const std::map<QString, QString>& parts) {
    if (!parts.empty()) {
      c_.tblNachmessen->highlightFirst([&](int row) { return partsOf(row) == parts; });
    }
  };
  hooks.sheet = [this] { return sheet(); };
  document_ = new DesignDocument(this, std::move(hooks));
}

void frmNachmessen::closeEvent(QCloseEvent* event) {
  if (!document_->mayClose()) return event->ignore();
  QWidget::closeEvent(event);
}

std::map<QString, QString> frmNachmessen::partsOf(int row) const {
  if (row < 0) return {};
  const auto at = static_cast<std::size_t>(row);
  if (inputs_.monostable) {
    if (at >= pairs_.size()) return {};
    return {{QStringLiteral("R"), fromCore(partText(pairs_[at].r, resistorUnits))}};
  }
  if (at >= sets_.size()) return {};
  return {{QStringLiteral("R1"), fromCore(partText(sets_[at].r1, resistorUnits))},
          {QStringLiteral("R2"), fromCore(partText(sets_[at].r2, resistorUnits))}};
}

DataSheet frmNachmessen::sheet() const {
  DataSheet out;
  const bool mono = inputs_.monostable;
  out.title = mono ? QStringLiteral("Nachmessen eines Monoflops mit dem 555")
                   : QStringLiteral("Nachmessen einer astabilen Kippstufe mit dem 555");
  auto part = [](const QLineEdit* box, const QComboBox* units) {
    return box->text().trimmed() + QLatin1Char(' ') + units->currentText();
  };
  const QString ub = c_.txtAUb->text().trimmed() + QStringLiteral(" V");
  out.circuit = {mono,
                 !mono && c_.chkADiode->isChecked(),
                 part(c_.txtAR1, c_.cmbAR1),
                 part(c_.txtAR2, c_.cmbAR2),
                 part(c_.txtAC1, c_.cmbAC1),
                 c_.cmbADiodeTyp->currentText().section(QStringLiteral(" ("), 0, 0),
                 c_.cmbATyp->currentText().section(QStringLiteral(" ("), 0, 0),
                 ub};
  out.parts.push_back({mono ? QStringLiteral("R") : QStringLiteral("R1"), out.circuit.r1, QString(),
                       QString(), QStringLiteral("wie aufgebaut")});
  if (!mono) {
    out.parts.push_back({QStringLiteral("R2"), out.circuit.r2, QString(), QString(),
                         QStringLiteral("wie aufgebaut")});
  }
  out.parts.push_back(
      {QStringLiteral("C1"), out.circuit.c1, QString(), QString(), c_.cmbAKondTyp->currentText()});
  if (out.circuit.diode) {
    out.parts.push_back({QStringLiteral("D"), c_.cmbADiodeTyp->currentText(), QString(), QString(),
                         QStringLiteral("parallel zu R2")});
  }
  out.parts.push_back(
      {QStringLiteral("IC"), out.circuit.chip, QString(), QString(), QStringLiteral("Ub = ") + ub});
  const bool times = c_.optAZeiten->isChecked() || mono;
  out.measured << (times
                       ? QStringLiteral("Gemessen: %1 = %2 s, %3 = %4 s")
                             .arg(mono ? QStringLiteral("t") : QStringLiteral("t-EIN"),
                                  c_.txtAMessEin->text().trimmed(), QStringLiteral("t-AUS"),
                                  c_.txtAMessAus->text().trimmed())
                       : QStringLiteral("Gemessen: f = %1 Hz, Tastgrad = %2 %")
                             .arg(c_.txtAMessF->text().trimmed(), c_.txtAMessTg->text().trimmed()));
  if (mono) out.measured.back() = out.measured.back().section(QStringLiteral(", t-AUS"), 0, 0);
  out.times << QStringLiteral("Gewünscht: %1 = %2 s")
                   .arg(mono ? QStringLiteral("t") : QStringLiteral("t-EIN"),
                        c_.txtASollEin->text().trimmed());
  if (!mono)
    out.times.back() += QStringLiteral(", t-AUS = %1 s").arg(c_.txtASollAus->text().trimmed());
  out.measured << c_.lblAStatus->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts)
               << c_.lblAErgebnis->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  const int row = c_.tblNachmessen->highlightedRow();
  if (row >= 0) {
    QStringList cells;
    for (int column = 0; column < c_.tblNachmessen->columnCount(); ++column) {
      const QString text = c_.tblNachmessen->item(row, column)->text();
      if (!text.isEmpty()) {
        cells << c_.tblNachmessen->horizontalHeaderItem(column)->text() + QStringLiteral(" ") +
                     text;
      }
    }
    out.measured << QStringLiteral("Gewählter Ersatz: ") + cells.join(QStringLiteral(", "));
  }
  out.measured << c_.lblATrimmer->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  out.measurement = c_.picASignal->measurement();
  return out;
}

// Each member of c_ holds the control whose object name is the member's own name.
void frmNachmessen::findControls() {
  KIPPWERK_FIND(optAAstabil);
  KIPPWERK_FIND(optAMonoflop);
  KIPPWERK_FIND(optAZeiten);
  KIPPWERK_FIND(optAFrequenz);
  KIPPWERK_FIND(txtAR1);
  KIPPWERK_FIND(txtAR2);
  KIPPWERK_FIND(txtAC1);
  KIPPWERK_FIND(txtAUb);
  KIPPWERK_FIND(txtAMessEin);
  KIPPWERK_FIND(txtAMessAus);
  KIPPWERK_FIND(txtAMessF);
  KIPPWERK_FIND(txtAMessTg);
  KIPPWERK_FIND(txtASollEin);
  KIPPWERK_FIND(txtASollAus);
  KIPPWERK_FIND(cmbAR1);
  KIPPWERK_FIND(cmbAR2);
  KIPPWERK_FIND(cmbAC1);
  KIPPWERK_FIND(cmbADiodeTyp);
  KIPPWERK_FIND(cmbATyp);
  KIPPWERK_FIND(cmbAKondTyp);
  KIPPWERK_FIND(chkADiode);
  KIPPWERK_FIND(lblAR1);
  KIPPWERK_FIND(lblAMessEin);
  KIPPWERK_FIND(lblASollEin);
  KIPPWERK_FIND(lblAMessHinweis);
  KIPPWERK_FIND(lblAStatus);
  KIPPWERK_FIND(lblAErgebnis);
  KIPPWERK_FIND(lblATrimmer);
  KIPPWERK_FIND(tblNachmessen);
  KIPPWERK_FIND(picASignal);
  KIPPWERK_FIND(cmdASchliessen);
}

void frmNachmessen::connectEvents() {
  for (QLineEdit* box : {c_.txtAR1, c_.txtAR2, c_.txtAC1, c_.txtAUb, c_.txtAMessEin, c_.txtAMessAus,
                         c_.txtAMessF, c_.txtAMessTg, c_.txtASollEin, c_.txtASollAus}) {
    connect(box, &QLineEdit::textChanged, this, &frmNachmessen::recompute);
  }
  for (QComboBox* list :
       {c_.cmbAR1, c_.cmbAR2, c_.cmbAC1, c_.cmbADiodeTyp, c_.cmbATyp, c_.cmbAKondTyp}) {
    connect(list, &QComboBox::currentIndexChanged, this, &frmNachmessen::recompute);
  }
  connectFields(this, 'A', kResistorRow, [this] { recompute(); });
  connect(c_.chkADiode, &QCheckBox::toggled, this, [this] {
    c_.cmbADiodeTyp->setEnabled(c_.chkADiode->isChecked() && c_.chkADiode->isEnabled());
    recompute();
  });
  connect(c_.optAAstabil, &QRadioButton::toggled, this, &frmNachmessen::optAAstabil_Click);
  connect(c_.optAZeiten, &QRadioButton::toggled, this, &frmNachmessen::optAZeiten_Click);
  connect(c_.tblNachmessen, &ResultTable::highlightChanged, this, &frmNachmessen::showSelected);
  c_.tblNachmessen->setCopyTail(
      [this](int) { return c_.lblAErgebnis->text() + QLatin1Char('\n') + c_.lblATrimmer->text(); });
  connect(c_.cmdASchliessen, &QPushButton::clicked, this, &QWidget::close);
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void frmNachmessen::open() {
  show();
  raise();
  activateWindow();
}

void frmNachmessen::open(const Start& s) {
  {
    std::vector<std::unique_ptr<QSignalBlocker>> quiet;
    for (QObject* o : findChildren<QWidget*>())
      quiet.push_back(std::make_unique<QSignalBlocker>(o));
    (s.monostable ? c_.optAMonoflop : c_.optAAstabil)->setChecked(true);
    const std::tuple<QLineEdit*, QComboBox*, const ScaledText&> parts[] = {
        {c_.txtAR1, c_.cmbAR1, s.r1}, {c_.txtAR2, c_.cmbAR2, s.r2}, {c_.txtAC1, c_.cmbAC1, s.c1}};
    for (const auto& [box, units, part] : parts) {
      if (part.number.empty()) continue;
      box->setText(fromCore(part.number));
      units->setCurrentIndex(part.unit);
    }
    c_.cmbATyp->setCurrentIndex(s.family);
    c_.txtAUb->setText(fromCore(exactText(s.ub)));
    c_.chkADiode->setChecked(s.diode);
    c_.cmbADiodeTyp->setCurrentIndex(s.diodeModel);
    c_.cmbAKondTyp->setCurrentIndex(s.capacitorType);
    c_.txtASollEin->setText(fromCore(exactText(s.wantTein)));
    if (!s.monostable) c_.txtASollAus->setText(fromCore(exactText(s.wantTaus)));
    // A new board: what was measured on another one must not be read as this one's.
    for (QLineEdit* box : {c_.txtAMessEin, c_.txtAMessAus, c_.txtAMessF, c_.txtAMessTg}) {
      box->clear();
    }
  }
  optAAstabil_Click();
  open();
}

// A monoflop has one resistor R and one time t: R2 and the diode are greyed, the second time
// and the frequency form hidden, and the labels and the table's columns follow.
void frmNachmessen::optAAstabil_Click() {
  const bool mono = c_.optAMonoflop->isChecked();
  for (const char* name : kAstableOnly) findChild<QWidget*>(QLatin1String(name))->setEnabled(!mono);
  c_.cmbADiodeTyp->setEnabled(!mono && c_.chkADiode->isChecked());
  if (mono) {
    const QSignalBlocker quiet(c_.optAZeiten);
    c_.optAZeiten->setChecked(true);
  }
  showMeasuredForm();
  for (const char* name : kAstableRows) findChild<QWidget*>(QLatin1String(name))->setVisible(!mono);
  c_.lblAR1->setText(mono ? QStringLiteral("&R =") : QStringLiteral("R&1 ="));
  c_.lblAMessEin->setText(mono ? QStringLiteral("&t =") : QStringLiteral("t-&EIN ="));
  c_.lblASollEin->setText(mono ? QStringLiteral("So&ll t =") : QStringLiteral("Soll t-E&IN ="));
  c_.lblAMessHinweis->setText(
      mono ? QStringLiteral("Den Impuls vom Auslösen bis zu seinem Ende messen.")
           : QStringLiteral(
                 "Ab der zweiten Periode messen: die erste lädt C1 von 0 V an und dauert länger."));
  c_.tblNachmessen->setHeaders(mono ? std::span<const char* const>(kMonostableColumns)
                                    : std::span<const char* const>(kAstableColumns));
  recompute();
}

void frmNachmessen::optAZeiten_Click() {
  showMeasuredForm();
  recompute();
}

// Either the two times or frequency and duty cycle; the other pair of boxes is greyed.
void frmNachmessen::showMeasuredForm() {
  const bool times = c_.optAZeiten->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{c_.txtAMessEin, c_.txtAMessAus}) {
    w->setEnabled(times);
  }
  for (QWidget* w : std::initializer_list<QWidget*>{c_.txtAMessF, c_.txtAMessTg}) {
    w->setEnabled(!times);
  }
}

QString frmNachmessen::nameOf(const char* astable, const char* monostable) const {
  return QString::fromUtf8(c_.optAMonoflop->isChecked() ? monostable : astable);
}

Result<std::pair<double, double>, QString> frmNachmessen::readMeasured(bool mono) const {
  // Nothing is diagnosed from values nobody measured on this board: until every box of the
  // chosen form holds something, the status line asks for them.
  const bool times = mono || c_.optAZeiten->isChecked();
  QStringList missing;
  const std::pair<QLineEdit*, QString> boxes[] = {
      {times ? c_.txtAMessEin : c_.txtAMessF,
       times ? nameOf("t-EIN gemessen", "t gemessen") : QStringLiteral("f")},
      {times ? c_.txtAMessAus : c_.txtAMessTg,
       times ? QStringLiteral("t-AUS gemessen") : QStringLiteral("Tastgrad")}};
  for (const auto& [box, name] : boxes) {
    if (box == c_.txtAMessAus && mono) continue;
    if (box->text().trimmed().isEmpty()) missing << QStringLiteral("„%1“").arg(name);
  }
  if (!missing.isEmpty()) {
    return QStringLiteral("Bitte eingeben, was am Aufbau gemessen wurde: %1.")
        .arg(missing.join(QStringLiteral(" und ")));
  }
  if (times) {
    const Result<double, QString> on =
        readPositiveNumber(c_.txtAMessEin, nameOf("t-EIN gemessen", "t gemessen"));
    if (!on) return on.error();
    if (mono) return std::pair{on.value(), 0.0};
    const Result<double, QString> off =
        readPositiveNumber(c_.txtAMessAus, QStringLiteral("t-AUS gemessen"));
    if (!off) return off.error();
    return std::pair{on.value(), off.value()};
  }
  const Result<double, QString> f = readPositiveNumber(c_.txtAMessF, QStringLiteral("f"));
  if (!f) return f.error();
  const Result<double, QString> duty = readNumberIn(c_.txtAMessTg, QStringLiteral("Tastgrad"));
  if (!duty) return duty.error();
  const auto fromFrequency = timesFromFrequency(f.value(), duty.value() / 100.0);
  if (!fromFrequency) {
    return fromFrequency.error() == RemeasureError::DutyOutOfRange
               ? QStringLiteral(
                     "Bitte bei „Tastgrad“ einen Wert zwischen 0 und 100 eingeben, beide "
                     "ausgenommen.")
               : outOfRangeText(QStringLiteral("bei „f“"));
  }
  return fromFrequency.value();
}

Result<frmNachmessen::Inputs, QString> frmNachmessen::readInputs() const {
  Inputs in;
  in.monostable = c_.optAMonoflop->isChecked();
  in.frequencyForm = !in.monostable && c_.optAFrequenz->isChecked();
  const Result<double, QString> r1 =
      readPositive(c_.txtAR1, c_.cmbAR1, resistorUnits, nameOf("R1", "R"));
  if (!r1) return r1.error();
  in.r1 = r1.value();
  if (!in.monostable) {
    const Result<double, QString> r2 = readPositive(c_.txtAR2, c_.cmbAR2, resistorUnits, "R2");
    if (!r2) return r2.error();
    in.r2 = r2.value();
  }
  const Result<double, QString> c1 = readPositive(c_.txtAC1, c_.cmbAC1, capacitorUnits, "C1");
  if (!c1) return c1.error();
  in.c1 = c1.value();
  in.family = familyOf(c_.cmbATyp);
  const Result<double, QString> ub = readSupply(c_.txtAUb, in.family);
  if (!ub) return ub.error();
  in.circuit = Circuit{!in.monostable && c_.chkADiode->isChecked(), diodeOf(c_.cmbADiodeTyp),
                       ub.value(), kModelKelvin, in.family.chip(ub.value())};
  const Result<std::pair<double, double>, QString> measured = readMeasured(in.monostable);
  if (!measured) return measured.error();
  in.measuredTein = measured.value().first;
  in.measuredTaus = measured.value().second;
  const Result<double, QString> wantOn =
      readPositiveNumber(c_.txtASollEin, nameOf("t-EIN gewünscht", "t gewünscht"));
  if (!wantOn) return wantOn.error();
  in.wantTein = wantOn.value();
  if (!in.monostable) {
    const Result<double, QString> wantOff =
        readPositiveNumber(c_.txtASollAus, QStringLiteral("t-AUS gewünscht"));
    if (!wantOff) return wantOff.error();
    in.wantTaus = wantOff.value();
  }
  const Result<RangeInputs, QString> range = readRangeFields(this, 'A', false);
  if (!range) return range.error();
  in.series = range.value().resistorSeries;
  in.resistorTolerance = range.value().resistorTolerance;
  in.rMin = range.value().rMin;
  in.rMax = range.value().rMax;
  in.electrolytic = capacitorTypeOf(c_.cmbAKondTyp).electrolytic;
  return in;
}

void frmNachmessen::recompute() {
  const Result<Inputs, QString> in = readInputs();
  if (!in) {
    c_.lblAErgebnis->clear();
    return showProblem(in.error());
  }
  inputs_ = in.value();
  recomputeKind(inputs_);
}

void frmNachmessen::showProblem(const QString& status) {
  sets_.clear();
  pairs_.clear();
  c_.lblAStatus->setText(status);
  c_.lblATrimmer->clear();
  c_.tblNachmessen->setRows({});
  c_.picASignal->setMeasurement(std::nullopt);
}

namespace {

QString readingText(const Reading& r, const ReadingContext& x) {
  QStringList out;
  for (const std::string& line : readingLines(r, x)) out << fromCore(line);
  return out.join(QLatin1Char('\n'));
}

}  // namespace

RemeasureCase frmNachmessen::caseOf(const Inputs& in) {
  return {in.monostable, in.frequencyForm, in.circuit,      in.r1,       in.r2,
          in.c1,         in.measuredTein,  in.measuredTaus, in.wantTein, in.wantTaus};
}

void frmNachmessen::recomputeKind(const Inputs& in) {
  // Parts that are no plausible parts give no reading worth showing.
  if (const std::optional<Refusal> part = implausiblePart(caseOf(in))) {
    c_.lblAErgebnis->clear();
    return showProblem(refusalText(*part, in.monostable));
  }
  if (in.monostable) return showMonostable(in);
  showAstable(in);
}

void frmNachmessen::showAstable(const Inputs& in) {
  const Result<Reading, RemeasureError> read =
      readAstable(in.circuit, in.r1, in.r2, in.measuredTein, in.measuredTaus);
  if (!read) {
    c_.lblAErgebnis->clear();
    return showProblem(refusalText(refusalOf(caseOf(in), read.error()), false));
  }
  reading_ = read.value();
  c_.lblAErgebnis->setText(
      readingText(reading_, ReadingContext{false, in.c1, in.r2, in.circuit, in.electrolytic}));
  const Result<Needed, RemeasureError> needed =
      neededAstable(in.circuit, reading_, in.wantTein, in.wantTaus);
  if (!needed) return showProblem(refusalText(refusalOf(caseOf(in), needed.error()), false));

  StandardSearch q;
  q.tein = in.wantTein / reading_.k;
  q.taus = in.wantTaus;
  q.diode = in.circuit.diode;
  q.diodeModel = in.circuit.model;
  q.ub = in.circuit.ub;
  q.chip = in.circuit.chip;
  q.resistorSeries = in.series;
  q.rMin = in.rMin;
  q.rMax = in.rMax;
  q.fixed = FixedPart::C1;
  q.fixedValue = reading_.c1eff;
  q.resistorTolerance = in.resistorTolerance;
  const StandardSets sets = searchStandardSets(q);
  if (!sets) return showProblem(searchStatusText(sets.error(), q));
  sets_ = sets.value();
  pairs_.clear();
  // The search works on the model's t-EIN; the user reads every time as measured, k applied.
  // C1 is what the board has, not a choice the user made here.
  Shortfall why = shortfallOf(q, sets_.front());
  if (why.tein) why.reach *= reading_.k;
  c_.lblAStatus->setText(shortfallText(why, false));
  std::vector<QStringList> rows;
  QStringList tips;
  for (const StandardSet& s : sets_) {
    const double tein = reading_.k * s.tein;
    const HintTexts hints =
        hintTexts(astableHints(in.family, in.circuit, s.r1, s.r2, s.c1, 1.0 / (tein + s.taus)));
    rows.push_back({fromCore(partText(s.r1, resistorUnits)),
                    fromCore(partText(s.r2, resistorUnits)), fromCore(timeText(tein)),
                    fromCore(timeText(s.taus)), fromCore(percentText(s.devTein)),
                    fromCore(percentText(s.devTaus)), hints.briefs});
    tips << hints.reasons;
  }
  showTrimmers(in, needed.value());
  c_.tblNachmessen->setRows(rows, tips);
}

void frmNachmessen::showMonostable(const Inputs& in) {
  const Result<Reading, RemeasureError> read = readMonostable(in.circuit, in.r1, in.measuredTein);
  if (!read) {
    c_.lblAErgebnis->clear();
    return showProblem(refusalText(refusalOf(caseOf(in), read.error()), true));
  }
  reading_ = read.value();
  c_.lblAErgebnis->setText(
      readingText(reading_, ReadingContext{true, in.c1, in.r1, in.circuit, in.electrolytic}));
  const Result<Needed, RemeasureError> needed = neededMonostable(in.circuit, reading_, in.wantTein);
  if (!needed) return showProblem(refusalText(refusalOf(caseOf(in), needed.error()), true));
  PulseSearch q{in.wantTein, in.series, in.rMin, in.rMax};
  q.fixedC1 = reading_.c1eff;
  q.ub = in.circuit.ub;
  q.chip = in.circuit.chip;
  q.resistorTolerance = in.resistorTolerance;
  const PulsePairs pairs = searchPulsePairs(q);
  if (!pairs) return showProblem(pulseStatusText(pairs.error(), q));
  pairs_ = pairs.value();
  sets_.clear();
  c_.lblAStatus->setText(shortfallText(pulseShortfallOf(q, pairs_.front()), true));
  std::vector<QStringList> rows;
  QStringList tips;
  for (const PulsePair& p : pairs_) {
    const HintTexts hints = hintTexts(monostableHints(in.family, in.circuit, p.r, p.c1));
    rows.push_back({fromCore(partText(p.r, resistorUnits)), fromCore(timeText(p.t)),
                    fromCore(percentText(p.devT)), hints.briefs});
    tips << hints.reasons;
  }
  showTrimmers(in, needed.value());
  c_.tblNachmessen->setRows(rows, tips);
}

// Each needed resistor as a fixed one and a trimmer, never below R min, nor, where the
// discharge transistor's current flows through it, below the chip's minimum.
void frmNachmessen::showTrimmers(const Inputs& in, const Needed& needed) {
  QStringList lines;
  const std::tuple<const char*, double, bool> parts[] = {
      {in.monostable ? "R" : "R1", needed.r1, true}, {"R2", needed.r2, false}};
  for (const auto& [name, value, chip] : parts) {
    if (value <= 0.0) continue;
    const TrimmerFloor floor = trimmerFloor(name, in.rMin, in.family, chip);
    lines << fromCore(trimmerText(
        name, value, trimmerFor(value, in.series, in.resistorTolerance, floor.ohms), floor));
  }
  c_.lblATrimmer->setText(lines.join(QLatin1Char('\n')));
}

// The picture follows the highlighted row.
void frmNachmessen::showSelected() {
  const int row = c_.tblNachmessen->highlightedRow();
  if (row < 0) {
    c_.picASignal->setMeasurement(std::nullopt);
    return;
  }
  Measurement m{inputs_.monostable, inputs_.measuredTein, inputs_.measuredTaus,
                inputs_.wantTein,   inputs_.wantTaus,     std::nullopt};
  const auto at = static_cast<std::size_t>(row);
  if (inputs_.monostable && at < pairs_.size()) m.predicted = std::pair{pairs_[at].t, 0.0};
  if (!inputs_.monostable && at < sets_.size()) {
    m.predicted = std::pair{reading_.k * sets_[at].tein, sets_[at].taus};
  }
  c_.picASignal->setMeasurement(m);
}

}  // namespace kippwerk::ui
