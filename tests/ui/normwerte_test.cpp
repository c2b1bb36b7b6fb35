// The standard-values window driven through its object names with real key events: opening
// from the menu, live recomputation, the status line of every refused input, the keyboard,
// and the hand-over of a set to the timing page.

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

#include "core/normtext.h"
#include "core/timing.h"
#include "core/tolerance.h"
#include "ui/frmNormwerte.h"
#include "ui/signalpicture.h"
#include "ui_support.h"

using namespace kippwerk::testing;
using kippwerk::ui::frmNormwerte;

namespace {

frmNormwerte* openNormwerte(const frmKippwerk& w) {
  action(w, "mnuNormwerte")->trigger();
  return child<frmNormwerte>(w, QStringLiteral("frmNormwerte"));
}

template <class T = QLineEdit>
T* in(const frmNormwerte* n, const char* name) {
  return child<T>(*n, QString::fromLatin1(name));
}

QString cell(const frmNormwerte* n, int row, int column) {
  return in<QTableWidget>(n, "tblNormwerte")->item(row, column)->text();
}

}  // namespace

class NormwerteTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { pinTestEnvironment(); }

  void opensFromTheMenuWithTheMainWindowsState() {
    MessageBoxWatcher boxes;
    frmKippwerk w;
    QVERIFY(showActive(w));
    goTo(w, 3);
    click(w, "cmdFertig");  // times and parts with many digits
    child<QCheckBox>(w, "chkDiode")->setChecked(true);
    child<QRadioButton>(w, "optR2")->setChecked(true);
    child<QComboBox>(w, "cmbR2")->setCurrentIndex(2);

    frmNormwerte* n = openNormwerte(w);
    QVERIFY(QTest::qWaitForWindowActive(n));
    QCOMPARE(n->windowTitle(), QStringLiteral("Normwerte"));
    for (const auto& [box, value] : {std::pair{"txtNTein", w.quantities().times.tein},
                                     std::pair{"txtNTaus", w.quantities().times.taus}}) {
      QCOMPARE(kippwerk::parseValue(in(n, box)->text().toStdString()).value(), value);
    }
    QVERIFY(in<QCheckBox>(n, "chkNDiode")->isChecked());
    // Nothing fixed at first; choosing R2 holds the known component's value and unit.
    QCOMPARE(in<QComboBox>(n, "cmbNFest")->currentText(), QStringLiteral("nichts"));
    QVERIFY(!in(n, "txtNFest")->isEnabled());
    QTest::keyClick(in<QComboBox>(n, "cmbNFest"), Qt::Key_Down);
    QTest::keyClick(in<QComboBox>(n, "cmbNFest"), Qt::Key_Down);
    QCOMPARE(in(n, "txtNFest")->text(), QStringLiteral("68"));
    QCOMPARE(in<QComboBox>(n, "cmbNFestEinheit")->currentText(), QStringLiteral("M Ohm"));
    for (const auto& s : n->sets()) QCOMPARE(s.r2, 68e6);

    // A second use of the menu brings the same window to the front.
    n->lower();
    QCOMPARE(openNormwerte(w), n);
    QCOMPARE(w.findChildren<frmNormwerte*>().size(), 1);
    QVERIFY(QTest::qWaitForWindowActive(n));
    QVERIFY(boxes.seen().empty());
  }

  void recomputesAtEveryKey() {
    frmKippwerk w;
    frmNormwerte* n = openNormwerte(w);
    auto* table = in<QTableWidget>(n, "tblNormwerte");
    QCOMPARE(table->rowCount(), 10);
    QCOMPARE(cell(n, 0, 0), QStringLiteral("680 k Ohm"));  // 0.54 s and 0.22 s, E24 and E6
    retype(in(n, "txtNTein"), "0.47");
    QCOMPARE(in(n, "txtNTein")->text(), QStringLiteral("0.47"));
    QCOMPARE(table->rowCount(), 10);
    QCOMPARE(table->currentRow(), 0);
    QVERIFY(in<QLabel>(n, "lblNStatus")->text().isEmpty());
    const auto& best = n->sets().front();
    QVERIFY(std::abs(best.tein / 0.47 - 1) < 0.1);
    QCOMPARE(cell(n, 0, 3), QString::fromStdString(kippwerk::timeText(best.tein)));
    const auto signal = in<kippwerk::ui::SignalPicture>(n, "picNSignal")->signal();
    QVERIFY(signal.has_value());
    QCOMPARE(signal->tein, best.tein);
    QCOMPARE(signal->wantTein, 0.47);

    // The picture follows the selected row.
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Down);
    QCOMPARE(in<kippwerk::ui::SignalPicture>(n, "picNSignal")->signal()->tein, n->sets()[1].tein);
  }

  void saysWhyThereAreNoSets_data() {
    QTest::addColumn<QStringList>("edits");  // box name, text, box name, text, ...
    QTest::addColumn<QString>("status");
    QTest::newRow("zero t-EIN") << QStringList{"txtNTein", "0"}
                                << "t-EIN und t-AUS müssen größer als 0 sein.";
    QTest::newRow("t-AUS too long")
        << QStringList{"txtNTaus", "1"} << "Ohne Diode muss t-EIN größer als t-AUS sein.";
    QTest::newRow("R min above R max")
        << QStringList{"txtNRmin", "20000"} << "R min ist größer als R max.";
    QTest::newRow("no capacitor inside")
        << QStringList{"txtNCmin", "160", "txtNCmax", "0.0002"}
        << "Zwischen C min und C max liegt kein Wert der Reihe E6.";
    QTest::newRow("number too large")
        << QStringList{"txtNRmax", "1e400"}
        << "Der Wert bei „R max“ liegt außerhalb des darstellbaren Zahlenbereichs.";
    QTest::newRow("fixed part zero") << QStringList{"cmbNFest", "C1", "txtNFest", "0"}
                                     << "Der feste Wert von C1 muss größer als 0 sein.";
    QTest::newRow("times far too short for any set")
        << QStringList{"txtNTaus", "1e-321", "txtNTein", "1e-320"}
        << "Mit diesen Bereichen kommt keine Kombination auch nur annähernd an die gewünschten "
           "Zeiten heran; bitte die Bereiche anpassen.";
  }

  void saysWhyThereAreNoSets() {
    QFETCH(QStringList, edits);
    QFETCH(QString, status);
    MessageBoxWatcher boxes;
    frmKippwerk w;
    frmNormwerte* n = openNormwerte(w);
    for (int i = 0; i < edits.size(); i += 2) {
      if (auto* list = qobject_cast<QComboBox*>(child(*n, edits[i]))) {
        list->setFocus();
        while (list->currentText() != edits[i + 1]) QTest::keyClick(list, Qt::Key_Down);
      } else {
        retype(child(*n, edits[i]), edits[i + 1]);
      }
    }
    QCOMPARE(in<QLabel>(n, "lblNStatus")->text(), status);
    QCOMPARE(in<QTableWidget>(n, "tblNormwerte")->rowCount(), 0);
    QVERIFY(!in<QPushButton>(n, "cmdNUebernehmen")->isEnabled());
    QVERIFY(!in<kippwerk::ui::SignalPicture>(n, "picNSignal")->signal().has_value());
    QVERIFY(boxes.seen().empty());
  }

  void takesOverTheSelectedSetIntoTheTimingPage() {
    MessageBoxWatcher boxes;
    frmKippwerk w;
    frmNormwerte* n = openNormwerte(w);
    in<QCheckBox>(n, "chkNDiode")->setFocus();
    QTest::keyClick(in<QCheckBox>(n, "chkNDiode"), Qt::Key_Space);
    auto* table = in<QTableWidget>(n, "tblNormwerte");
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Down);
    QTest::keyClick(table, Qt::Key_Down);
    const auto set = n->sets()[2];
    click(*n, "cmdNUebernehmen");

    QCOMPARE(visiblePages(w), QList<int>{4});
    QCOMPARE(child<QLineEdit>(w, "txtGegR1")->text() + " " +
                 child<QComboBox>(w, "cmbGegR1")->currentText(),
             cell(n, 2, 0));
    QCOMPARE(child<QLineEdit>(w, "txtGegC1")->text() + " " +
                 child<QComboBox>(w, "cmbGegC1")->currentText().trimmed(),
             cell(n, 2, 2));
    QVERIFY(child<QCheckBox>(w, "chkD")->isChecked());
    const auto times = kippwerk::timesFromComponents(set.r1, set.r2, set.c1, true).value();
    QCOMPARE(child<QLabel>(w, "lblZeiten")->text(),
             QString::fromStdString(kippwerk::timesText(times)));
    QCOMPARE(w.quantities().times.tein, set.tein);
    QVERIFY(boxes.seen().empty());
  }

  // The resistors' tolerance follows the series until the user picks one; the spread below
  // the table follows the selected row and the tolerances.
  void showsTheSpreadOfTheSelectedSet() {
    frmKippwerk w;
    frmNormwerte* n = openNormwerte(w);
    auto* series = in<QComboBox>(n, "cmbNReiheR");
    auto* tolerance = in<QComboBox>(n, "cmbNTolR");
    QCOMPARE(tolerance->currentText(), QStringLiteral("± 5 %"));
    QCOMPARE(in<QComboBox>(n, "cmbNTolC")->currentText(), QStringLiteral("± 10 %"));
    series->setFocus();
    QTest::keyClick(series, Qt::Key_Down);  // E48
    QCOMPARE(tolerance->currentText(), QStringLiteral("± 2 %"));
    tolerance->setFocus();
    QTest::keyClick(tolerance, Qt::Key_Down);
    QCOMPARE(tolerance->currentText(), QStringLiteral("± 5 %"));
    retype(in(n, "txtNTein"), "0.6");
    QCOMPARE(tolerance->currentText(), QStringLiteral("± 5 %"));  // the choice holds
    QTest::keyClick(series, Qt::Key_Down);                        // E96
    QCOMPARE(tolerance->currentText(), QStringLiteral("± 1 %"));

    auto* table = in<QTableWidget>(n, "tblNormwerte");
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Down);
    const auto& set = n->sets()[1];
    const auto spread = kippwerk::toleranceSpread(set.r1, set.r2, set.c1, false, 0.01, 0.1);
    QCOMPARE(in<QLabel>(n, "lblNToleranz")->text(),
             QString::fromStdString(kippwerk::toleranceText(spread, 0.6, 0.22)));
    QCOMPARE(in<kippwerk::ui::SignalPicture>(n, "picNSignal")->signal()->edges->at(3),
             spread.edges[3]);
    retype(in(n, "txtNTaus"), "1");
    QVERIFY(in<QLabel>(n, "lblNToleranz")->text().isEmpty());
  }

  void worksFromTheKeyboard() {
    frmKippwerk w;
    frmNormwerte* n = openNormwerte(w);
    QVERIFY(QTest::qWaitForWindowActive(n));
    const QStringList order{"txtNTein",     "txtNTaus",        "chkNDiode",     "cmbNReiheR",
                            "cmbNTolR",     "txtNRmin",        "cmbNRmin",      "txtNRmax",
                            "cmbNRmax",     "cmbNReiheC",      "cmbNTolC",      "txtNCmin",
                            "cmbNCmin",     "txtNCmax",        "cmbNCmax",      "cmbNFest",
                            "tblNormwerte", "cmdNUebernehmen", "cmdNSchliessen"};
    in(n, "txtNTein")->setFocus();
    QStringList walked;
    for (int i = 0; i < order.size(); ++i) {
      QWidget* focus = QApplication::focusWidget();
      walked << focus->objectName();
      const bool input = !walked.last().startsWith(QLatin1String("cmd"));
      QVERIFY2(!input || !focus->accessibleName().isEmpty(), qPrintable(walked.last()));
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(walked, order);  // the fixed value is skipped while nothing is fixed

    in<QTableWidget>(n, "tblNormwerte")->setFocus();
    QTest::keyClick(in<QTableWidget>(n, "tblNormwerte"), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(),
             QStringLiteral("R1\tR2\tC1\tt-EIN\tt-AUS\tFrequenz\tΔ t-EIN\tΔ t-AUS\n"
                            "680 k Ohm\t470 k Ohm\t680 nF\t539.6 ms\t220.5 ms\t1.316 Hz\t"
                            "-0.08 %\t+0.24 %\n"
                            "t-EIN: 461.3 ms … 623.2 ms (-14.57 % … +15.41 %)\n"
                            "t-AUS: 188.5 ms … 254.7 ms (-14.30 % … +15.78 %)\n"
                            "t-Periode: 649.9 ms … 877.9 ms (-14.49 % … +15.52 %)\n"
                            "Frequenz: 1.139 Hz … 1.539 Hz (-13.43 % … +16.94 %)\n"
                            "Tastgrad: 69.8 % … 72.2 % (Soll 71.1 %)"));

    QTest::keyClick(in(n, "txtNTaus"), Qt::Key_Return);
    QVERIFY(n->isVisible());
    QTest::keyClick(in(n, "txtNTaus"), Qt::Key_Escape);
    QVERIFY(!n->isVisible());
  }
};

QTEST_MAIN(NormwerteTest)
#include "normwerte_test.moc"
