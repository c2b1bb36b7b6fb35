// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Both jobs end to end with the keyboard alone: Tab, Shift+Tab, Space, arrows, typing and the
// menu access keys. Every event goes to the widget that has the focus, as on a real desktop.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QtTest>

#include "ui_support.h"

using namespace kippwerk::testing;

namespace {

QWidget* focus() {
  QWidget* popup = QApplication::activePopupWidget();
  return popup != nullptr ? popup : QApplication::focusWidget();
}

void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QWidget* target = focus();
  QVERIFY(target != nullptr);
  QTest::keyPress(target, k, mods);
  QTest::keyRelease(focus() != nullptr ? focus() : target, k, mods);
}

void type(const QString& text) {
  for (const QChar c : text) {
    QWidget* target = focus();
    QTest::keyClick(target, c.toLatin1());
  }
}

// Replaces the focused box's text: Ctrl+A, then the new text key by key.
void retype(const QString& text) {
  key(Qt::Key_A, Qt::ControlModifier);
  type(text);
}

// Moves the focus with Tab (or Shift+Tab) until it reaches the named control.
bool tabTo(const char* name, bool backwards = false) {
  for (int i = 0; i < 40; ++i) {
    if (QApplication::focusWidget() != nullptr &&
        QApplication::focusWidget()->objectName() == QLatin1String(name)) {
      return true;
    }
    key(backwards ? Qt::Key_Backtab : Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
  }
  return false;
}

// A menu command through its access keys: Alt+menu letter, then the item's letter.
void menu(Qt::Key menuKey, Qt::Key itemKey) {
  key(menuKey, Qt::AltModifier);
  QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
  key(itemKey);
}

}  // namespace

class KeyboardTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { pinTestEnvironment(); }

  void endsWithAltDThenB() {
    frmKippwerk w;
    QVERIFY(showActive(w));
    QTimer::singleShot(0, &w, [] { menu(Qt::Key_D, Qt::Key_B); });  // &Datei, &Beenden
    QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });   // watchdog
    QCOMPARE(QApplication::exec(), 0);
  }

  void doesTheFirstJobWithKeysOnly() {
    frmKippwerk w;
    QVERIFY(showActive(w));
    QVERIFY(tabTo("cmdZeit"));
    key(Qt::Key_Space);
    QCOMPARE(visiblePages(w), QList<int>{4});

    QVERIFY(tabTo("txtGegR1"));
    retype("220");
    QVERIFY(tabTo("txtGegR2"));
    key(Qt::Key_End);
    key(Qt::Key_Backspace);
    key(Qt::Key_Backspace);
    type("10");
    QVERIFY(tabTo("chkD"));
    key(Qt::Key_Space);
    QVERIFY(tabTo("cmbGegC1"));
    key(Qt::Key_Up);  // uF -> nF
    QCOMPARE(child<QComboBox>(w, "cmbGegC1")->currentText(), QStringLiteral("nF"));
    QVERIFY(tabTo("cmdBerechne", true));
    key(Qt::Key_Space);
    QCOMPARE(
        child<QLabel>(w, "lblZeiten")->text(),
        crlf({"t-EIN =  .001 s", "t-AUS =  0 s", "t-Periode =  .001 s", "Frequenz =  1340.68 Hz"}));
    QCOMPARE(w.quantities().R1, 220000.0);
    QCOMPARE(w.quantities().R2, 10000.0);
    QVERIFY(w.quantities().Diode);
  }

  void doesTheSecondJobWithKeysOnly() {
    frmKippwerk w;
    QVERIFY(showActive(w));
    MessageBoxWatcher boxes;
    menu(Qt::Key_D, Qt::Key_R);  // &Datei, &Restart
    QCOMPARE(visiblePages(w), QList<int>{0});
    QVERIFY(tabTo("cmdBauteile"));
    key(Qt::Key_Space);
    QCOMPARE(visiblePages(w), QList<int>{1});

    QVERIFY(tabTo("optC1"));
    key(Qt::Key_Right);  // the arrow selects R2
    QVERIFY(child<QRadioButton>(w, "optR2")->isChecked());
    QVERIFY(child(w, "Frame1(1)")->isVisible());
    QVERIFY(tabTo("txtR2"));
    retype("33");
    QVERIFY(tabTo("cmbR2"));
    key(Qt::Key_Down);  // k Ohm -> M Ohm
    key(Qt::Key_Up);    // back to k Ohm
    QVERIFY(tabTo("cmdWeiter1", true));
    key(Qt::Key_Space);
    QCOMPARE(visiblePages(w), QList<int>{2});

    QVERIFY(tabTo("txtTein"));
    retype("0.5");
    QVERIFY(tabTo("txtTaus"));
    retype("0.2");
    QCOMPARE(child<QLineEdit>(w, "txtTperiode")->text(), QStringLiteral(".7"));
    QVERIFY(tabTo("cmdWeiter2"));
    key(Qt::Key_Space);
    QCOMPARE(visiblePages(w), QList<int>{3});
    QVERIFY(tabTo("cmdFertig"));
    key(Qt::Key_Space);
    QCOMPARE(child<QLabel>(w, "lblErgebnis")->text(),
             crlf({"R1 =  49500 Ohm", "R2 =  33000 Ohm", "C1 =  8.783E-06 F", "D  = nein", "",
                   "t-EIN =  .5 s", "t-AUS =  .2 s", "t-Periode =  .7 s", "Frequenz =  1.429 Hz"}));
    QVERIFY(boxes.seen().empty());

    menu(Qt::Key_Question, Qt::Key_A);  // &?, &About
    QCOMPARE(boxes.seen().size(), std::size_t{1});
    QCOMPARE(boxes.seen()[0].icon, QMessageBox::Information);
  }

  void switchesTheEqualTimesModeWithTheSpaceBar() {
    frmKippwerk w;
    QVERIFY(showActive(w));
    goTo(w, 2);
    child(w, "Picture1")->setFocus();
    QVERIFY(tabTo("chkDiode"));
    key(Qt::Key_Space);
    QVERIFY(child<QCheckBox>(w, "chkDiode")->isChecked());
    QVERIFY(tabTo("txtFrequenz"));
    retype("4");
    QCOMPARE(child<QLineEdit>(w, "txtTein")->text(), QStringLiteral(".125"));
    QCOMPARE(child<QLineEdit>(w, "txtTaus")->text(), QStringLiteral(".125"));
  }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
