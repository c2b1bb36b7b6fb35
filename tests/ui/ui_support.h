// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Helpers for driving the real window through its object names.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QRadioButton>
#include <QStringList>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <vector>

#include "core/passrate.h"
#include "core/realspread.h"
#include "ui/files/designdocument.h"
#include "ui/windows/frmKippwerk.h"

namespace kippwerk::testing {

using ui::frmKippwerk;

template <class T = QWidget>
T* child(const QWidget& w, const QString& name) {
  T* found = w.findChild<T*>(name);
  if (found == nullptr) qFatal("no control named %s", qPrintable(name));
  return found;
}

// The dialogs answered as a test says, and what they were asked.
struct Answers {
  QString file;  // chosen in a file dialog
  kippwerk::ui::DesignDialogs::Answer answer = kippwerk::ui::DesignDialogs::Answer::Cancel;
  bool print = false;
  QStringList asked, warnings;
  int printers = 0;

  Answers() {
    kippwerk::ui::DesignDialogs& d = kippwerk::ui::designDialogs();
    saved_ = d;
    d.chooseFile = [this](QWidget*, const kippwerk::ui::DesignDialogs::FileChoice& c) {
      asked << c.caption;
      return file;
    };
    d.askToSave = [this](QWidget*, const QString& q) {
      asked << q;
      return answer;
    };
    d.warn = [this](QWidget*, const QString& m) { warnings << m; };
    d.choosePrinter = [this](QWidget*, QPrinter&) {
      ++printers;
      return print;
    };
  }
  ~Answers() { kippwerk::ui::designDialogs() = saved_; }

 private:
  kippwerk::ui::DesignDialogs saved_;
};

// Shows the window and waits until it has the keyboard, as after a start on a desktop.
[[nodiscard]] inline bool showActive(frmKippwerk& w) {
  w.show();
  return QTest::qWaitForWindowActive(&w);
}

// A control of a window by its name, a text box unless said otherwise.
template <class T = QLineEdit>
T* in(const QWidget* window, const char* name) {
  return child<T>(*window, QString::fromLatin1(name));
}

inline QAction* action(const QWidget& w, const char* name) {
  return child<QAction>(w, QString::fromLatin1(name));
}

// Indices of the visible members of Frame.
inline QList<int> visiblePages(const frmKippwerk& w) {
  QList<int> pages;
  for (int i = 0; i < 5; ++i) {
    if (child<QGroupBox>(w, QStringLiteral("Frame(%1)").arg(i))->isVisibleTo(&w)) pages << i;
  }
  return pages;
}

inline void click(const QWidget& w, const char* name) {
  QTest::mouseClick(child<QAbstractButton>(w, QString::fromLatin1(name)), Qt::LeftButton);
}

// The buttons that lead from the start page to each page.
inline void goTo(const frmKippwerk& w, int page) {
  action(w, "mnuRestart")->trigger();
  static const std::vector<const char*> kPaths[5] = {{},
                                                     {"cmdBauteile"},
                                                     {"cmdBauteile", "cmdWeiter1"},
                                                     {"cmdBauteile", "cmdWeiter1", "cmdWeiter2"},
                                                     {"cmdZeit"}};
  for (const char* button : kPaths[page]) click(w, button);
}

// Replaces the whole text the way a user does: Ctrl+A, then the new text key by key.
inline void retype(QWidget* target, const QString& text) {
  target->setFocus();
  QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
  if (text.isEmpty()) {
    QTest::keyClick(target, Qt::Key_Delete);
  } else {
    QTest::keyClicks(target, text);
  }
}

// Records every message box as it is shown and closes it with its OK button right after, so
// a test never hangs on a modal box and can check what it said.
class MessageBoxWatcher : public QObject {
 public:
  struct Seen {
    QMessageBox::Icon icon;
    QString title;
    QString text;
    int buttons;
  };

  MessageBoxWatcher() {
    ++active();
    qApp->installEventFilter(this);
  }
  ~MessageBoxWatcher() override {
    qApp->removeEventFilter(this);
    --active();
  }

  // How many watchers expect boxes right now.
  static int& active() {
    static int count = 0;
    return count;
  }

  const std::vector<Seen>& seen() const { return seen_; }
  void clear() { seen_.clear(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* box = qobject_cast<QMessageBox*>(watched);
    if (box != nullptr && event->type() == QEvent::Show) {
      seen_.push_back(
          {box->icon(), box->windowTitle(), box->text(), static_cast<int>(box->buttons().size())});
      QPointer<QMessageBox> guard(box);
      QMetaObject::invokeMethod(
          this,
          [guard] {
            if (guard.isNull()) return;
            if (QAbstractButton* ok = guard->button(QMessageBox::Ok)) {
              ok->click();
            } else {
              guard->reject();
            }
          },
          Qt::QueuedConnection);
    }
    return false;
  }

 private:
  std::vector<Seen> seen_;
};

// Outside a MessageBoxWatcher's life no box is expected: one that appears fails the running
// test at once with its text and is closed, so the test cannot hang on it.
class UnexpectedBoxGuard : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* box = qobject_cast<QMessageBox*>(watched);
    if (box == nullptr || event->type() != QEvent::Show || MessageBoxWatcher::active() > 0) {
      return false;
    }
    QTest::qFail(qPrintable(QStringLiteral("unexpected message box: ") + box->text()), __FILE__,
                 __LINE__);
    QMetaObject::invokeMethod(box, &QDialog::reject, Qt::QueuedConnection);
    return false;
  }
};

// The offscreen platform warns about every dialog's size hints and every raise(); the warnings
// say nothing about the program and would crowd out the test's own output.
inline void quietOffscreenWarnings() {
  static QtMessageHandler previous = nullptr;
  previous = qInstallMessageHandler(
      [](QtMsgType type, const QMessageLogContext& context, const QString& msg) {
        if (msg.startsWith(QLatin1String("This plugin does not support"))) return;
        if (previous != nullptr) previous(type, context, msg);
      });
}

// The decimal point is always '.', the platform's noise stays out of the output, and an
// unexpected message box fails the test. The design windows' dialogs never block: a file
// dialog or a printer dialog is cancelled, the question before changes are lost is answered
// "Verwerfen", and a warning fails the test like a box (Answers replaces them all).
inline void pinTestEnvironment() {
  QLocale::setDefault(QLocale::c());
  quietOffscreenWarnings();
  static UnexpectedBoxGuard guard;
  qApp->installEventFilter(&guard);
  kippwerk::ui::DesignDialogs& d = kippwerk::ui::designDialogs();
  d.chooseFile = [](QWidget*, const kippwerk::ui::DesignDialogs::FileChoice&) { return QString(); };
  d.askToSave = [](QWidget*, const QString&) {
    return kippwerk::ui::DesignDialogs::Answer::Discard;
  };
  d.warn = [](QWidget*, const QString& m) {
    QTest::qFail(qPrintable(QStringLiteral("unexpected warning: ") + m), __FILE__, __LINE__);
  };
  d.choosePrinter = [](QWidget*, QPrinter&) { return false; };
}

// As a user sets controls: a box retyped key by key, a drop-down moved to the item, a check
// box or an option button clicked. `edits` holds names and values in turns (a check box's and
// an option button's value is not read).
inline void apply(const QWidget& w, const QStringList& edits) {
  for (int i = 0; i + 1 < edits.size(); i += 2) {
    QWidget* target = child(w, edits[i]);
    if (auto* list = qobject_cast<QComboBox*>(target)) {
      const int index = list->findText(edits[i + 1]);
      QVERIFY2(index >= 0, qPrintable(edits[i] + ": " + edits[i + 1]));
      list->setCurrentIndex(index);
    } else if (auto* check = qobject_cast<QCheckBox*>(target)) {
      QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(4, check->height() / 2));
    } else if (auto* option = qobject_cast<QRadioButton*>(target)) {
      option->click();
    } else {
      retype(target, edits[i + 1]);
    }
  }
}

// Where Tab leads from `first` on, `steps` controls, and the inputs among them (all but the
// push buttons) that have no accessible name.
struct TabWalk {
  QStringList walked, unnamed;
};
inline TabWalk walkTabs(QWidget* first, qsizetype steps) {
  first->setFocus();
  TabWalk out;
  for (qsizetype i = 0; i < steps; ++i) {
    QWidget* focus = QApplication::focusWidget();
    out.walked << focus->objectName();
    if (!focus->objectName().startsWith(QLatin1String("cmd")) &&
        focus->accessibleName().isEmpty()) {
      out.unnamed << focus->objectName();
    }
    QTest::keyClick(focus, Qt::Key_Tab);
  }
  return out;
}

// A cell's text; a missing row reads as a text no cell has, so a comparison fails instead of
// the test program.
inline QString cellText(const QTableWidget* table, int row, int column) {
  const QTableWidgetItem* item = table->item(row, column);
  return item != nullptr ? item->text() : QStringLiteral("<no cell %1/%2>").arg(row).arg(column);
}

// A time plot as pixels: its colours, the time axis (the longest black row) with the ticks
// hanging below it, and the pixel column of a time from the first and sixth tick, which lie
// `sixthTick` seconds apart.
struct PlotPixels {
  static constexpr QRgb kBlack = qRgb(0, 0, 0), kWhite = qRgb(255, 255, 255);
  static constexpr QRgb kSet = qRgb(0, 70, 160), kWant = qRgb(200, 40, 40);
  static constexpr QRgb kBand = qRgb(200, 215, 234), kGrey = qRgb(160, 160, 164);

  explicit PlotPixels(QWidget& plot)
      : image(plot.grab().toImage().convertToFormat(QImage::Format_RGB32)) {
    int longest = 0;
    for (int y = 0; y < image.height(); ++y) {
      int run = 0;
      for (int x = 0; x < image.width(); ++x) run += ink(x, y, kBlack) ? 1 : 0;
      if (run > longest) longest = run, axis = y;
    }
    for (int x = 0; x < image.width(); ++x) {
      if (ink(x, axis + 3, kBlack)) ticks << x;
    }
  }
  bool ink(int x, int y, QRgb colour) const {
    const QRgb p = image.pixel(x, y);
    return std::abs(qRed(p) - qRed(colour)) < 30 && std::abs(qGreen(p) - qGreen(colour)) < 30 &&
           std::abs(qBlue(p) - qBlue(colour)) < 30;
  }
  int column(double t, double sixthTick) const {
    return int(std::lround(ticks[0] + t * (ticks[5] - ticks[0]) / sixthTick));
  }
  // Either curve at (x, y).
  bool curve(int x, int y) const { return ink(x, y, kSet) || ink(x, y, kWant); }

  QImage image;
  int axis = -1;
  QList<int> ticks;
};

// The spread over the parts' tolerances as the windows show it, under its heading.
inline QString underToleranceHeading(const std::string& lines) {
  return QStringLiteral("Bauteiltoleranzen bei 25 °C:\n") + QString::fromStdString(lines);
}

// The real spread of a design as the spread panel writes it once its boards are built.
inline QString realSpreadPanelText(const kippwerk::TimerDesign& d, const kippwerk::Surroundings& s,
                                   double wantTein, double wantTaus, double limit) {
  const auto rate = kippwerk::passRate(d, s, wantTein, wantTaus, limit);
  QStringList lines{
      QStringLiteral("Real (Temperatur, Versorgung, Baustein):"),
      QString::fromStdString(
          kippwerk::realSpreadText(kippwerk::realSpread(d, s), d.monostable, wantTein, wantTaus)),
      QString::fromStdString(kippwerk::passRateText(rate->rate, limit, s, kippwerk::kBoards)),
      QStringLiteral("Im Bild zählt jede Schaltung mit ihrer ungünstigsten Ecke; deshalb liegen "
                     "kaum welche nahe 0 %, und die Verteilung hat oft zwei Höcker."),
      QString::fromStdString(
          kippwerk::largestCauseText(kippwerk::contributions(d, s), d.monostable))};
  for (const auto& line : kippwerk::leftOut(s.capacitor, d.circuit)) {
    lines << QString::fromStdString(line);
  }
  return lines.join(QLatin1Char('\n'));
}

inline QString crlf(const QStringList& lines) {
  return lines.join(QStringLiteral("\r\n"));
}

}  // namespace kippwerk::testing
