// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The second job through the real controls: the time-entry page with real key events, the
// known-component page, "Weiter" with its checks and the dimensioning on the result page.

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

#include "core/timeentry.h"
#include "ui_support.h"

using namespace kippwerk::testing;
using kippwerk::Times;

namespace {

const QString kWarning =
    QStringLiteral("Die Frequenz kann nur angegeben werden, wenn t-EIN = t-AUS ist!");

QLineEdit* box(const frmKippwerk& w, const char* name) {
  return child<QLineEdit>(w, QString::fromLatin1(name));
}

QStringList boxTexts(const frmKippwerk& w) {
  return {box(w, "txtTein")->text(), box(w, "txtTaus")->text(), box(w, "txtTperiode")->text(),
          box(w, "txtFrequenz")->text()};
}

void selectAll(QLineEdit* target) {
  target->setFocus();
  QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
}

// Pastes a whole text with Ctrl+V over the selection.
void pasteOver(QLineEdit* target, const QString& text) {
  QApplication::clipboard()->setText(text);
  QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
}

void paste(QLineEdit* target, const QString& text) {
  selectAll(target);
  pasteOver(target, text);
}

void toggleEqualTimes(const frmKippwerk& w) {
  auto* check = child<QCheckBox>(w, "chkDiode");
  check->setFocus();
  QTest::keyClick(check, Qt::Key_Space);
}

QStringList resultLines(const frmKippwerk& w) {
  return child<QLabel>(w, "lblErgebnis")->text().split(QStringLiteral("\r\n"));
}

}  // namespace

class SecondJobTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { pinTestEnvironment(); }

  void followsTheWorkedExampleRowByRow() {
    frmKippwerk w;
    QVERIFY(showActive(w));
    goTo(w, 2);

    toggleEqualTimes(w);
    QCOMPARE(boxTexts(w), (QStringList{".54", ".54", "1.08", ".926"}));
    QCOMPARE(w.quantities().times, (Times{0.54, 0.54, 1.08, 1 / 1.08}));
    QVERIFY(box(w, "txtTaus")->isReadOnly());
    QVERIFY(!box(w, "txtFrequenz")->isReadOnly());

    retype(box(w, "txtFrequenz"), "2");
    QCOMPARE(boxTexts(w), (QStringList{".25", ".25", ".5", "2"}));
    QCOMPARE(w.quantities().times, (Times{0.25, 0.25, 0.5, 2}));

    toggleEqualTimes(w);
    QCOMPARE(boxTexts(w), (QStringList{".25", ".25", ".5", "2"}));
    QCOMPARE(w.quantities().times, (Times{0.25, 0.25, 0.5, 2}));
    QVERIFY(!box(w, "txtTaus")->isReadOnly());
    QVERIFY(box(w, "txtFrequenz")->isReadOnly());
    QVERIFY(box(w, "txtTperiode")->isReadOnly());

    retype(box(w, "txtTein"), "1");
    QCOMPARE(boxTexts(w), (QStringList{"1", ".25", "1.25", ".8"}));
    QCOMPARE(w.quantities().times, (Times{1, 0.25, 1.25, 0.8}));
  }

  void typesDecimalsKeyByKey_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    for (const char* target : {"txtTein", "txtTaus", "txtFrequenz"}) {
      for (const auto& [text, value] : {std::pair{"0.5", 0.5}, std::pair{"-0.25", -0.25},
                                        std::pair{"1e-3", 1e-3}, std::pair{"2.5", 2.5}}) {
        QTest::addRow("%s %s", target, text)
            << QString::fromLatin1(target) << QString::fromLatin1(text) << value;
      }
    }
  }

  void typesDecimalsKeyByKey() {
    QFETCH(QString, target);
    QFETCH(QString, text);
    QFETCH(double, value);
    frmKippwerk w;
    QVERIFY(showActive(w));
    goTo(w, 2);
    const bool frequency = target == QLatin1String("txtFrequenz");
    if (frequency) toggleEqualTimes(w);
    auto* typed = child<QLineEdit>(w, target);
    retype(typed, text);
    QCOMPARE(typed->text(), text);
    QCOMPARE(typed->cursorPosition(), text.size());
    const Times& t = w.quantities().times;
    if (target == QLatin1String("txtTein")) {
      QCOMPARE(t.tein, value);
      QCOMPARE(t.tperiode, 0.22 + value);
    } else if (target == QLatin1String("txtTaus")) {
      QCOMPARE(t.taus, value);
      QCOMPARE(t.tperiode, value + 0.54);
    } else {
      QCOMPARE(t.frequenz, value);
      QCOMPARE(t.tein, 1 / (2 * value));
      QCOMPARE(t.taus, t.tein);
    }
    QCOMPARE(box(w, "txtTperiode")->text(),
             QString::fromStdString(kippwerk::displayText(t.tperiode)));
  }

  void keepsOrReplacesTheTypedText_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("pasted");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("tein");
    QTest::newRow("trailing point stays") << "1." << false << "1." << 1.0;
    QTest::newRow("lone minus stays") << "-" << false << "-" << 0.0;
    QTest::newRow("comma pasted") << "0,5" << true << "0" << 0.0;
    QTest::newRow("emptied") << "" << false << "0" << 0.0;
    QTest::newRow("letters") << "abc" << true << "0" << 0.0;
    QTest::newRow("radix form") << "&H10" << true << "16" << 16.0;
    QTest::newRow("second point") << "1.2.3" << true << "1.2" << 1.2;
    QTest::newRow("blanks inside") << "0 . 5" << true << "0 . 5" << 0.5;
    QTest::newRow("umlaut") << QStringLiteral("5ä") << true << "5" << 5.0;
    QTest::newRow("four decimals pasted") << "0.1234" << true << "0.1234" << 0.1234;
  }

  void keepsOrReplacesTheTypedText() {
    QFETCH(QString, typed);
    QFETCH(bool, pasted);
    QFETCH(QString, shown);
    QFETCH(double, tein);
    frmKippwerk w;
    QVERIFY(showActive(w));
    goTo(w, 2);
    if (pasted) {
      paste(box(w, "txtTein"), typed);
    } else {
      retype(box(w, "txtTein"), typed);
    }
    QCOMPARE(box(w, "txtTein")->text(), shown);
    QCOMPARE(w.quantities().times.tein, tein);
    QCOMPARE(w.quantities().times.tperiode, tein + 0.22);
    QCOMPARE(box(w, "txtTaus")->text(), QStringLiteral(".22"));
  }

  void emptyTeinLeavesTheFrequencyOfTaus() {
    frmKippwerk w;
    w.show();
    goTo(w, 2);
    retype(box(w, "txtTein"), "");
    QCOMPARE(boxTexts(w), (QStringList{"0", ".22", ".22", "4.545"}));
  }

  void zeroTimesGiveZeroFrequency() {
    frmKippwerk w;
    w.show();
    goTo(w, 2);
    retype(box(w, "txtTein"), "0");
    retype(box(w, "txtTaus"), "0");
    QCOMPARE(boxTexts(w), (QStringList{"0", "0", "0", "0"}));
    paste(box(w, "txtTein"), "-0.25");
    retype(box(w, "txtTaus"), ".25");
    QCOMPARE(boxTexts(w), (QStringList{"-.25", ".25", "0", "0"}));
    QCOMPARE(w.quantities().times, (Times{-0.25, 0.25, 0, 0}));
  }

  void aKeyInTheLockedTausBoxReadsItsRoundedText() {
    frmKippwerk w;
    QVERIFY(showActive(w));
    goTo(w, 2);
    toggleEqualTimes(w);
    retype(box(w, "txtFrequenz"), "3");
    QCOMPARE(boxTexts(w), (QStringList{".167", ".167", ".333", "3"}));
    QTest::keyClick(box(w, "txtTaus"), Qt::Key_Right);
    QCOMPARE(boxTexts(w), (QStringList{".167", ".167", ".334", "2.997"}));
    QCOMPARE(w.quantities().times.tein, 1.0 / 6);
    QCOMPARE(w.quantities().times.taus, 0.167);

    paste(box(w, "txtFrequenz"), "-2");
    QCOMPARE(boxTexts(w), (QStringList{"-.25", "-.25", "-.5", "-2"}));
  }

  void warnsOnEveryKeyInTheLockedFrequencyBox() {
    frmKippwerk w;
    QVERIFY(showActive(w));
    goTo(w, 2);
    const Times before = w.quantities().times;
    MessageBoxWatcher boxes;
    QTest::keyClick(box(w, "txtFrequenz"), Qt::Key_5);
    QTest::keyClick(box(w, "txtFrequenz"), Qt::Key_Left);
    QCOMPARE(boxes.seen().size(), std::size_t{2});
    for (const auto& seen : boxes.seen()) {
      QCOMPARE(seen.icon, QMessageBox::Warning);
      QCOMPARE(seen.title, QStringLiteral("Kippwerk"));
      QCOMPARE(seen.text, kWarning);
      QCOMPARE(seen.buttons, 1);
    }
    QCOMPARE(w.quantities().times, before);
    QCOMPARE(boxTexts(w), (QStringList{".54", ".22", ".76", "1.316"}));
  }

  void tabbingIntoTheLockedFrequencyBoxDoesNotWarn() {
    frmKippwerk w;
    QVERIFY(showActive(w));
    goTo(w, 2);
    MessageBoxWatcher boxes;
    auto* check = child<QCheckBox>(w, "chkDiode");
    check->setFocus();
    QTest::keyPress(check, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), box(w, "txtFrequenz"));
    QTest::keyRelease(box(w, "txtFrequenz"), Qt::Key_Tab);
    QVERIFY(boxes.seen().empty());
  }

  void theFirstKeyRecomputesTheFrequencyFromThePeriod() {
    frmKippwerk w;
    w.show();
    goTo(w, 2);
    QCOMPARE(w.quantities().times.frequenz, 1.32);
    QTest::keyClick(box(w, "txtTein"), Qt::Key_End);
    QCOMPARE(w.quantities().times.frequenz, 1 / 0.76);
    QCOMPARE(boxTexts(w), (QStringList{".54", ".22", ".76", "1.316"}));
  }

  void refusesResultsOutOfRange_data() {
    QTest::addColumn<bool>("equalTimes");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("thenSwitchTheMode");  // the text is accepted, the switch refused
    QTest::newRow("subnormal frequency") << true << "txtFrequenz"
                                         << "1e-320" << false;
    QTest::newRow("sum of equal times") << true << "txtTein"
                                        << "1e308" << false;
    QTest::newRow("number beyond a double") << false << "txtTaus"
                                            << "1e400" << false;
    QTest::newRow("radix beyond 32 bits") << false << "txtTein"
                                          << "&HFFFFFFFFF" << false;
    QTest::newRow("mode switch with a huge t-EIN") << false << "txtTein"
                                                   << "1e308" << true;
  }

  // Nothing changes on a refusal: quantities, box texts, the mode and both locks.
  void refusesResultsOutOfRange() {
    QFETCH(bool, equalTimes);
    QFETCH(QString, target);
    QFETCH(QString, text);
    QFETCH(bool, thenSwitchTheMode);
    frmKippwerk w;
    QVERIFY(showActive(w));
    goTo(w, 2);
    if (equalTimes) toggleEqualTimes(w);
    selectAll(child<QLineEdit>(w, target));  // its key release already recomputes
    if (thenSwitchTheMode) pasteOver(child<QLineEdit>(w, target), text);
    const Times before = w.quantities().times;
    QStringList texts;  // the boxes show the unchanged quantities
    for (double q : {before.tein, before.taus, before.tperiode, before.frequenz}) {
      texts << QString::fromStdString(kippwerk::displayText(q));
    }
    MessageBoxWatcher boxes;
    if (thenSwitchTheMode) {
      toggleEqualTimes(w);
    } else {
      pasteOver(child<QLineEdit>(w, target), text);
    }
    QCOMPARE(boxes.seen().size(), std::size_t{1});
    QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
    QCOMPARE(boxes.seen()[0].title, QStringLiteral("Kippwerk"));
    QCOMPARE(w.quantities().times, before);
    QCOMPARE(boxTexts(w), texts);
    QCOMPARE(child<QCheckBox>(w, "chkDiode")->isChecked(), equalTimes);
    QCOMPARE(box(w, "txtTaus")->isReadOnly(), equalTimes);
    QCOMPARE(box(w, "txtFrequenz")->isReadOnly(), !equalTimes);
  }

  void typingPastTheRangeStopsAtTheLastGoodValue() {
    frmKippwerk w;
    QVERIFY(showActive(w));
    goTo(w, 2);
    toggleEqualTimes(w);
    MessageBoxWatcher boxes;
    retype(box(w, "txtTein"), "1e308");
    QCOMPARE(boxes.seen().size(), std::size_t{1});
    QCOMPARE(w.quantities().times.tein, 1e30);
    QCOMPARE(boxTexts(w), (QStringList{"1E+30", "1E+30", "2E+30", "0"}));
  }

  void dimensions_data() {
    QTest::addColumn<bool>("r2Known");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QStringList>("times");  // t-EIN, t-AUS typed; empty: start values
    QTest::addColumn<bool>("equalTimes");
    QTest::addColumn<QStringList>("placeholder");
    QTest::addColumn<QStringList>("computed");
    const QStringList start{"t-EIN =  .54 s", "t-AUS =  .22 s", "t-Periode =  .76 s",
                            "Frequenz =  1.32 Hz"};
    QTest::newRow("C1 known")
        << false << "4.7" << 2 << QStringList{} << false
        << QStringList{"R1 = ?", "R2 = ?", "C1 =  4.7E-06 F", "D  = nein", ""} + start
        << QStringList{"R1 =  98674 Ohm", "R2 =  67838 Ohm", "C1 =  4.7E-06 F", "D  = nein", ""} +
               start;
    QTest::newRow("R2 known")
        << true << "68" << 1 << QStringList{} << false
        << QStringList{"R1 = ?", "R2 =  68000 Ohm", "C1 = ?", "D  = nein", ""} + start
        << QStringList{"R1 =  98909 Ohm", "R2 =  68000 Ohm", "C1 =  4.689E-06 F", "D  = nein", ""} +
               start;
    const QStringList equal{"t-EIN =  .54 s", "t-AUS =  .54 s", "t-Periode =  1.08 s",
                            "Frequenz =  .926 Hz"};
    QTest::newRow("equal times")
        << false << "4.7" << 2 << QStringList{} << true
        << QStringList{"R1 = ?", "R2 = ?", "C1 =  4.7E-06 F", "D  = ja", ""} + equal
        << QStringList{"R1 =  166512 Ohm", "R2 =  166512 Ohm", "C1 =  4.7E-06 F", "D  = ja", ""} +
               equal;
    const QStringList tiny{"t-EIN =  0 s", "t-AUS =  0 s", "t-Periode =  0 s",
                           "Frequenz =  3333.333 Hz"};
    QTest::newRow("tiny C1")
        << true << "1" << 2 << QStringList{"0.0002", "0.0001"} << false
        << QStringList{"R1 = ?", "R2 =  1000000 Ohm", "C1 = ?", "D  = nein", ""} + tiny
        << QStringList{"R1 =  1000000 Ohm", "R2 =  1000000 Ohm", "C1 =  0 F", "D  = nein", ""} +
               tiny;
    QTest::newRow("negative C1")
        << false << "-4.7" << 2 << QStringList{} << false
        << QStringList{"R1 = ?", "R2 = ?", "C1 = -4.7E-06 F", "D  = nein", ""} + start
        << QStringList{"R1 = -98674 Ohm", "R2 = -67838 Ohm", "C1 = -4.7E-06 F", "D  = nein", ""} +
               start;
    QTest::newRow("farads") << false << "1" << 4 << QStringList{} << false
                            << QStringList{"R1 = ?", "R2 = ?", "C1 =  1 F", "D  = nein", ""} + start
                            << QStringList{"R1 =  0 Ohm", "R2 =  0 Ohm", "C1 =  1 F", "D  = nein",
                                           ""} +
                                   start;
    QTest::newRow("ohms") << true << "68000" << 0 << QStringList{} << false
                          << QStringList{"R1 = ?", "R2 =  68000 Ohm", "C1 = ?", "D  = nein", ""} +
                                 start
                          << QStringList{"R1 =  98909 Ohm", "R2 =  68000 Ohm", "C1 =  4.689E-06 F",
                                         "D  = nein", ""} +
                                 start;
  }

  void dimensions() {
    QFETCH(bool, r2Known);
    QFETCH(QString, value);
    QFETCH(int, unit);
    QFETCH(QStringList, times);
    QFETCH(bool, equalTimes);
    QFETCH(QStringList, placeholder);
    QFETCH(QStringList, computed);
    frmKippwerk w;
    QVERIFY(showActive(w));
    MessageBoxWatcher boxes;
    goTo(w, 1);
    click(w, r2Known ? "optR2" : "optC1");
    QVERIFY(child(w, r2Known ? "Frame1(1)" : "Frame1(0)")->isVisible());
    QVERIFY(!child(w, r2Known ? "Frame1(0)" : "Frame1(1)")->isVisible());
    retype(box(w, r2Known ? "txtR2" : "txtC1"), value);
    child<QComboBox>(w, r2Known ? "cmbR2" : "cmbC1")->setCurrentIndex(unit);
    click(w, "cmdWeiter1");
    if (!times.isEmpty()) {
      retype(box(w, "txtTein"), times[0]);
      retype(box(w, "txtTaus"), times[1]);
    }
    if (equalTimes) toggleEqualTimes(w);

    click(w, "cmdWeiter2");
    QCOMPARE(visiblePages(w), QList<int>{3});
    QCOMPARE(resultLines(w), placeholder);
    QCOMPARE(w.quantities().Diode, equalTimes);

    click(w, "cmdFertig");
    QCOMPARE(resultLines(w), computed);
    click(w, "cmdFertig");
    QCOMPARE(resultLines(w), computed);
    QCOMPARE(visiblePages(w), QList<int>{3});

    click(w, "cmdZurueck3");
    QCOMPARE(visiblePages(w), QList<int>{2});
    click(w, "cmdWeiter2");
    QCOMPARE(resultLines(w), placeholder);
    QVERIFY(boxes.seen().empty());
  }

  void refusesUnusableTimes_data() {
    QTest::addColumn<QStringList>("times");
    QTest::addColumn<bool>("equalTimes");
    QTest::addColumn<QString>("message");
    QTest::newRow("equal times unchecked")
        << QStringList{"0.3", "0.3"} << false << "t-EIN muss größer als t-AUS sein!";
    QTest::newRow("shorter t-EIN")
        << QStringList{"0.1", "0.3"} << false << "t-EIN muss größer als t-AUS sein!";
    QTest::newRow("t-EIN zero") << QStringList{"0", "0.22"} << false << "Ungültige Werte!";
    QTest::newRow("frequency zero") << QStringList{"", "0"} << true << "Ungültige Werte!";
  }

  void refusesUnusableTimes() {
    QFETCH(QStringList, times);
    QFETCH(bool, equalTimes);
    QFETCH(QString, message);
    frmKippwerk w;
    QVERIFY(showActive(w));
    goTo(w, 2);
    if (equalTimes) {
      toggleEqualTimes(w);
      retype(box(w, "txtFrequenz"), times[1]);
    } else {
      retype(box(w, "txtTein"), times[0]);
      retype(box(w, "txtTaus"), times[1]);
    }
    const auto before = w.quantities();
    MessageBoxWatcher boxes;
    click(w, "cmdWeiter2");
    QCOMPARE(boxes.seen().size(), std::size_t{1});
    QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
    QCOMPARE(boxes.seen()[0].title, QStringLiteral("Kippwerk"));
    QCOMPARE(boxes.seen()[0].text, message);
    QCOMPARE(boxes.seen()[0].buttons, 1);
    QCOMPARE(visiblePages(w), QList<int>{2});
    QCOMPARE(w.quantities().C1, before.C1);
    QCOMPARE(w.quantities().Diode, before.Diode);
    QVERIFY(child<QLabel>(w, "lblErgebnis")->text().isEmpty());
  }

  void refusesAKnownValueOfZeroAtBerechneBauteile_data() {
    QTest::addColumn<bool>("r2Known");
    QTest::addColumn<QString>("value");
    QTest::newRow("C1 empty") << false << "";
    QTest::newRow("C1 letters") << false << "abc";
    QTest::newRow("R2 zero") << true << "0";
  }

  void refusesAKnownValueOfZeroAtBerechneBauteile() {
    QFETCH(bool, r2Known);
    QFETCH(QString, value);
    frmKippwerk w;
    QVERIFY(showActive(w));
    goTo(w, 1);
    click(w, r2Known ? "optR2" : "optC1");
    box(w, r2Known ? "txtR2" : "txtC1")->setText(value);
    click(w, "cmdWeiter1");
    MessageBoxWatcher boxes;
    click(w, "cmdWeiter2");
    QVERIFY(boxes.seen().empty());
    const QString placeholder = child<QLabel>(w, "lblErgebnis")->text();
    QVERIFY(placeholder.contains(r2Known ? "R2 =  0 Ohm" : "C1 =  0 F"));
    const auto before = w.quantities();
    click(w, "cmdFertig");
    QCOMPARE(boxes.seen().size(), std::size_t{1});
    QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
    QCOMPARE(boxes.seen()[0].title, QStringLiteral("Kippwerk"));
    QCOMPARE(child<QLabel>(w, "lblErgebnis")->text(), placeholder);
    QCOMPARE(w.quantities().R1, before.R1);
    QCOMPARE(visiblePages(w), QList<int>{3});
    click(w, "cmdZurueck3");  // still usable
    QCOMPARE(visiblePages(w), QList<int>{2});
  }

  void refusesKnownValuesOutOfRange_data() {
    QTest::addColumn<bool>("r2Known");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("unit");
    QTest::addColumn<bool>("atWeiter");
    QTest::newRow("unit scaling overflows") << true << "1e308" << 2 << true;
    QTest::newRow("beyond a double") << false << "1e999" << 2 << true;
    QTest::newRow("quotient overflows") << false << "1e-310" << 4 << false;
  }

  void refusesKnownValuesOutOfRange() {
    QFETCH(bool, r2Known);
    QFETCH(QString, value);
    QFETCH(int, unit);
    QFETCH(bool, atWeiter);
    frmKippwerk w;
    QVERIFY(showActive(w));
    goTo(w, 1);
    click(w, r2Known ? "optR2" : "optC1");
    box(w, r2Known ? "txtR2" : "txtC1")->setText(value);
    child<QComboBox>(w, r2Known ? "cmbR2" : "cmbC1")->setCurrentIndex(unit);
    click(w, "cmdWeiter1");
    const auto before = w.quantities();
    MessageBoxWatcher boxes;
    click(w, "cmdWeiter2");
    if (!atWeiter) click(w, "cmdFertig");
    QCOMPARE(boxes.seen().size(), std::size_t{1});
    QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
    QCOMPARE(visiblePages(w), QList<int>{atWeiter ? 2 : 3});
    QCOMPARE(w.quantities().R1, before.R1);
    if (atWeiter) QCOMPARE(w.quantities().R2, before.R2);
    for (const QString& line : resultLines(w)) {
      QVERIFY(!line.contains("inf", Qt::CaseInsensitive) &&
              !line.contains("nan", Qt::CaseInsensitive));
    }
  }

  void bothJobsShareTheQuantities() {
    frmKippwerk w;
    w.show();
    goTo(w, 4);
    click(w, "cmdBerechne");
    goTo(w, 2);
    QCOMPARE(boxTexts(w), (QStringList{".54", ".22", ".76", "1.316"}));  // not refreshed
    click(w, "cmdWeiter2");
    const QStringList lines = resultLines(w);
    QCOMPARE(lines.mid(5), (QStringList{"t-EIN =  .545 s", "t-AUS =  .221 s", "t-Periode =  .765 s",
                                        "Frequenz =  1.307 Hz"}));
    QCOMPARE(lines[2], QStringLiteral("C1 =  4.7E-06 F"));
  }

  void hiddenGroupsKeepTheirTextAndUnit() {
    frmKippwerk w;
    w.show();
    goTo(w, 1);
    click(w, "optR2");
    box(w, "txtR2")->setText("12");
    child<QComboBox>(w, "cmbR2")->setCurrentIndex(2);
    click(w, "optC1");
    QVERIFY(!child(w, "Frame1(1)")->isVisible());
    click(w, "optR2");
    QCOMPARE(box(w, "txtR2")->text(), QStringLiteral("12"));
    QCOMPARE(child<QComboBox>(w, "cmbR2")->currentText(), QStringLiteral("M Ohm"));
    QCOMPARE(box(w, "txtC1")->text(), QStringLiteral("4.7"));
  }
};

QTEST_MAIN(SecondJobTest)
#include "second_job_test.moc"
