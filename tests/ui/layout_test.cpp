// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// What every window owes a user before any number: it fits a 1280 x 720 screen, no control
// lies over another however long its texts grow, a screen reader can name every control and
// say what each picture shows, and each box has its own Alt key that moves the focus there.

#include <QAccessible>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QtTest>

#include "ui/pictures/timeplot.h"
#include "ui/widgets/widgets.h"
#include "ui_support.h"

using namespace kippwerk::testing;

namespace {

// The window a menu action opens, or the main window itself for an empty action name.
QWidget* openWindow(frmKippwerk& w, const QString& menu) {
  if (menu.isEmpty()) return &w;
  action(w, qPrintable(menu))->trigger();
  QWidget* window = nullptr;
  for (QWidget* top : w.findChildren<QWidget*>()) {
    if (top->isWindow() && top->isVisible()) window = top;
  }
  return window;
}

bool isPicture(const QWidget* c) {
  return dynamic_cast<const kippwerk::ui::TimePlot*>(c) != nullptr ||
         dynamic_cast<const kippwerk::ui::PictureBox*>(c) != nullptr;
}

// The controls a user sees: labels, inputs, buttons, tables and pictures, not the containers.
QList<QWidget*> controlsOf(QWidget* window) {
  QList<QWidget*> out;
  for (QWidget* c : window->findChildren<QWidget*>()) {
    if (c->window() != window || !c->isVisibleTo(window)) continue;
    const bool control = qobject_cast<QLabel*>(c) || qobject_cast<QLineEdit*>(c) ||
                         qobject_cast<QAbstractButton*>(c) || qobject_cast<QComboBox*>(c) ||
                         qobject_cast<QTableWidget*>(c) || isPicture(c);
    if (control) out << c;
  }
  return out;
}

// A control's rectangle in the window's coordinates, cut to what its parents let show.
QRect shownRect(const QWidget* c, const QWidget* window) {
  QRect r(c->mapTo(window, QPoint(0, 0)), c->size());
  for (const QWidget* p = c->parentWidget(); p != nullptr && p != window; p = p->parentWidget()) {
    r &= QRect(p->mapTo(window, QPoint(0, 0)), p->size());
  }
  return r & window->rect();
}

bool related(const QWidget* a, const QWidget* b) {
  return a->isAncestorOf(b) || b->isAncestorOf(a);
}

// Every pair of controls apart, and every control at least partly in sight.
void checkNoOverlap(QWidget* window, const QString& state) {
  const QList<QWidget*> controls = controlsOf(window);
  for (int i = 0; i < controls.size(); ++i) {
    const QRect a = shownRect(controls[i], window);
    for (int j = i + 1; j < controls.size(); ++j) {
      if (related(controls[i], controls[j])) continue;
      const QRect b = shownRect(controls[j], window);
      QVERIFY2(!a.intersects(b), qPrintable(state + ": " + controls[i]->objectName() + " over " +
                                            controls[j]->objectName()));
    }
  }
}

}  // namespace

class LayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { pinTestEnvironment(); }

  void windows_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("edits");  // a state with many lines of text
    QTest::newRow("main window") << QString() << QStringList{};
    QTest::newRow("Normwerte") << "mnuNormwerte"
                               << QStringList{"chkNDiode", "an",  "txtNUb",   "4.75",
                                              "txtNRmin",  "10",  "cmbNRmin", "Ohm",
                                              "txtNCmin",  "1",   "txtNTaus", "2e-7",
                                              "txtNTein",  "2e-6"};
    QTest::newRow("Monoflop") << "mnuMonoflop"
                              << QStringList{"txtMCmin", "100", "cmbMCmin", "uF", "txtMT", "1e-6"};
    QTest::newRow("Nachmessen") << "mnuNachmessen"
                                << QStringList{"chkADiode",    "an",
                                               "cmbADiodeTyp", "1N5817 (Schottky)",
                                               "cmbAKondTyp",  "Elko (Aluminium)",
                                               "txtAR2",       "1.2",
                                               "cmbAR2",       "M Ohm",
                                               "txtAMessEin",  "2",
                                               "txtAMessAus",  "0.205"};
    QTest::newRow("Nachmessen, monoflop") << "mnuNachmessen" << QStringList{"optAMonoflop", ""};
  }

  // On a 1280 x 720 screen at scale 1 (the rest of a 768-pixel laptop screen is title bar and
  // task bar): the window opens no larger, and at its smallest every control still shows.
  void fitsTheScreen_data() { windows_data(); }
  void fitsTheScreen() {
    QFETCH(QString, menu);
    QFETCH(QStringList, edits);
    frmKippwerk w;
    QVERIFY(showActive(w));
    QWidget* window = openWindow(w, menu);
    QVERIFY(window != nullptr);
    apply(*window, edits);
    QApplication::processEvents();
    QVERIFY2(window->width() <= 1280 && window->height() <= 720,
             qPrintable(QStringLiteral("%1 x %2").arg(window->width()).arg(window->height())));
    const QSize smallest = window->minimumSizeHint().expandedTo(window->minimumSize());
    QVERIFY(smallest.width() <= 1280 && smallest.height() <= 720);
    checkNoOverlap(window, QStringLiteral("opened"));
    if (window != &w) {
      window->resize(smallest);
      QApplication::processEvents();
      checkNoOverlap(window, QStringLiteral("at its smallest"));
      for (QWidget* c : controlsOf(window)) {
        QVERIFY2(!shownRect(c, window).isEmpty(), qPrintable(c->objectName()));
      }
    }
  }

  // However many lines the texts get, they scroll within their place instead of pushing
  // anything under another control.
  void keepsLongTextsApart_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("label");
    QTest::newRow("Normwerte hints") << "mnuNormwerte"
                                     << "lblNHinweis";
    QTest::newRow("Normwerte status") << "mnuNormwerte"
                                      << "lblNStatus";
    QTest::newRow("Monoflop status") << "mnuMonoflop"
                                     << "lblMStatus";
    QTest::newRow("Monoflop real spread") << "mnuMonoflop"
                                          << "lblMUmgebung";
    QTest::newRow("Nachmessen results") << "mnuNachmessen"
                                        << "lblAErgebnis";
    QTest::newRow("Nachmessen trimmers") << "mnuNachmessen"
                                         << "lblATrimmer";
  }
  void keepsLongTextsApart() {
    QFETCH(QString, menu);
    QFETCH(QString, label);
    frmKippwerk w;
    QWidget* window = openWindow(w, menu);
    // The pass rate arrives from its thread and would replace the text.
    QTRY_VERIFY([&] {
      for (const QLabel* l : window->findChildren<QLabel*>()) {
        if (l->text().contains(QStringLiteral("wird berechnet"))) return false;
      }
      return true;
    }());
    auto* text = child<QLabel>(*window, label);
    QStringList lines;
    for (int i = 0; i < 30; ++i) {
      lines << QStringLiteral(
                   "Zeile %1 eines langen Hinweises, der zeigt, dass nichts überlappt, "
                   "auch wenn der Text umbricht und weiterläuft.")
                   .arg(i);
    }
    text->setText(lines.join(QLatin1Char('\n')));
    QApplication::processEvents();
    checkNoOverlap(window, label);
    QScrollArea* scroll = nullptr;
    for (QWidget* p = text->parentWidget(); p != nullptr && scroll == nullptr;
         p = p->parentWidget()) {
      scroll = qobject_cast<QScrollArea*>(p);
    }
    QVERIFY(scroll != nullptr);
    QTRY_VERIFY(scroll->verticalScrollBar()->maximum() > 0);  // the rest is a scroll away
    checkNoOverlap(window, label);
  }

  // Every control that takes the focus has a name a screen reader says, and every picture also
  // says what it shows, in numbers where it shows numbers; on every page of the main window.
  void namesEveryControlAndPicture_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("picture");  // a picture whose description has numbers
    QTest::addColumn<QString>("says");
    QTest::addColumn<QString>("legend");  // how it ends: the legend as drawn
    QTest::addColumn<QStringList>("edits");
    for (int page = 0; page < 5; ++page) {
      QTest::addRow("main window, page %d", page)
          << QString() << page << QString() << QString() << QString() << QStringList{};
    }
    QTest::newRow("Normwerte") << "mnuNormwerte" << 0 << "picNSignal"
                               << "Ausgang: 547.5 ms EIN, 223.7 ms AUS; gewünscht 540.0 ms EIN, "
                                  "220.0 ms AUS"
                               << "Legende: gewünschte Zeiten gestrichelt, gewählte Bauteile "
                                  "durchgezogen, Toleranzbereich schattiert."
                               << QStringList{};
    QTest::newRow("Monoflop") << "mnuMonoflop" << 0 << "picMSignal"
                              << "Auslöseimpuls an E, dann Ausgang A für 999.9 ms EIN; gewünscht "
                                 "1.000 s"
                              << "Legende: gewünschte Zeit gestrichelt, gewählte Bauteile "
                                 "durchgezogen, Toleranzbereich schattiert."
                              << QStringList{};
    QTest::newRow("Nachmessen")
        << "mnuNachmessen" << 0 << "picASignal"
        << "Gemessen: 515.0 ms EIN, 205.0 ms AUS; gewünscht 540.0 ms EIN, "
           "220.0 ms AUS; mit den gewählten Bauteilen 531.5 ms EIN, 226.1 ms "
           "AUS"
        << "Legende: gewünschte Zeiten gestrichelt, gewählte Bauteile "
           "durchgezogen, gemessen grau."
        << QStringList{"txtAMessEin", "0.515", "txtAMessAus", "0.205"};
  }
  void namesEveryControlAndPicture() {
    QFETCH(QString, menu);
    QFETCH(int, page);
    QFETCH(QString, picture);
    QFETCH(QString, says);
    QFETCH(QString, legend);
    QFETCH(QStringList, edits);
    frmKippwerk w;
    QVERIFY(showActive(w));
    goTo(w, page);
    QWidget* window = openWindow(w, menu);
    apply(*window, edits);
    int pictures = 0;
    for (QWidget* c : window->findChildren<QWidget*>()) {
      if (c->window() != window || !c->isVisibleTo(window)) continue;
      const bool focusable = (c->focusPolicy() & Qt::TabFocus) != 0 && c->isEnabled();
      if (!focusable && !isPicture(c)) continue;
      QAccessibleInterface* face = QAccessible::queryAccessibleInterface(c);
      QVERIFY2(face != nullptr, qPrintable(c->objectName()));
      QVERIFY2(!face->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(c->objectName()));
      if (isPicture(c)) {
        ++pictures;
        QVERIFY2(!face->text(QAccessible::Description).isEmpty(), qPrintable(c->objectName()));
      }
    }
    QVERIFY(pictures >= 1);
    if (!picture.isEmpty()) {
      QAccessibleInterface* face = QAccessible::queryAccessibleInterface(child(*window, picture));
      QVERIFY2(face->text(QAccessible::Description).startsWith(says),
               qPrintable(face->text(QAccessible::Description)));
      QVERIFY2(face->text(QAccessible::Description).endsWith(legend),
               qPrintable(face->text(QAccessible::Description)));
      // It follows the highlighted row.
      auto* table = window->findChild<QTableWidget*>();
      table->setFocus();
      QTest::keyClick(table, Qt::Key_Down);
      QVERIFY(!face->text(QAccessible::Description).startsWith(says));
    }
  }

  // Each box's label carries an Alt key of its own; Alt with it moves the focus to the box and
  // types nothing into the box that had the focus.
  void givesEveryBoxItsOwnAltKey_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("edits");  // enables every box
    QTest::addColumn<int>("boxes");          // how many labelled inputs there are at least
    QTest::newRow("Normwerte") << "mnuNormwerte" << QStringList{"chkNDiode", "an", "cmbNFest", "C1"}
                               << 14;
    QTest::newRow("Monoflop") << "mnuMonoflop" << QStringList{} << 11;
    QTest::newRow("Nachmessen") << "mnuNachmessen" << QStringList{"chkADiode", "an"} << 17;
    QTest::newRow("Nachmessen, monoflop")
        << "mnuNachmessen" << QStringList{"optAMonoflop", ""} << 9;
  }
  void givesEveryBoxItsOwnAltKey() {
    QFETCH(QString, menu);
    QFETCH(QStringList, edits);
    QFETCH(int, boxes);
    frmKippwerk w;
    QWidget* window = openWindow(w, menu);
    QVERIFY(QTest::qWaitForWindowActive(window));
    apply(*window, edits);
    QMap<QChar, QWidget*> keys;
    for (QWidget* c : window->findChildren<QWidget*>()) {
      if (!c->isVisibleTo(window)) continue;  // a hidden label's key does not count
      QString text;
      QWidget* target = nullptr;
      if (auto* label = qobject_cast<QLabel*>(c); label != nullptr && label->buddy() != nullptr) {
        text = label->text();
        target = label->buddy();
      } else if (auto* button = qobject_cast<QAbstractButton*>(c)) {
        text = button->text();
        target = button;
      }
      const qsizetype at = text.indexOf(QLatin1Char('&'));
      if (target == nullptr) continue;
      if (qobject_cast<QLineEdit*>(target) != nullptr) {
        QVERIFY2(at >= 0, qPrintable(target->objectName() + " has no Alt key"));
      }
      if (at < 0) continue;
      const QChar key = text.at(at + 1).toUpper();
      QVERIFY2(!keys.contains(key), qPrintable(QStringLiteral("Alt+%1 twice").arg(key)));
      keys.insert(key, target);
    }
    QVERIFY(keys.size() >= boxes);
    for (auto it = keys.begin(); it != keys.end(); ++it) {
      if (!it.value()->isEnabled() || qobject_cast<QAbstractButton*>(it.value())) continue;
      QLineEdit* before = nullptr;
      for (QLineEdit* box : window->findChildren<QLineEdit*>()) {
        if (box != it.value() && box->isEnabled() && box->isVisible()) before = box;
      }
      before->setFocus();
      const QString typed = before->text();
      QTest::keyClick(before, Qt::Key(it.key().unicode()), Qt::AltModifier);
      QVERIFY2(QApplication::focusWidget() == it.value(),
               qPrintable(QStringLiteral("Alt+%1 went to %2")
                              .arg(it.key())
                              .arg(QApplication::focusWidget()->objectName())));
      QCOMPARE(before->text(), typed);
    }
  }
};

QTEST_MAIN(LayoutTest)
#include "layout_test.moc"
