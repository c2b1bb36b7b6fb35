// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/windows/frmKippwerk.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStandardPaths>

#include "core/timeentry.h"
#include "ui/files/designdocument.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/flagicon.h"
#include "ui/widgets/reading.h"
#include "ui/widgets/widgets.h"
#include "ui/windows/frmMonoflop.h"

namespace kippwerk::ui {
namespace {

constexpr int kClientWidth = 496;   // 7440 twips
constexpr int kClientHeight = 398;  // 5970 twips

const QString kOutOfRange = QStringLiteral(
    "Ein Wert oder ein Ergebnis liegt außerhalb des darstellbaren Zahlenbereichs.\r\n"
    "Bitte andere Werte eingeben; es wurde nichts geändert.");
const QString kZeroComponent = QStringLiteral(
    "Der bekannte Wert von C1 oder R2 ist 0; damit lassen sich keine Bauteile berechnen.\r\n"
    "Bitte mit „Zurück“ einen Wert ungleich 0 eingeben.");

// The navigation buttons: each hides the page it stands on, then shows its target.
struct Navigation {
  const char* button;  // cmdZeit_Click, cmdBauteile_Click, ...
  int from;
  int to;
};
constexpr Navigation kNavigation[] = {
    {"cmdZeit", 0, 4},     {"cmdBauteile", 0, 1}, {"cmdWeiter1", 1, 2},  {"cmdZurueck1", 1, 0},
    {"cmdZurueck2", 2, 1}, {"cmdZurueck3", 3, 2}, {"cmdZurueck4", 4, 0},
};

}  // namespace

frmKippwerk::frmKippwerk(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("frmKippwerk"));
  setWindowTitle(QStringLiteral("Kippwerk"));
  setWindowIcon(flagIcon());
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  // The program's dialog font, message boxes included: the captions of the layout fit it
  // without clipping (see the screenshots under docs/).
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPointSizeF(7.5);
  QApplication::setFont(font);

  auto* client = new QWidget;
  client->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client);
  buildControls(client);
  buildMenu();

  // Each member of c_ holds the control whose object name is the member's own name.
  KIPPWERK_FIND(Picture1);
  for (int i = 0; i < 5; ++i) findNamed(this, c_.Frame[i], QStringLiteral("Frame(%1)").arg(i));
  for (int i = 0; i < 2; ++i) findNamed(this, c_.Frame1[i], QStringLiteral("Frame1(%1)").arg(i));
  KIPPWERK_FIND(txtGegR1);
  KIPPWERK_FIND(txtGegR2);
  KIPPWERK_FIND(txtGegC1);
  KIPPWERK_FIND(txtC1);
  KIPPWERK_FIND(txtR2);
  KIPPWERK_FIND(txtTein);
  KIPPWERK_FIND(txtTaus);
  KIPPWERK_FIND(txtTperiode);
  KIPPWERK_FIND(txtFrequenz);
  KIPPWERK_FIND(cmbGegR1);
  KIPPWERK_FIND(cmbGegR2);
  KIPPWERK_FIND(cmbGegC1);
  KIPPWERK_FIND(cmbR2);
  KIPPWERK_FIND(cmbC1);
  KIPPWERK_FIND(chkD);
  KIPPWERK_FIND(chkDiode);
  KIPPWERK_FIND(optC1);
  KIPPWERK_FIND(optR2);
  KIPPWERK_FIND(lblZeiten);
  KIPPWERK_FIND(lblErgebnis);
  c_.Picture1->setAccessibleDescription(QStringLiteral(
      "Timer NE555 als astabile Kippstufe: R1 und R2 in Reihe von +Ub nach C1, Pin 2 und 6 an "
      "C1, Pin 7 zwischen R1 und R2, Ausgang an Pin 3, C2 = 10 nF an Pin 5, wahlweise eine Diode "
      "D parallel zu R2."));
  c_.Picture1->setPicture({QStringLiteral(":/kippwerk/circuit.gif"),
                           QStringLiteral(":/kippwerk/circuit@2x.gif"),
                           QStringLiteral(":/kippwerk/circuit@3x.gif")});

  connectEvents();
  Form_Load();
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  c_.Picture1->setFocus();
}

void frmKippwerk::buildMenu() {
  struct Item {
    int menu;  // index into kMenus
    const char* name;
    const char* caption;  // nullptr: a separator line
    void (frmKippwerk::*operation)();
  };
  static constexpr std::pair<const char*, const char*> kMenus[] = {
      {"mnuDatei", "&Datei"}, {"mnuExtras", "&Extras"}, {"mnuHelp", "&?"}};
  static constexpr Item kItems[] = {
      {0, "mnuRestart", "&Restart", &frmKippwerk::mnuRestart_Click},
      {0, "mnuStrich", nullptr, nullptr},
      {0, "mnuBeenden", "&Beenden", &frmKippwerk::mnuBeenden_Click},
      {1, "mnuNormwerte", "&Normwerte ...", &frmKippwerk::mnuNormwerte_Click},
      {1, "mnuMonoflop", "&Monoflop ...", &frmKippwerk::mnuMonoflop_Click},
      {1, "mnuNachmessen", "Na&chmessen ...", &frmKippwerk::mnuNachmessen_Click},
      {1, "mnuEntwurfOeffnen", "&Entwurf öffnen …", &frmKippwerk::mnuEntwurfOeffnen_Click},
      {2, "mnuAbout", "&About", &frmKippwerk::mnuAbout_Click},
  };
  std::vector<QMenu*> menus;
  for (const auto& [name, caption] : kMenus) {
    menus.push_back(menuBar()->addMenu(QString::fromUtf8(caption)));
    menus.back()->setObjectName(QString::fromLatin1(name));
  }
  for (const Item& item : kItems) {
    QMenu* menu = menus[static_cast<std::size_t>(item.menu)];
    QAction* action =
        item.caption ? menu->addAction(QString::fromUtf8(item.caption)) : menu->addSeparator();
    action->setObjectName(QString::fromLatin1(item.name));
    if (item.operation) connect(action, &QAction::triggered, this, item.operation);
  }
}

void frmKippwerk::connectEvents() {
  for (const Navigation& nav : kNavigation) {
    auto* button = findChild<QPushButton*>(QString::fromLatin1(nav.button));
    connect(button, &QPushButton::clicked, this, [this, nav] { switchPage(nav.from, nav.to); });
  }
  auto onClick = [this](const char* name, void (frmKippwerk::*operation)()) {
    connect(findChild<QPushButton*>(QString::fromLatin1(name)), &QPushButton::clicked, this,
            operation);
  };
  onClick("cmdBerechne", &frmKippwerk::cmdBerechne_Click);
  onClick("cmdWeiter2", &frmKippwerk::cmdWeiter2_Click);
  onClick("cmdFertig", &frmKippwerk::cmdFertig_Click);
  connect(c_.chkDiode, &QCheckBox::toggled, this, &frmKippwerk::chkDiode_Click);
  connect(c_.optC1, &QRadioButton::toggled, this, [this](bool on) {
    if (on) optC1_Click();
  });
  connect(c_.optR2, &QRadioButton::toggled, this, [this](bool on) {
    if (on) optR2_Click();
  });
  for (QLineEdit* box : {c_.txtTein, c_.txtTaus, c_.txtFrequenz}) box->installEventFilter(this);
}

// A key release counts for the box in which its key was pressed. A release whose press went
// elsewhere (the Tab that moved the focus here, the Enter that closed a message box) is not
// typing in this box and must not recompute or warn.
bool frmKippwerk::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
      keyPressedIn_ = watched;
      break;
    case QEvent::FocusOut:
      if (keyPressedIn_ == watched) keyPressedIn_ = nullptr;
      break;
    case QEvent::KeyRelease:
      if (keyPressedIn_ != watched) break;
      if (watched == c_.txtTein) txtTein_KeyUp();
      if (watched == c_.txtTaus) txtTaus_KeyUp();
      if (watched == c_.txtFrequenz) txtFrequenz_KeyUp();
      break;
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, event);
}

QGroupBox* frmKippwerk::page(int index) const {
  return c_.Frame[index];
}

void frmKippwerk::showOnlyPage(int index) {
  page(index)->show();
  for (int i = 0; i < 5; ++i) {
    if (i != index) page(i)->hide();
  }
}

void frmKippwerk::switchPage(int from, int to) {
  page(from)->hide();
  page(to)->show();
}

void frmKippwerk::Form_Load() {
  q_.times.tein = 0.54;
  q_.times.taus = 0.22;
  q_.times.tperiode = 0.76;
  q_.times.frequenz = roundValue(1 / q_.times.tperiode, 2);
  c_.cmbGegR1->setCurrentIndex(1);
  c_.cmbGegR2->setCurrentIndex(1);
  c_.cmbGegC1->setCurrentIndex(2);
  c_.cmbR2->setCurrentIndex(1);
  c_.cmbC1->setCurrentIndex(2);
  desired_ = q_.times;
}

void frmKippwerk::showMessage(QMessageBox::Icon icon, const QString& text) {
  QMessageBox box(icon, QStringLiteral("Kippwerk"), text, QMessageBox::Ok, this);
  box.exec();
}

void frmKippwerk::showError(Error error) {
  showMessage(QMessageBox::Critical, error == Error::ZeroComponent ? kZeroComponent : kOutOfRange);
}

void frmKippwerk::cmdBerechne_Click() {
  const Result<double> r1 = readScaled(c_.txtGegR1, c_.cmbGegR1, resistorUnits);
  const Result<double> r2 = readScaled(c_.txtGegR2, c_.cmbGegR2, resistorUnits);
  const Result<double> c1 = readScaled(c_.txtGegC1, c_.cmbGegC1, capacitorUnits);
  if (!r1 || !r2 || !c1) return showError(Error::OutOfRange);
  const bool diode = c_.chkD->isChecked();
  const Result<Times> times = timesFromComponents(r1.value(), r2.value(), c1.value(), diode);
  if (!times) return showError(times.error());
  q_.R1 = r1.value();
  q_.R2 = r2.value();
  q_.C1 = c1.value();
  q_.Diode = diode;
  q_.times = times.value();
  c_.lblZeiten->setText(fromCore(timesText(q_.times)));
}

// The four time boxes show the quantities. The box just typed in keeps a text that is a
// decimal number or the start of one, so "0." does not collapse to "0" while typing "0.5".
void frmKippwerk::setText(QLineEdit* typedIn) {
  const std::pair<QLineEdit*, double> boxes[] = {
      {c_.txtTein, q_.times.tein},
      {c_.txtTaus, q_.times.taus},
      {c_.txtTperiode, q_.times.tperiode},
      {c_.txtFrequenz, q_.times.frequenz},
  };
  for (const auto& [box, value] : boxes) {
    if (box == typedIn && isDecimalPrefix(box->text().toStdString())) continue;
    const QString text = fromCore(displayText(value));
    if (box->text() != text) box->setText(text);
  }
}

void frmKippwerk::applyTimeEntry(QLineEdit* box,
                                 const std::function<Result<Times>(Times, double)>& op) {
  const Result<double> typed = parseValue(box->text().toStdString());
  const Result<Times> next = typed ? op(q_.times, typed.value()) : Result<Times>(typed.error());
  if (!next) {
    showError(next.error());
    return setText(nullptr);
  }
  q_.times = next.value();
  desired_ = q_.times;
  setText(box);
}

void frmKippwerk::txtTein_KeyUp() {
  const bool equalTimes = c_.chkDiode->isChecked();
  applyTimeEntry(c_.txtTein,
                 [equalTimes](Times q, double v) { return afterTeinTyped(q, v, equalTimes); });
}

void frmKippwerk::txtTaus_KeyUp() {
  applyTimeEntry(c_.txtTaus, afterTausTyped);
}

void frmKippwerk::txtFrequenz_KeyUp() {
  if (c_.txtFrequenz->isReadOnly()) {
    return showMessage(
        QMessageBox::Warning,
        QStringLiteral("Die Frequenz kann nur angegeben werden, wenn t-EIN = t-AUS ist!"));
  }
  applyTimeEntry(c_.txtFrequenz, afterFrequencyTyped);
}

// All or nothing: when the times cannot follow the new mode, the box returns to its former
// state (without running this operation again) and the locks stay as they were.
void frmKippwerk::chkDiode_Click() {
  const bool equalTimes = c_.chkDiode->isChecked();
  const Result<Times> next = afterModeSwitched(q_.times, equalTimes);
  if (!next) {
    {
      const QSignalBlocker quiet(c_.chkDiode);
      c_.chkDiode->setChecked(!equalTimes);
    }
    showError(next.error());
    return setText(nullptr);
  }
  c_.txtTaus->setReadOnly(equalTimes);
  c_.txtFrequenz->setReadOnly(!equalTimes);
  q_.times = next.value();
  desired_ = q_.times;
  setText(nullptr);
}

void frmKippwerk::optC1_Click() {
  c_.Frame1[0]->show();
  c_.Frame1[1]->hide();
}

void frmKippwerk::optR2_Click() {
  c_.Frame1[1]->show();
  c_.Frame1[0]->hide();
}

void frmKippwerk::cmdWeiter2_Click() {
  const bool equalTimes = c_.chkDiode->isChecked();
  if (const auto message =
          checkDesiredTimes(q_.times.tein, q_.times.taus, q_.times.frequenz, equalTimes)) {
    return showMessage(QMessageBox::Critical, fromCore(*message));
  }
  const KnownComponent known = c_.optR2->isChecked() ? KnownComponent::R2 : KnownComponent::C1;
  const Result<double> value = known == KnownComponent::R2
                                   ? readScaled(c_.txtR2, c_.cmbR2, resistorUnits)
                                   : readScaled(c_.txtC1, c_.cmbC1, capacitorUnits);
  if (!value) return showError(value.error());
  (known == KnownComponent::R2 ? q_.R2 : q_.C1) = value.value();
  q_.Diode = equalTimes;
  c_.lblErgebnis->setText(
      fromCore(dimensioningText(placeholderLines(known, value.value()), q_.Diode, q_.times)));
  switchPage(2, 3);
}

void frmKippwerk::cmdFertig_Click() {
  const KnownComponent known = c_.optC1->isChecked() ? KnownComponent::C1 : KnownComponent::R2;
  const double knownValue = known == KnownComponent::C1 ? q_.C1 : q_.R2;
  const Result<Components> parts =
      dimensionComponents(known, q_.Diode, q_.times.tein, q_.times.taus, knownValue);
  if (!parts) return showError(parts.error());
  q_.R1 = parts.value().r1;
  q_.R2 = parts.value().r2;
  q_.C1 = parts.value().c1;
  c_.lblErgebnis->setText(
      fromCore(dimensioningText(computedLines(parts.value()), q_.Diode, q_.times)));
}

void frmKippwerk::mnuRestart_Click() {
  showOnlyPage(0);
}

void frmKippwerk::mnuBeenden_Click() {
  if (mayCloseDesigns()) QCoreApplication::exit(0);
}

// Each design window first: a "Abbrechen" there keeps the whole program as it was.
bool frmKippwerk::mayCloseDesigns() {
  for (QWidget* w : std::initializer_list<QWidget*>{normwerte_, monoflop_, nachmessen_}) {
    if (w == nullptr) continue;
    auto* document = w->findChild<DesignDocument*>();
    if (document != nullptr && !document->mayClose()) return false;
  }
  return true;
}

void frmKippwerk::closeEvent(QCloseEvent* event) {
  if (!mayCloseDesigns()) return event->ignore();
  QMainWindow::closeEvent(event);
}

// The design windows, each made on first use with its connections.
frmNormwerte* frmKippwerk::normwerte() {
  if (normwerte_ == nullptr) {
    normwerte_ = new frmNormwerte(this);
    connect(normwerte_, &frmNormwerte::takeOver, this, &frmKippwerk::takeOverStandardSet);
    connect(normwerte_, &frmNormwerte::remeasure, this, &frmKippwerk::openNachmessen);
  }
  return normwerte_;
}

frmMonoflop* frmKippwerk::monoflop() {
  if (monoflop_ == nullptr) {
    monoflop_ = new frmMonoflop(this);
    connect(monoflop_, &frmMonoflop::remeasure, this, &frmKippwerk::openNachmessen);
  }
  return monoflop_;
}

frmNachmessen* frmKippwerk::nachmessen() {
  if (nachmessen_ == nullptr) nachmessen_ = new frmNachmessen(this);
  return nachmessen_;
}

Result<QWidget*, QString> frmKippwerk::openDesign(const QString& path) {
  const Result<files::Design, QString> read = files::readDesignFile(path);
  if (!read) return read.error();
  QWidget* window = nullptr;
  switch (read.value().kind) {
    case files::DesignKind::Normwerte:
      window = normwerte();
      break;
    case files::DesignKind::Monoflop:
      window = monoflop();
      break;
    case files::DesignKind::Nachmessen:
      window = nachmessen();
      break;
  }
  const files::Written taken = window->findChild<DesignDocument*>()->load(path);
  if (!taken) return taken.error();
  return window;
}

void frmKippwerk::mnuEntwurfOeffnen_Click() {
  const QString path = designDialogs().chooseFile(
      this,
      {QStringLiteral("Entwurf öffnen"),
       QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
       QStringLiteral("Kippwerk-Entwürfe (*.kippwerk)"), QLatin1String(files::kSuffix), false});
  if (path.isEmpty()) return;
  // The window the file is for may hold changes of its own.
  const Result<files::Design, QString> read = files::readDesignFile(path);
  if (read) {
    QWidget* target = nachmessen_;
    if (read.value().kind == files::DesignKind::Normwerte) target = normwerte_;
    if (read.value().kind == files::DesignKind::Monoflop) target = monoflop_;
    if (target != nullptr && !target->findChild<DesignDocument*>()->mayClose()) return;
  }
  const Result<QWidget*, QString> opened = openDesign(path);
  if (!opened) return designDialogs().warn(this, opened.error());
  opened.value()->show();
  opened.value()->raise();
  opened.value()->activateWindow();
}

void frmKippwerk::mnuNormwerte_Click() {
  if (normwerte_ == nullptr) {
    normwerte();
  } else if (normwerte_->isVisible()) {
    // Open already: to the front, with what the user is typing there.
    normwerte_->raise();
    normwerte_->activateWindow();
    return;
  }
  frmNormwerte::Start start;
  start.tein = desired_.tein;
  start.taus = desired_.taus;
  start.diode = c_.chkDiode->isChecked();
  start.known = c_.optR2->isChecked() ? KnownComponent::R2 : KnownComponent::C1;
  start.c1Text = c_.txtC1->text();
  start.c1Unit = c_.cmbC1->currentIndex();
  start.r2Text = c_.txtR2->text();
  start.r2Unit = c_.cmbR2->currentIndex();
  normwerte_->open(start);
}

// Made on first use, so start-up does not pay for it; later only brought to the front.
void frmKippwerk::mnuMonoflop_Click() {
  monoflop()->open();
}

// Made on first use; from the menu as it was left, from a row with the row's circuit.
void frmKippwerk::mnuNachmessen_Click() {
  nachmessen()->open();
}

void frmKippwerk::openNachmessen(const frmNachmessen::Start& start) {
  nachmessen()->open(start);
}

void frmKippwerk::takeOverStandardSet(const frmNormwerte::HandOver& set) {
  const std::tuple<QLineEdit*, QComboBox*, const ScaledText&> parts[] = {
      {c_.txtGegR1, c_.cmbGegR1, set.r1},
      {c_.txtGegR2, c_.cmbGegR2, set.r2},
      {c_.txtGegC1, c_.cmbGegC1, set.c1},
  };
  for (const auto& [box, units, part] : parts) {
    box->setText(fromCore(part.number));
    units->setCurrentIndex(part.unit);
  }
  c_.chkD->setChecked(set.diode);
  showOnlyPage(4);
  cmdBerechne_Click();
  raise();
  activateWindow();
}

void frmKippwerk::mnuAbout_Click() {
  showMessage(QMessageBox::Information,
              QStringLiteral("Kippwerk\r\n"
                             "\r\n"
                             "Berechnet astabile Kippstufen mit dem Timer 555.\r\n"
                             "Autor: Das Kippwerk-Team\r\n"
                             "E-Mail: team@kippwerk.example.org\r\n"
                             "\r\n"
                             "Besuchen Sie uns auf kippwerk.example.org!"));
}

}  // namespace kippwerk::ui
