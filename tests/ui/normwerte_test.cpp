// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The standard-values window driven through its object names with real key events: opening
// from the menu, live recomputation against a fresh search, the status line of every refused
// input, the highlighted row, the keyboard, the hand-over of a set to the timing page and the
// signal picture.

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QThread>
#include <QtTest>

#include "core/normtext.h"
#include "core/realspread.h"
#include "core/standardsearch.h"
#include "core/timing.h"
#include "core/tolerance.h"
#include "ui/panels/realspreadpanel.h"
#include "ui/pictures/histogram.h"
#include "ui/pictures/signalpicture.h"
#include "ui/windows/frmNormwerte.h"
#include "ui_support.h"

using namespace kippwerk::testing;
using kippwerk::FixedPart;
using kippwerk::Series;
using kippwerk::StandardSearch;
using kippwerk::ui::frmNormwerte;
using kippwerk::ui::SignalPicture;

Q_DECLARE_METATYPE(kippwerk::StandardSearch)

namespace {

frmNormwerte* openNormwerte(const frmKippwerk& w) {
  action(w, "mnuNormwerte")->trigger();
  return child<frmNormwerte>(w, QStringLiteral("frmNormwerte"));
}

QString cell(const frmNormwerte* n, int row, int column) {
  return cellText(in<QTableWidget>(n, "tblNormwerte"), row, column);
}

QString rowLine(const frmNormwerte* n, int row) {
  QStringList cells;
  for (int column = 0; column < 10; ++column) cells << cell(n, row, column);
  return cells.join(QLatin1Char('\t'));
}

// The window's defaults as a request: 0.54 s and 0.22 s from the main window, E24 at 5 %, E6
// at 10 %, 1 k to 10 M Ohm, 100 pF to 1000 uF, a 1N4148 at 9 V once the diode is ticked.
StandardSearch defaults() {
  StandardSearch q{0.54, 0.22};
  q.resistorTolerance = 0.05;
  q.capacitorTolerance = 0.1;
  q.diodeModel = kippwerk::kDiodes[0];
  q.ub = 9;
  q.chip = kippwerk::kChipFamilies[0].chip(9);
  return q;
}

const char* const kIdeal = "ideal (wie Seite „Zeiten“)";

QPoint rowCentre(QTableWidget* t, int row) {
  return t->visualRect(t->model()->index(row, 1)).center();
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
    QCOMPARE(n->windowTitle(), QStringLiteral("Normwerte – Unbenannt[*]"));
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
    QCOMPARE(cell(n, 0, 0), QStringLiteral("100 k Ohm"));  // 0.54 s and 0.22 s, E24 and E6
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

  // The status line says why there are no sets, or why the best one still misses by more
  // than 10 %; without sets the table, the spread and the picture are empty.
  void saysWhyThereAreNoSets_data() {
    QTest::addColumn<QStringList>("edits");  // box name, text, box name, text, ...
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("rows");
    const QString tooSmall = QStringLiteral("Bitte bei „%1“ einen Wert größer als 0 eingeben.");
    const QString noRangeHelps = QStringLiteral(
        "An diese Zeiten kommt keine Kombination von Normwerten auch nur annähernd heran, mit "
        "welchen Bereichen auch immer; bitte andere Zeiten%1 eingeben.");
    QTest::newRow("zero t-EIN") << QStringList{"txtNTein", "0"}
                                << "t-EIN und t-AUS müssen größer als 0 sein." << 0;
    QTest::newRow("t-AUS too long")
        << QStringList{"txtNTaus", "1"} << "Ohne Diode muss t-EIN größer als t-AUS sein." << 0;
    QTest::newRow("R min above R max")
        << QStringList{"txtNRmin", "20000"} << "R min ist größer als R max." << 0;
    QTest::newRow("R min empty") << QStringList{"txtNRmin", ""} << tooSmall.arg("R min") << 0;
    const QString unread = QStringLiteral(
        "Bei „%1“ wurde „%2“ nicht verstanden; bitte nur eine Zahl eingeben, etwa 1.5 oder "
        "4.7e-6.");
    QTest::newRow("R max unreadable")
        << QStringList{"txtNRmax", "abc"} << unread.arg("R max", "abc") << 0;
    QTest::newRow("C min zero, R min above R max")
        << QStringList{"txtNRmin", "20000", "txtNCmin", "0"} << tooSmall.arg("C min") << 0;
    QTest::newRow("C max negative") << QStringList{"txtNCmax", "-1"} << tooSmall.arg("C max") << 0;
    QTest::newRow("supply above the NE555's")
        << QStringList{"txtNUb", "16.5"}
        << "Die Betriebsspannung muss beim NE555 zwischen 4.5 V und 16 V liegen." << 0;
    QTest::newRow("supply unreadable") << QStringList{"txtNUb", "V"} << unread.arg("Ub", "V") << 0;
    // What the number reader leaves unread is an input error here, never silently dropped.
    const QString point = QStringLiteral("Bitte bei „%1“ den Dezimalpunkt verwenden: %2 statt %3.");
    QTest::newRow("t-EIN with a decimal comma")
        << QStringList{"txtNTein", "1,5"} << point.arg("t-EIN", "1.5", "1,5") << 0;
    QTest::newRow("supply with a decimal comma")
        << QStringList{"txtNUb", "9,5"} << point.arg("Ub", "9.5", "9,5") << 0;
    QTest::newRow("R min with a decimal comma")
        << QStringList{"txtNRmin", "1,5"} << point.arg("R min", "1.5", "1,5") << 0;
    QTest::newRow("t-AUS with two points")
        << QStringList{"txtNTaus", "1.5.3"} << unread.arg("t-AUS", ".3") << 0;
    QTest::newRow("fixed C1 with a letter")
        << QStringList{"cmbNFest", "C1", "txtNFest", ".54n"} << unread.arg("C1", "n") << 0;
    QTest::newRow("C max with two commas")
        << QStringList{"txtNCmax", "1,0,0"} << unread.arg("C max", ",0,0") << 0;
    QTest::newRow("supply below the CMOS type's")
        << QStringList{"cmbNTyp", "CMOS (7555)", "txtNUb", "1.8"}
        << "Die Betriebsspannung muss bei CMOS-Typen zwischen 2 V und 15 V liegen." << 0;
    QTest::newRow("NE555's supply too high for the CMOS type")
        << QStringList{"txtNUb", "15.5", "cmbNTyp", "CMOS (7555)"}
        << "Die Betriebsspannung muss bei CMOS-Typen zwischen 2 V und 15 V liegen." << 0;
    QTest::newRow("no capacitor inside")
        << QStringList{"txtNCmin", "160", "txtNCmax", "0.0002"}
        << "Zwischen C min und C max liegt kein Wert der Reihe E6." << 0;
    QTest::newRow("number too large")
        << QStringList{"txtNRmax", "1e400"}
        << "Der Wert bei „R max“ liegt außerhalb des darstellbaren Zahlenbereichs." << 0;
    QTest::newRow("fixed part too large")
        << QStringList{"cmbNFest", "R2", "txtNFest", "1e400"}
        << "Der Wert von R2 liegt außerhalb des darstellbaren Zahlenbereichs." << 0;
    QTest::newRow("fixed part zero") << QStringList{"cmbNFest", "C1", "txtNFest", "0"}
                                     << "Der feste Wert von C1 muss größer als 0 sein." << 0;
    QTest::newRow("times beyond any range")
        << QStringList{"txtNTein", "1e308"} << noRangeHelps.arg("") << 0;
    QTest::newRow("times below any range with the diode and a fixed part")
        << QStringList{"chkNDiode", "an", "cmbNFest", "R2", "txtNTein", "1e-300"}
        << noRangeHelps.arg(" oder einen anderen festen Wert") << 0;
    QTest::newRow("times far too short for these ranges")
        << QStringList{"txtNCmin", "1", "cmbNCmin", "mF", "txtNTaus", "1e-10", "txtNTein", "1e-9"}
        << "Mit diesen Bereichen kommt keine Kombination auch nur annähernd an die gewünschten "
           "Zeiten heran; bitte die Bereiche anpassen."
        << 0;
    // Every set of 1 k Ohm and more with this C1 overflows in its period.
    QTest::newRow("every set beyond the numbers")
        << QStringList{"cmbNFest", "C1",       "txtNFest", "1e305",    "cmbNFestEinheit",
                       " F",       "txtNTaus", "1e308",    "txtNTein", "1.5e308"}
        << "Mit diesen Bereichen kommt keine Kombination auch nur annähernd an die gewünschten "
           "Zeiten heran; bitte die Bereiche anpassen."
        << 0;
    QTest::newRow("sets near the end of the numbers")
        << QStringList{"cmbNFest", "C1",       "txtNFest", "1e302",    "cmbNFestEinheit",
                       " F",       "txtNTaus", "1e308",    "txtNTein", "1.5e308"}
        << "Die gewünschten Zeiten liegen zu nahe an den Grenzen des darstellbaren "
           "Zahlenbereichs; bitte andere Zeiten eingeben."
        << 10;
    QTest::newRow("t-EIN beyond the largest parts")
        << QStringList{"chkNDiode", "an",       "cmbNDiodeTyp", kIdeal,     "txtNCmax",
                       "1",         "txtNTein", "10",           "txtNTaus", "0.5"}
        << "Die Bereiche reichen nur bis t-EIN = 7.271 s; R max oder C max erhöhen." << 10;
    QTest::newRow("t-AUS below the smallest parts")
        << QStringList{"cmbNFest", "C1", "txtNFest", "1", "txtNTaus", "1e-4", "txtNTein", "1e-3"}
        << "Die Bereiche reichen erst ab t-AUS = 706.6 us; R min verringern." << 10;
    QTest::newRow("ratio beyond the resistors")
        << QStringList{"txtNTaus", "1e-5", "txtNTein", "1"}
        << "Das Verhältnis von t-EIN zu t-AUS liegt außerhalb dessen, was Widerstände von R min "
           "bis R max ergeben; R min verringern oder R max erhöhen."
        << 10;
    QTest::newRow("series too coarse")
        << QStringList{"chkNDiode", "an",       "cmbNDiodeTyp", kIdeal,     "cmbNReiheR",
                       "E6",        "cmbNFest", "C1",           "txtNFest", "1",
                       "txtNTaus",  "6.9e-3",   "txtNTein",     "8.418e-4"}
        << "Keine Kombination kommt auf 10 % an die gewünschten Zeiten heran: die Reihen sind "
           "dafür zu grob; bitte eine feinere Reihe wählen oder nichts festlegen."
        << 10;
  }

  void saysWhyThereAreNoSets() {
    QFETCH(QStringList, edits);
    QFETCH(QString, status);
    QFETCH(int, rows);
    MessageBoxWatcher boxes;
    frmKippwerk w;
    frmNormwerte* n = openNormwerte(w);
    apply(*n, edits);
    QCOMPARE(in<QLabel>(n, "lblNStatus")->text(), status);
    QCOMPARE(in<QTableWidget>(n, "tblNormwerte")->rowCount(), rows);
    QCOMPARE(in<QPushButton>(n, "cmdNUebernehmen")->isEnabled(), rows > 0);
    QCOMPARE(in<SignalPicture>(n, "picNSignal")->signal().has_value(), rows > 0);
    QCOMPARE(in<QLabel>(n, "lblNToleranz")->text().isEmpty(), rows == 0);
    QVERIFY(boxes.seen().empty());
  }

  // Übernehmen from any page: each part into its own box and unit as the timing page reads
  // them, the fixed part with all its typed digits, only the timing page shown, the diode box
  // ticked as the set was searched, and the main window in front.
  void handsOverTheHighlightedSet_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("fixedBox");   // name of the box of the fixed part
    QTest::addColumn<QString>("fixedText");  // what it shows, with the unit
    QTest::newRow("start page, diode, third row")
        << 0 << QStringList{"chkNDiode", "an"} << 2 << QString() << QString();
    QTest::newRow("time-entry page, R2 with more digits than the table")
        << 2 << QStringList{"cmbNFest", "R2", "txtNFest", "100.04"} << 0 << "txtGegR2"
        << "100.04 k Ohm";
    QTest::newRow("result page, C1 in nF")
        << 3 << QStringList{"cmbNFest", "C1", "txtNFest", "330", "cmbNFestEinheit", "nF"} << 1
        << "txtGegC1"
        << "330 nF";
    QTest::newRow("timing page, E192")
        << 4 << QStringList{"cmbNReiheR", "E192"} << 9 << QString() << QString();
  }

  void handsOverTheHighlightedSet() {
    QFETCH(int, page);
    QFETCH(QStringList, edits);
    QFETCH(int, row);
    QFETCH(QString, fixedBox);
    QFETCH(QString, fixedText);
    MessageBoxWatcher boxes;
    frmKippwerk w;
    QVERIFY(showActive(w));
    goTo(w, page);
    frmNormwerte* n = openNormwerte(w);
    QVERIFY(QTest::qWaitForWindowActive(n));
    apply(*n, edits);
    auto* table = in<QTableWidget>(n, "tblNormwerte");
    QCOMPARE(table->rowCount(), 10);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rowCentre(table, row));
    const auto set = n->sets()[static_cast<std::size_t>(row)];
    const bool diode = in<QCheckBox>(n, "chkNDiode")->isChecked();
    QTRY_COMPARE(QApplication::activeWindow(), n);  // activations arrive late offscreen
    click(*n, "cmdNUebernehmen");
    QTest::qWait(20);

    QCOMPARE(visiblePages(w), QList<int>{4});
    QCOMPARE(QApplication::activeWindow(), &w);
    QCOMPARE(child<QCheckBox>(w, "chkD")->isChecked(), diode);
    const std::tuple<const char*, const char*, double, int> parts[] = {
        {"txtGegR1", "cmbGegR1", set.r1, 0},
        {"txtGegR2", "cmbGegR2", set.r2, 1},
        {"txtGegC1", "cmbGegC1", set.c1, 2}};
    for (const auto& [box, units, value, column] : parts) {
      const QString shown = child<QLineEdit>(w, box)->text() + " " +
                            child<QComboBox>(w, units)->currentText().trimmed();
      QCOMPARE(shown, fixedBox == QLatin1String(box) ? fixedText : cell(n, row, column));
    }
    const auto& q = w.quantities();
    QCOMPARE(q.R2, set.r2);
    QVERIFY(std::abs(q.R1 / set.r1 - 1) < 1e-14 && std::abs(q.C1 / set.c1 - 1) < 1e-14);
    const auto times = kippwerk::timesFromComponents(q.R1, q.R2, q.C1, diode).value();
    QCOMPARE(child<QLabel>(w, "lblZeiten")->text(),
             QString::fromStdString(kippwerk::timesText(times)));
    // The timing page has the ideal diode and the ideal chip with 0.69; by how much the set's
    // own times differ the window said beforehand, where it is more than 1 %.
    QCOMPARE(q.times.tein, times.tein);
    for (const double change : {set.tein / times.tein - 1, set.taus / times.taus - 1}) {
      const QString said = QString::fromStdString(kippwerk::sizeText(change));
      QCOMPARE(in<QLabel>(n, "lblNHinweis")->text().contains(said), std::abs(change) > 0.01);
    }
    QVERIFY(boxes.seen().empty());
  }

  // Every input searches again: the table is what a fresh search for the inputs gives, and
  // the spread below it uses the tolerances shown.
  void recomputesOnEveryInput_data() {
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<StandardSearch>("want");
    auto row = [](const char* tag, const QStringList& edits, auto change) {
      StandardSearch q = defaults();
      change(q);
      QTest::newRow(tag) << edits << q;
    };
    row("t-EIN", {"txtNTein", "0.6"}, [](StandardSearch& q) { q.tein = 0.6; });
    row("t-AUS", {"txtNTaus", "0.3"}, [](StandardSearch& q) { q.taus = 0.3; });
    row("diode", {"chkNDiode", "an"}, [](StandardSearch& q) { q.diode = true; });
    const std::tuple<const char*, Series, double> resistorSeries[] = {
        {"E6", Series::E6, 0.2},
        {"E12", Series::E12, 0.1},
        {"E48", Series::E48, 0.02},
        {"E96", Series::E96, 0.01},
        {"E192", Series::E192, 0.005}};
    for (const auto& [name, series, tolerance] : resistorSeries) {
      row(qPrintable(QStringLiteral("resistors %1").arg(name)), {"cmbNReiheR", name},
          [&](StandardSearch& q) {
            q.resistorSeries = series;
            q.resistorTolerance = tolerance;
          });
    }
    row("resistor tolerance", {"cmbNTolR", "± 1 %"},
        [](StandardSearch& q) { q.resistorTolerance = 0.01; });
    row("capacitors E3", {"cmbNReiheC", "E3"},
        [](StandardSearch& q) { q.capacitorSeries = Series::E3; });
    row("capacitors E24", {"cmbNReiheC", "E24"},
        [](StandardSearch& q) { q.capacitorSeries = Series::E24; });
    row("capacitor tolerance", {"cmbNTolC", "± 5 %"},
        [](StandardSearch& q) { q.capacitorTolerance = 0.05; });
    row("R min", {"txtNRmin", "100"}, [](StandardSearch& q) { q.rMin = 100e3; });
    row("R min unit", {"cmbNRmin", "Ohm"}, [](StandardSearch& q) { q.rMin = 1; });
    row("R max", {"txtNRmax", "2"}, [](StandardSearch& q) { q.rMax = 2e6; });
    row("R max unit", {"cmbNRmax", "k Ohm"}, [](StandardSearch& q) { q.rMax = 10e3; });
    row("C min", {"txtNCmin", "2.2"}, [](StandardSearch& q) { q.cMin = 2.2e-12; });
    row("C min unit", {"cmbNCmin", "nF"}, [](StandardSearch& q) { q.cMin = 100e-9; });
    row("C max", {"txtNCmax", "10"}, [](StandardSearch& q) { q.cMax = 10e-6; });
    row("C max unit", {"cmbNCmax", "nF"}, [](StandardSearch& q) { q.cMax = 1000e-9; });
    row("fixed C1", {"cmbNFest", "C1"}, [](StandardSearch& q) {
      q.fixed = FixedPart::C1;
      q.fixedValue = 4.7e-6;
    });
    row("fixed C1 value", {"cmbNFest", "C1", "txtNFest", "2.2"}, [](StandardSearch& q) {
      q.fixed = FixedPart::C1;
      q.fixedValue = 2.2e-6;
    });
    row("fixed C1 unit", {"cmbNFest", "C1", "cmbNFestEinheit", "nF"}, [](StandardSearch& q) {
      q.fixed = FixedPart::C1;
      q.fixedValue = 4.7 * 1e-9;  // as the box and its unit read
    });
    row("fixed R2", {"cmbNFest", "R2"}, [](StandardSearch& q) {
      q.fixed = FixedPart::R2;
      q.fixedValue = 68e3;
    });
    row("fixed R2 unit", {"cmbNFest", "R2", "cmbNFestEinheit", "Ohm"}, [](StandardSearch& q) {
      q.fixed = FixedPart::R2;
      q.fixedValue = 68;
    });
    row("fixed part released", {"cmbNFest", "R2", "cmbNFest", "nichts"}, [](StandardSearch&) {});
    row("diode type", {"chkNDiode", "an", "cmbNDiodeTyp", "1N4001 (Gleichrichter)"},
        [](StandardSearch& q) {
          q.diode = true;
          q.diodeModel = kippwerk::kDiodes[1];
        });
    row("supply with the diode", {"chkNDiode", "an", "txtNUb", "5"}, [](StandardSearch& q) {
      q.diode = true;
      q.ub = 5;
    });
    row("CMOS at 2 V", {"chkNDiode", "an", "cmbNTyp", "CMOS (7555)", "txtNUb", "2"},
        [](StandardSearch& q) {
          q.diode = true;
          q.ub = 2;
          q.chip = kippwerk::kChipFamilies[1].chip(2);
        });
    row("TLC555 at 5 V", {"cmbNTyp", "TLC555 (CMOS)", "txtNUb", "5"}, [](StandardSearch& q) {
      q.ub = 5;
      q.chip = kippwerk::kChipFamilies[2].chip(5);
    });
  }

  void recomputesOnEveryInput() {
    QFETCH(QStringList, edits);
    QFETCH(StandardSearch, want);
    frmKippwerk w;
    frmNormwerte* n = openNormwerte(w);
    apply(*n, edits);
    const auto sets = kippwerk::searchStandardSets(want);
    QVERIFY(sets.ok());
    QCOMPARE(in<QTableWidget>(n, "tblNormwerte")->rowCount(), int(sets.value().size()));
    QVERIFY(n->sets() == sets.value());
    const auto& best = sets.value().front();
    QCOMPARE(cell(n, 0, 0), QString::fromStdString(partText(best.r1, kippwerk::resistorUnits)));
    QCOMPARE(cell(n, 0, 7), QString::fromStdString(kippwerk::percentText(best.devTaus)));
    const auto spread = kippwerk::toleranceSpread(best.r1, best.r2, best.c1, want.circuit(),
                                                  want.resistorTolerance, want.capacitorTolerance);
    QCOMPARE(in<QLabel>(n, "lblNToleranz")->text(),
             underToleranceHeading(kippwerk::toleranceText(spread, want.tein, want.taus)));
  }

  // The hints of the chip family in the last column with their reasons as tooltip, and below
  // the table the highlighted set's reasons and what a real diode does to t-EIN; the picture
  // draws the capacitor voltage of that set.
  void showsTheChipsLimitsAndTheDiodesEffect_data() {
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("hints");
    QTest::addColumn<QString>("reasons");
    const QStringList small{"txtNCmax", "470",  "cmbNCmax", "pF",
                            "txtNTaus", "1e-5", "txtNTein", "2e-5"};
    const QString c1 = QStringLiteral(
        "C1 unter 500 pF: Die Zeiten hängen dann merklich von Streukapazitäten ab (beim NE555).");
    const QString page = QStringLiteral("; die Seite „Zeiten“ rechnet mit ");
    const QString chip = QStringLiteral(
        " als 0.69 · R2 · C1: Entladeschalter und Verzögerungen "
        "des Zeitgebers.");
    QTest::newRow("NE555, small capacitor")
        << small << "C1 < 500 pF, Verzögerung"
        << c1 +
               "\nDie Verzögerungen des Zeitgebers verlängern die Periode hier um 5.62 %.\n"
               "Bei Ub = 9 V ist t-EIN hier um 5.66 % länger als 0.69 · (R1 + R2) · C1" +
               page + "idealem Zeitgeber.\nt-AUS ist hier um 8.06 % länger" + chip;
    QTest::newRow("CMOS, small capacitor")
        << QStringList{"cmbNTyp", "CMOS (7555)"} + small << "C1 < 200 pF, Verzögerung"
        << "C1 unter 200 pF: Die Zeiten hängen dann merklich von Streukapazitäten ab (bei "
           "CMOS-Typen).\nDie Verzögerungen des Zeitgebers verlängern die Periode hier um 4.43 %."
           "\nBei Ub = 9 V ist t-EIN hier um 4.55 % länger als 0.69 · (R1 + R2) · C1" +
               page + "idealem Zeitgeber.\nt-AUS ist hier um 5.67 % länger" + chip;
    QTest::newRow("ideal diode")
        << QStringList{"chkNDiode", "an", "cmbNDiodeTyp", kIdeal} << ""
        << "Bei Ub = 9 V ist t-EIN hier um 1.16 % länger als 0.69 · R1 · C1" + page +
               "idealem Zeitgeber.\nt-AUS ist hier um 1.64 % länger" + chip;
    QTest::newRow("1N4148 at 9 V")
        << QStringList{"chkNDiode", "an"} << ""
        << "Mit der Diode 1N4148 bei Ub = 9 V ist t-EIN um 11.35 % länger als 0.69 · R1 · C1" +
               page + "idealer Diode und idealem Zeitgeber.\nt-AUS ist hier um 1.41 % länger" +
               chip;
    // The rectifier's junction moves more charge than a 470 pF capacitor can take unnoticed.
    QTest::newRow("1N4001 at 5 V, small capacitor")
        << QStringList{"chkNDiode", "an", "cmbNDiodeTyp", "1N4001 (Gleichrichter)", "txtNUb", "5"} +
               small
        << "C1 < 500 pF, Verzögerung, Diode zu groß"
        << c1 +
               "\nDie Verzögerungen des Zeitgebers verlängern die Periode hier um 5.56 %.\n"
               "Die Diode 1N4001 verschiebt beim Umschalten etwa 43.3 pC Sperrschichtladung, "
               "mehr als 2 % der Ladung von C1 zwischen den Schwellen; die Zeiten weichen dann "
               "ab. Besser eine 1N4148 oder ein größeres C1.\nMit der Diode 1N4001 bei Ub = 5 V "
               "ist t-EIN um 22.07 % länger als 0.69 · R1 · C1" +
               page + "idealer Diode und idealem Zeitgeber.\nt-AUS ist hier um 9.01 % länger" +
               chip;
  }

  void showsTheChipsLimitsAndTheDiodesEffect() {
    QFETCH(QStringList, edits);
    QFETCH(QString, hints);
    QFETCH(QString, reasons);
    frmKippwerk w;
    frmNormwerte* n = openNormwerte(w);
    QVERIFY(!in<QComboBox>(n, "cmbNDiodeTyp")->isEnabled());
    apply(*n, edits);
    QCOMPARE(in<QComboBox>(n, "cmbNDiodeTyp")->isEnabled(),
             in<QCheckBox>(n, "chkNDiode")->isChecked());
    auto* table = in<QTableWidget>(n, "tblNormwerte");
    QCOMPARE(table->rowCount(), 10);
    const auto& set = n->sets().front();
    QCOMPARE(cell(n, 0, 9), hints);
    // Numbers line up on the right, the notes read from the left.
    for (int column = 0; column < 10; ++column) {
      QCOMPARE(int(table->item(0, column)->textAlignment() & Qt::AlignHorizontal_Mask),
               int(column == 9 ? Qt::AlignLeft : Qt::AlignRight));
    }
    for (int row = 0; row < table->rowCount(); ++row) {  // each row's reasons with its hints
      QCOMPARE(table->item(row, 9)->toolTip().count('\n') + 1,
               cell(n, row, 9).isEmpty() ? 1 : int(cell(n, row, 9).count(", ")) + 1);
      QCOMPARE(table->item(row, 9)->toolTip().isEmpty(), cell(n, row, 9).isEmpty());
    }
    // The tooltip holds the hints' sentences, which open the lines below the table.
    const int briefs = hints.isEmpty() ? 0 : int(hints.count(", ")) + 1;
    QCOMPARE(table->item(0, 9)->toolTip(),
             briefs == 0 ? QString()
                         : in<QLabel>(n, "lblNHinweis")->text().section('\n', 0, briefs - 1));
    QCOMPARE(in<QLabel>(n, "lblNHinweis")->text(), reasons);
    const auto& signal = in<SignalPicture>(n, "picNSignal")->signal();
    QVERIFY(signal.has_value() && !signal->capacitor.empty());
    QCOMPARE(signal->capacitor.back().t, set.tein + set.taus);
    QCOMPARE(signal->ub, in(n, "txtNUb")->text().toDouble());
  }

  // With nothing fixed the greyed box shows the main window's known part; a chosen part
  // brings its own value and unit.
  void showsTheMainWindowsKnownPartInTheValueBox_data() {
    QTest::addColumn<QString>("known");  // the option button on the known-component page
    QTest::addColumn<QString>("fixed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("C1 known, nothing fixed") << "optC1"
                                             << "nichts"
                                             << "3.3 nF" << false;
    QTest::newRow("R2 known, nothing fixed") << "optR2"
                                             << "nichts"
                                             << "47 M Ohm" << false;
    QTest::newRow("R2 known, C1 fixed") << "optR2"
                                        << "C1"
                                        << "3.3 nF" << true;
    QTest::newRow("C1 known, R2 fixed") << "optC1"
                                        << "R2"
                                        << "47 M Ohm" << true;
  }

  void showsTheMainWindowsKnownPartInTheValueBox() {
    QFETCH(QString, known);
    QFETCH(QString, fixed);
    QFETCH(QString, shown);
    QFETCH(bool, enabled);
    frmKippwerk w;
    goTo(w, 1);
    apply(w, {"txtC1", "3.3", "cmbC1", "nF", "txtR2", "47", "cmbR2", "M Ohm"});
    click(w, qPrintable(known));
    frmNormwerte* n = openNormwerte(w);
    apply(*n, {"cmbNFest", fixed});
    QCOMPARE(in(n, "txtNFest")->text() + " " + in<QComboBox>(n, "cmbNFestEinheit")->currentText(),
             shown);
    QCOMPARE(in(n, "txtNFest")->isEnabled(), enabled);
    QCOMPARE(in<QComboBox>(n, "cmbNFestEinheit")->isEnabled(), enabled);
  }

  // One row is always highlighted, and the spread, Ctrl+C and Übernehmen all take it.
  void actsOnTheHighlightedRow() {
    frmKippwerk w;
    frmNormwerte* n = openNormwerte(w);
    apply(*n,
          {"txtNRmin", "10", "txtNRmax", "15", "cmbNRmax", "k Ohm", "cmbNReiheR", "E6", "txtNCmin",
           "1", "cmbNCmin", "uF", "txtNCmax", "1", "txtNTaus", "0.01", "txtNTein", "0.02"});
    auto* table = in<QTableWidget>(n, "tblNormwerte");
    QCOMPARE(table->rowCount(), 4);  // R1 and R2 of 10 k and 15 k, C1 of 1 uF
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rowCentre(table, 2));
    // Beside the rows, and Ctrl on the highlighted one: either would leave none highlighted.
    const QPoint empty(rowCentre(table, 3).x(), table->viewport()->height() - 4);
    for (const auto& [at, keys] :
         {std::pair{empty, Qt::KeyboardModifiers()},
          std::pair{rowCentre(table, 2), Qt::KeyboardModifiers(Qt::ControlModifier)}}) {
      QTest::mouseClick(table->viewport(), Qt::LeftButton, keys, at);
      QCOMPARE(table->selectionModel()->selectedRows().size(), 1);
      QCOMPARE(table->selectionModel()->selectedRows().front().row(), 2);
    }
    const auto& set = n->sets()[2];
    const QString spread = underToleranceHeading(kippwerk::toleranceText(
        kippwerk::toleranceSpread(set.r1, set.r2, set.c1, defaults().circuit(), 0.2, 0.1), 0.02,
        0.01));
    QCOMPARE(in<QLabel>(n, "lblNToleranz")->text(), spread);
    QCOMPARE(in<SignalPicture>(n, "picNSignal")->signal()->tein, set.tein);
    table->setFocus();
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text().split(QLatin1Char('\n')).at(1), rowLine(n, 2));

    retype(in(n, "txtNTein"), "0");
    QVERIFY(!in<QPushButton>(n, "cmdNUebernehmen")->isEnabled());
    retype(in(n, "txtNTein"), "0.02");
    QVERIFY(in<QPushButton>(n, "cmdNUebernehmen")->isEnabled());
    QCOMPARE(table->selectionModel()->selectedRows().front().row(), 0);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rowCentre(table, 3));
    click(*n, "cmdNUebernehmen");
    QCOMPARE(w.quantities().R1, n->sets()[3].r1);
    QCOMPARE(w.quantities().R2, n->sets()[3].r2);
  }

  // The menu only brings an open window to the front; a new opening keeps what the user had
  // and takes over only desired times newly typed on the time-entry page, in their display
  // form.
  void keepsWhatTheUserHadAcrossOpenings() {
    frmKippwerk w;
    QVERIFY(showActive(w));
    frmNormwerte* n = openNormwerte(w);
    apply(*n, {"txtNTaus", "0.25", "cmbNFest", "R2", "txtNFest", "56"});
    goTo(w, 2);  // new wishes in the main window while this one is open
    retype(child(w, "txtTaus"), "0.3");
    openNormwerte(w);
    QCOMPARE(in(n, "txtNTaus")->text(), QStringLiteral("0.25"));
    QCOMPARE(in(n, "txtNFest")->text(), QStringLiteral("56"));
    retype(child(w, "txtTaus"), ".22");

    click(*n, "cmdNUebernehmen");  // the timing page now computes other times
    n->close();
    openNormwerte(w);
    QCOMPARE(in(n, "txtNTein")->text(), QStringLiteral(".54"));
    QCOMPARE(in(n, "txtNTaus")->text(), QStringLiteral("0.25"));
    QCOMPARE(in(n, "txtNFest")->text(), QStringLiteral("56"));
    QVERIFY(cell(n, 0, 6) != QLatin1String("0.00 %"));

    n->close();
    goTo(w, 2);
    retype(child(w, "txtTaus"), "0.2");
    retype(child(w, "txtTein"), "0.7");
    openNormwerte(w);
    QCOMPARE(in(n, "txtNTein")->text(), QStringLiteral(".7"));
    QCOMPARE(in(n, "txtNTaus")->text(), QStringLiteral(".2"));
    QCOMPARE(in(n, "txtNFest")->text(), QStringLiteral("56"));

    // A frequency typed gives times with binary noise; the box shows the display form.
    n->close();
    click(w, "chkDiode");
    retype(child(w, "txtFrequenz"), "3");
    openNormwerte(w);
    QCOMPARE(in(n, "txtNTein")->text(), QStringLiteral(".166666666666667"));
    QVERIFY(in<QCheckBox>(n, "chkNDiode")->isChecked());
  }

  // The picture of a known signal: the axis steps, then where the set's edges, the desired
  // curve, the tolerance bands and the capacitor voltage at its thresholds fall along it.
  void drawsTheSignalOfAKnownSet() {
    SignalPicture picture;
    picture.resize(640, 260);
    const std::array<kippwerk::Spread, 4> edges{
        {{0.28, 0.32}, {0.47, 0.53}, {0.75, 0.85}, {0.95, 1.0}}};
    const kippwerk::Circuit plain{false, kippwerk::kIdealDiode, 9};
    picture.setSignal(kippwerk::ui::Signal{
        0.3, 0.2, 0.25, 0.25, edges,
        kippwerk::capacitorVoltage(plain, 0.1 / 0.69e-6, 0.2 / 0.69e-6, 1e-6, 48), 9});
    const PlotPixels px(picture);
    QCOMPARE(px.ticks.size(), 6);  // 0 to 1 s in steps of 200 ms
    for (int i = 2; i < px.ticks.size(); ++i) {
      QVERIFY(std::abs(px.ticks[i] - 2 * px.ticks[i - 1] + px.ticks[i - 2]) <= 1);
    }
    auto column = [&](double t) { return px.column(t, 1.0); };
    // The thresholds: the two rows with the most grey dashes (a dash, not a solid line).
    QList<QPair<int, int>> greyRows;  // count, row
    const int width = px.ticks[5] - px.ticks[0];
    for (int y = 0; y < px.axis; ++y) {
      int n = 0;
      for (int x = px.ticks[0]; x < px.ticks[5]; ++x) n += px.ink(x, y, PlotPixels::kGrey) ? 1 : 0;
      if (n < width * 0.8) greyRows << qMakePair(n, y);
    }
    std::sort(greyRows.begin(), greyRows.end(), std::greater<>());
    const int upper = std::min(greyRows[0].second, greyRows[1].second);
    const int lower = std::max(greyRows[0].second, greyRows[1].second);
    QVERIFY(greyRows[1].first > 100 && lower > upper + 20);
    auto near = [&](double t, int row) {
      for (int dx = -2; dx <= 2; ++dx) {
        for (int dy = -2; dy <= 2; ++dy) {
          if (px.ink(column(t) + dx, row + dy, PlotPixels::kSet)) return true;
        }
      }
      return false;
    };
    // C1 charges from the lower threshold at 0 to the upper one at t-EIN and back at the period.
    QVERIFY(near(0.0, lower) && near(0.3, upper) && near(0.5, lower) && near(0.8, upper));
    QVERIFY(!near(0.3, lower) && !near(0.5, upper));

    // Both curves are high at 0.1 s and low at 0.4 s; the set falls at 0.3 s and 0.8 s.
    int high = -1, low = -1;
    for (int y = 0; y < upper - 8; ++y) {
      if (high < 0 && px.curve(column(0.1), y)) high = y;
      if (px.curve(column(0.4), y)) low = y;
    }
    QVERIFY(high > 0 && low > high + 20);
    const int middle = (high + low) / 2;
    auto inkAt = [&](double t, QRgb colour) {
      for (int dx = -1; dx <= 1; ++dx) {
        if (px.ink(column(t) + dx, middle, colour)) return true;
      }
      return false;
    };
    QVERIFY(inkAt(0.3, PlotPixels::kSet));
    QVERIFY(inkAt(0.8, PlotPixels::kSet));
    QVERIFY(!inkAt(0.25, PlotPixels::kSet) && !inkAt(0.4, PlotPixels::kSet));
    QVERIFY(!inkAt(0.75, PlotPixels::kSet));
    bool dashed = false;  // the desired curve falls at 0.25 s, dashed
    for (int y = high; y < low; ++y) dashed = dashed || px.ink(column(0.25), y, PlotPixels::kWant);
    QVERIFY(dashed);
    for (double t : {0.285, 0.49, 0.78, 0.97}) {
      QVERIFY2(px.ink(column(t), middle, PlotPixels::kBand), qPrintable(QString::number(t)));
    }
    QVERIFY(px.ink(column(0.4), middle, PlotPixels::kWhite));
    QVERIFY(px.ink(column(0.6), middle, PlotPixels::kWhite));
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
    const auto spread =
        kippwerk::toleranceSpread(set.r1, set.r2, set.c1, defaults().circuit(), 0.01, 0.1);
    QCOMPARE(in<QLabel>(n, "lblNToleranz")->text(),
             underToleranceHeading(kippwerk::toleranceText(spread, 0.6, 0.22)));
    QCOMPARE(in<kippwerk::ui::SignalPicture>(n, "picNSignal")->signal()->edges->at(3),
             spread.edges[3]);
    retype(in(n, "txtNTaus"), "1");
    QVERIFY(in<QLabel>(n, "lblNToleranz")->text().isEmpty());
  }

  // A desired period at the end of the doubles has no representable frequency or duty cycle:
  // those lines say so instead of showing -100 % or an empty bracket.
  void saysWhenASpreadLineHasNoReference() {
    frmKippwerk w;
    frmNormwerte* n = openNormwerte(w);
    apply(*n, {"cmbNFest", "C1", "txtNFest", "1e302", "cmbNFestEinheit", " F", "txtNTaus", "1e308",
               "txtNTein", "1.5e308"});
    QStringList lines = in<QLabel>(n, "lblNToleranz")->text().split(QLatin1Char('\n'));
    QCOMPARE(lines.takeFirst(), QStringLiteral("Bauteiltoleranzen bei 25 °C:"));
    QCOMPARE(lines.size(), 5);
    QVERIFY(lines[0].contains(QLatin1String(" %")) && lines[1].contains(QLatin1String(" %")));
    for (int i = 2; i < 5; ++i) {
      QVERIFY2(lines[i].endsWith(
                   QStringLiteral(" (Sollwert außerhalb des darstellbaren Zahlenbereichs)")),
               qPrintable(lines[i]));
      QVERIFY2(lines[i].count(QLatin1Char('(')) == 1, qPrintable(lines[i]));  // nothing relative
    }
  }

  // The timing page shows times to three decimals of a second: a set of microseconds arrives
  // there as 0 s, and the status line says so after the hand-over.
  void saysWhenTheTimingPageShowsZero_data() {
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QStringList>("zeros");  // the times the timing page shows as 0 s
    QTest::newRow("microseconds") << QStringList{"txtNTaus", "1e-6", "txtNTein", "2e-6"}
                                  << QStringList{"t-EIN", "t-AUS", "t-Periode"};
    QTest::newRow("only t-AUS below half a millisecond")
        << QStringList{"txtNTaus", "4e-4", "txtNTein", "2e-3"} << QStringList{"t-AUS"};
    QTest::newRow("milliseconds") << QStringList{"txtNTaus", "2e-3", "txtNTein", "4e-3"}
                                  << QStringList{};
  }

  void saysWhenTheTimingPageShowsZero() {
    QFETCH(QStringList, edits);
    QFETCH(QStringList, zeros);
    frmKippwerk w;
    frmNormwerte* n = openNormwerte(w);
    apply(*n, edits);
    QVERIFY(in<QLabel>(n, "lblNStatus")->text().isEmpty());
    click(*n, "cmdNUebernehmen");
    const auto& t = w.quantities().times;
    const QMap<QString, double> times{
        {"t-EIN", t.tein}, {"t-AUS", t.taus}, {"t-Periode", t.tperiode}};
    QStringList parts;
    for (const QString& name : zeros) {
      QCOMPARE(kippwerk::roundValue(times[name], 3), 0.0);
      parts << name + " = 0 s (genau " + QString::fromStdString(kippwerk::timeText(times[name])) +
                   ")";
    }
    QCOMPARE(in<QLabel>(n, "lblNStatus")->text(),
             zeros.isEmpty() ? QString()
                             : "Übernommen. Die Seite „Zeiten“ rundet auf drei Nachkommastellen "
                               "und zeigt deshalb " +
                                   parts.join(", ") + ".");
  }

  // With a real diode the hints below the table say how much its reverse current shortens
  // t-AUS, from 1 % on: the Schottky diode's, not the silicon diode's.
  void namesTheReverseCurrentsEffectOnTaus_data() {
    QTest::addColumn<QString>("diode");
    QTest::addColumn<bool>("named");
    QTest::newRow("1N4148") << "1N4148 (Silizium)" << false;
    QTest::newRow("1N5817") << "1N5817 (Schottky)" << true;
    QTest::newRow("ideal") << kIdeal << false;
  }

  void namesTheReverseCurrentsEffectOnTaus() {
    QFETCH(QString, diode);
    QFETCH(bool, named);
    frmKippwerk w;
    frmNormwerte* n = openNormwerte(w);
    apply(*n, {"chkNDiode", "an", "cmbNDiodeTyp", diode});
    const auto& s = n->sets().front();
    const QString line =
        QStringLiteral(
            "Der Sperrstrom der Diode 1N5817 fließt beim Entladen neben R2: t-AUS ist hier um %1 "
            "% kürzer als 0.69 · R2 · C1.")
            .arg(QString::number((1 - s.taus / (0.69 * s.r2 * s.c1)) * 100, 'f', 2));
    QCOMPARE(in<QLabel>(n, "lblNHinweis")->text().contains(QLatin1String("Sperrstrom")), named);
    if (named) QVERIFY(in<QLabel>(n, "lblNHinweis")->text().endsWith(line));
  }

  // Each value the main window offers at an opening is taken over when it changed since the
  // last one, whatever else the user typed here stays.
  void takesOverWhatChangedInTheMainWindow_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("mainEdits");  // on that page of the main window
    QTest::addColumn<QString>("box");            // the control here that follows
    QTest::addColumn<QString>("shown");
    QTest::newRow("t-EIN") << 2 << QStringList{"txtTein", "0.7"} << "txtNTein"
                           << ".7";
    QTest::newRow("t-AUS") << 2 << QStringList{"txtTaus", "0.3"} << "txtNTaus"
                           << ".3";
    QTest::newRow("equal times, the diode") << 2 << QStringList{"chkDiode", "an"} << "chkNDiode"
                                            << "an";
    QTest::newRow("C1's value") << 1 << QStringList{"txtC1", "2.2"} << "txtNFest"
                                << "2.2 uF";
    QTest::newRow("C1's unit") << 1 << QStringList{"cmbC1", "nF"} << "txtNFest"
                               << "4.7 nF";
    QTest::newRow("R2 known") << 1 << QStringList{"optR2", "an"} << "txtNFest"
                              << "68 k Ohm";
    QTest::newRow("R2's value") << 1 << QStringList{"optR2", "an", "txtR2", "33"} << "txtNFest"
                                << "33 k Ohm";
    QTest::newRow("R2's unit") << 1 << QStringList{"optR2", "an", "cmbR2", "M Ohm"} << "txtNFest"
                               << "68 M Ohm";
  }

  void takesOverWhatChangedInTheMainWindow() {
    QFETCH(int, page);
    QFETCH(QStringList, mainEdits);
    QFETCH(QString, box);
    QFETCH(QString, shown);
    frmKippwerk w;
    frmNormwerte* n = openNormwerte(w);
    apply(*n, {"txtNUb", "12"});
    n->close();
    goTo(w, page);
    for (int i = 0; i + 1 < mainEdits.size(); i += 2) {
      if (auto* option = w.findChild<QRadioButton*>(mainEdits[i])) {
        option->click();
      } else {
        apply(w, {mainEdits[i], mainEdits[i + 1]});
      }
    }
    openNormwerte(w);
    QString now;
    if (auto* check = n->findChild<QCheckBox*>(box)) {
      now = check->isChecked() ? QStringLiteral("an") : QStringLiteral("aus");
    } else if (box == QLatin1String("txtNFest")) {
      now = in(n, "txtNFest")->text() + " " + in<QComboBox>(n, "cmbNFestEinheit")->currentText();
    } else {
      now = in(n, qPrintable(box))->text();
    }
    QCOMPARE(now, shown);
    QCOMPARE(in(n, "txtNUb")->text(), QStringLiteral("12"));
  }

  // Each sample of the legend is drawn as what it names: the desired times dashed in the
  // desired colour, the chosen parts solid in theirs, then the band; read right to left as
  // the legend stands, in the real picture.
  void drawsEachLegendSampleAsWhatItNames() {
    SignalPicture picture;
    picture.resize(640, 260);
    const std::array<kippwerk::Spread, 4> edges{
        {{0.28, 0.32}, {0.47, 0.53}, {0.75, 0.85}, {0.95, 1.0}}};
    picture.setSignal(kippwerk::ui::Signal{0.3, 0.2, 0.25, 0.25, edges, {}, 9});
    const PlotPixels px(picture);
    // The legend's row: above the curves, the one with the most chosen-colour pixels; the
    // samples are read on it and the rows beside it, as the pens are 1 to 2 pixels wide.
    const int curvesTop = [&] {
      for (int y = 0; y < px.axis; ++y) {
        if (px.curve(px.column(0.1, 1.0), y)) return y;
      }
      return px.axis;
    }();
    int row = -1, most = 0;
    for (int y = 0; y < curvesTop - 2; ++y) {
      int n = 0;
      for (int x = 0; x < px.image.width(); ++x) n += px.ink(x, y, PlotPixels::kSet) ? 1 : 0;
      if (n > most) most = n, row = y;
    }
    QVERIFY(row >= 0);
    // From the right, inside the frame: the first coloured run is the desired times' sample,
    // dashed, then the chosen parts' solid one; further left the band's.
    QList<QPair<QRgb, int>> runs;  // colour, length
    const QRect inside = picture.contentsRect();
    for (int x = inside.right() - 1; x > inside.left(); --x) {
      QRgb colour = 0;
      for (QRgb c : {PlotPixels::kBand, PlotPixels::kSet, PlotPixels::kWant}) {
        for (int y = row - 1; y <= row + 1; ++y) {
          if (colour == 0 && px.ink(x, y, c)) colour = c;
        }
      }
      if (colour == 0) continue;
      if (runs.isEmpty() || runs.last().first != colour) runs << qMakePair(colour, 0);
      ++runs.last().second;
    }
    QList<QPair<QRgb, int>> lines, bands;
    for (const auto& r : runs) {
      if (r.first == PlotPixels::kBand) {
        if (r.second >= 10) bands << r;
      } else if (lines.isEmpty() || lines.last().first != r.first) {
        lines << r;
      }
    }
    QVERIFY(lines.size() >= 2);
    QCOMPARE(lines[0].first, PlotPixels::kWant);
    QCOMPARE(lines[1].first, PlotPixels::kSet);
    QVERIFY(lines[0].second < lines[1].second);  // a dash of the one, the whole of the other
    QCOMPARE(bands.size(), 1);
  }

  // The chip as built in the shown times: the worked values of each family, the parts held to
  // one set by a fixed C1 and the resistors' range.
  void showsTheChipsWorkedValues_data() {
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("row");  // R1, R2, t-EIN, t-AUS, Frequenz of the first set
    auto edits = [](const char* family, const char* ub, const char* c1, const char* unit,
                    const char* rMin, const char* rMax, const char* tein, const char* taus) {
      return QStringList{"cmbNTyp",  family, "txtNUb",          ub,   "cmbNFest", "C1",
                         "txtNFest", c1,     "cmbNFestEinheit", unit, "txtNRmin", rMin,
                         "cmbNRmin", "Ohm",  "txtNRmax",        rMax, "cmbNRmax", "Ohm",
                         "txtNTaus", taus,   "txtNTein",        tein};
    };
    QTest::newRow("NE555, the switch")
        << edits("NE555 (bipolar)", "9", "10", "nF", "1000", "1000", "14.82e-6", "7.834e-6")
        << "1 k Ohm|1 k Ohm|14.82 us|7.834 us|44.14 kHz";
    QTest::newRow("NE555, the delays")
        << edits("NE555 (bipolar)", "9", "1", "nF", "1000", "2200", "3.015e-6", "2.235e-6")
        << "1 k Ohm|2.2 k Ohm|3.015 us|2.235 us|190.5 kHz";
    QTest::newRow("TLC555 at its data-sheet point")
        << edits("TLC555 (CMOS)", "5", "200", "pF", "200", "470", "286.9e-9", "189.3e-9")
        << "470 Ohm|200 Ohm|286.9 ns|189.3 ns|2.100 MHz";
    QTest::newRow("7555 near its data-sheet point")
        << edits("CMOS (7555)", "5", "200", "pF", "270", "470", "548.4e-9", "454.1e-9")
        << "470 Ohm|270 Ohm|548.4 ns|454.1 ns|997.5 kHz";
    QTest::newRow("NE555 with the 1N4148")
        << QStringList{"chkNDiode", "an"} +
               edits("NE555 (bipolar)", "9", "4.7", "uF", "68000", "150000", "0.5417", "0.2236")
        << "150 k Ohm|68 k Ohm|541.7 ms|223.6 ms|1.307 Hz";
  }

  void showsTheChipsWorkedValues() {
    QFETCH(QStringList, edits);
    QFETCH(QString, row);
    frmKippwerk w;
    frmNormwerte* n = openNormwerte(w);
    apply(*n, edits);
    QStringList shown;
    for (int column : {0, 1, 3, 4, 5}) shown << cell(n, 0, column);
    QCOMPARE(shown.join('|'), row);
  }

  // The surroundings' boxes change only the real spread of the highlighted set; each one
  // recomputes it as the core does, and the largest cause and the pass rate follow.
  void showsTheRealSpreadOfTheHighlightedSet_data() {
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<int>("capacitor");         // index into kCapacitorTypes
    QTest::addColumn<QList<double>>("around");  // T min, T max, Ub +- %, limit +- %
    QTest::newRow("defaults") << QStringList{} << 2 << QList<double>{0, 70, 5, 10};
    QTest::newRow("X7R") << QStringList{"cmbNKondTyp", "Keramik X7R"} << 1
                         << QList<double>{0, 70, 5, 10};
    QTest::newRow("electrolytic") << QStringList{"cmbNKondTyp", "Elko (Aluminium)"} << 4
                                  << QList<double>{0, 70, 5, 10};
    QTest::newRow("T min") << QStringList{"txtNTmin", "-40"} << 2 << QList<double>{-40, 70, 5, 10};
    QTest::newRow("T max") << QStringList{"txtNTmax", "85"} << 2 << QList<double>{0, 85, 5, 10};
    QTest::newRow("supply") << QStringList{"txtNUbTol", "10"} << 2 << QList<double>{0, 70, 10, 10};
    QTest::newRow("limit") << QStringList{"txtNGrenze", "20"} << 2 << QList<double>{0, 70, 5, 20};
    QTest::newRow("with the Schottky diode")
        << QStringList{"chkNDiode", "an", "cmbNDiodeTyp", "1N5817 (Schottky)"} << 2
        << QList<double>{0, 70, 5, 10};
    QTest::newRow("exact supply") << QStringList{"txtNUbTol", "0"} << 2
                                  << QList<double>{0, 70, 0, 10};
    QTest::newRow("the coldest allowed")
        << QStringList{"txtNTmin", "-55"} << 2 << QList<double>{-55, 70, 5, 10};
  }

  // Set before the row is highlighted, the search's inputs; after, the surroundings', which
  // leave the highlight where it is.
  void showsTheRealSpreadOfTheHighlightedSet() {
    QFETCH(QStringList, edits);
    QFETCH(int, capacitor);
    QFETCH(QList<double>, around);
    frmKippwerk w;
    frmNormwerte* n = openNormwerte(w);
    QStringList search, surroundings;
    for (int i = 0; i + 1 < edits.size(); i += 2) {
      const bool here =
          QRegularExpression("Kond|Tmin|Tmax|UbTol|Grenze").match(edits[i]).hasMatch();
      (here ? surroundings : search) << edits[i] << edits[i + 1];
    }
    apply(*n, search);
    auto* table = in<QTableWidget>(n, "tblNormwerte");
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rowCentre(table, 3));
    apply(*n, surroundings);
    QCOMPARE(table->selectionModel()->selectedRows().front().row(), 3);
    QTRY_VERIFY(!in<QLabel>(n, "lblNUmgebung")->text().contains(QStringLiteral("berechnet")));
    const auto& set = n->sets()[3];
    StandardSearch q = defaults();
    q.diode = in<QCheckBox>(n, "chkNDiode")->isChecked();
    q.diodeModel = kippwerk::kDiodes[static_cast<std::size_t>(
        in<QComboBox>(n, "cmbNDiodeTyp")->currentIndex())];
    kippwerk::TimerDesign d;
    d.r1 = set.r1;
    d.r2 = set.r2;
    d.c1 = set.c1;
    d.circuit = q.circuit();
    d.resistorTolerance = 0.05;
    d.capacitorTolerance = 0.1;
    d.error = kippwerk::kChipFamilies[0].astable;
    d.family = kippwerk::kChipFamilies[0];
    const kippwerk::Surroundings s{kippwerk::kCapacitorTypes[static_cast<std::size_t>(capacitor)],
                                   around[0], around[1], around[2] / 100};
    const double limit = around[3] / 100;
    QCOMPARE(in<QLabel>(n, "lblNUmgebung")->text(), realSpreadPanelText(d, s, 0.54, 0.22, limit));
    const auto rate = kippwerk::passRate(d, s, 0.54, 0.22, limit);
    const auto& histogram = in<kippwerk::ui::DeviationHistogram>(n, "picNHistogramm")->deviations();
    QVERIFY(histogram.has_value());
    QCOMPARE(histogram->values, rate->deviations);
    QCOMPARE(histogram->limit, limit);
    // The electrolytic's leakage is a hint of the rows it matters for, and only of those.
    for (int row = 0; row < table->rowCount(); ++row) {
      kippwerk::TimerDesign r = d;
      r.r1 = n->sets()[std::size_t(row)].r1;
      r.r2 = n->sets()[std::size_t(row)].r2;
      r.c1 = n->sets()[std::size_t(row)].c1;
      const auto leak = kippwerk::leakageOf(r, s.capacitor);
      QCOMPARE(cell(n, row, 9).split(QStringLiteral(", ")).contains(QStringLiteral("Leckstrom")),
               leak && leak->matters());
    }
  }

  // The worked case: 150 k, 68 k and 4.7 uF with a 1N4148 at 9 V for 540 ms and 220 ms.
  void showsTheWorkedCasesRealSpread() {
    frmKippwerk w;
    frmNormwerte* n = openNormwerte(w);
    apply(*n, {"chkNDiode", "an", "cmbNFest", "C1", "txtNFest", "4.7", "txtNTein", "0.54"});
    int row = -1;
    for (std::size_t i = 0; i < n->sets().size(); ++i) {
      if (n->sets()[i].r1 == 150e3 && n->sets()[i].r2 == 68e3) row = int(i);
    }
    QVERIFY(row >= 0);
    auto* table = in<QTableWidget>(n, "tblNormwerte");
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rowCentre(table, row));
    QTRY_VERIFY(!in<QLabel>(n, "lblNUmgebung")->text().contains(QStringLiteral("berechnet")));
    const QStringList lines = in<QLabel>(n, "lblNUmgebung")->text().split('\n');
    // With the boards' seed fixed the pass rate is exact.
    QCOMPARE(lines.mid(0, 5),
             (QStringList{"Real (Temperatur, Versorgung, Baustein):",
                          "t-EIN: 436.7 ms … 660.9 ms (-19.13 % … +22.39 %)",
                          "t-AUS: 182.5 ms … 278.0 ms (-17.02 % … +26.35 %)",
                          "Ausbeute: 62.8 % innerhalb ± 10 % bei 0 … 70 °C und Ub ± 5 % (10 000 "
                          "Schaltungen)",
                          "Im Bild zählt jede Schaltung mit ihrer ungünstigsten Ecke; deshalb "
                          "liegen kaum welche nahe 0 %, und die Verteilung hat oft zwei Höcker."}));
    QCOMPARE(lines[5],
             QStringLiteral("Größter Anteil: Kondensator-Toleranz (± 10.00 % der Periode)"));
    // The picture says what it counts, in the same numbers.
    const QString said =
        in<kippwerk::ui::DeviationHistogram>(n, "picNHistogramm")->accessibleDescription();
    QVERIFY2(said.startsWith("Abweichung der ungünstigsten Ecke je Schaltung, 10 000 Schaltungen"),
             qPrintable(said));
  }

  // A box of the surroundings that cannot be used leaves the sets, says why, and the real
  // spread and its histogram stay empty until it can.
  void refusesUnusableSurroundings_data() {
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("status");
    QTest::newRow("T min empty") << QStringList{"txtNTmin", ""}
                                 << "Bitte bei „T min“ einen Wert eingeben.";
    QTest::newRow("T max unreadable")
        << QStringList{"txtNTmax", "7o"}
        << "Bei „T max“ wurde „o“ nicht verstanden; bitte nur eine Zahl eingeben, etwa 1.5 oder "
           "4.7e-6.";
    QTest::newRow("T min above T max")
        << QStringList{"txtNTmin", "80"} << "T min ist größer als T max.";
    QTest::newRow("T max above 125 degrees")
        << QStringList{"txtNTmax", "150"}
        << "Bitte bei „T max“ eine Temperatur von -55 °C bis 125 °C eingeben.";
    QTest::newRow("T min below -55 degrees")
        << QStringList{"txtNTmin", "-60"}
        << "Bitte bei „T min“ eine Temperatur von -55 °C bis 125 °C eingeben.";
    QTest::newRow("negative supply tolerance")
        << QStringList{"txtNUbTol", "-1"} << "Bitte bei „Ub ±“ einen Wert ab 0 eingeben.";
    QTest::newRow("supply tolerance of 100 %")
        << QStringList{"txtNUbTol", "100"} << "Bitte bei „Ub ±“ einen Wert unter 100 eingeben.";
    QTest::newRow("negative limit")
        << QStringList{"txtNGrenze", "-5"} << "Bitte bei „Grenze ±“ einen Wert ab 0 eingeben.";
    QTest::newRow("limit empty") << QStringList{"txtNGrenze", ""}
                                 << "Bitte bei „Grenze ±“ einen Wert eingeben.";
    QTest::newRow("a long unreadable text, cut")
        << QStringList{"txtNTmax", "7" + QString(200, 'o')}
        << "Bei „T max“ wurde „" + QString(30, 'o') +
               "…“ nicht verstanden; bitte nur eine Zahl eingeben, etwa 1.5 oder 4.7e-6.";
    const QString beyond = QStringLiteral(
        "Mit Ub ± %1 % läge die Versorgung bei %2 V bis %3 V; %4 sind %5 V bis %6 V erlaubt. "
        "Bitte bei „Ub ±“ einen kleineren Wert eingeben.");
    QTest::newRow("supply beyond the NE555")
        << QStringList{"txtNUbTol", "99"}
        << beyond.arg("99", "0.09", "17.91", "beim NE555", "4.5", "16");
    QTest::newRow("supply just above the NE555")
        << QStringList{"txtNUb", "16", "txtNUbTol", "0.1"}
        << beyond.arg("0.1", "15.98", "16.02", "beim NE555", "4.5", "16");
    QTest::newRow("supply beyond a CMOS chip")
        << QStringList{"cmbNTyp", "CMOS (7555)", "txtNUbTol", "70"}
        << beyond.arg("70", "2.7", "15.3", "bei CMOS-Typen", "2", "15");
    QTest::newRow("supply beyond the chip with a real diode")
        << QStringList{"chkNDiode", "an", "txtNUbTol", "95"}
        << beyond.arg("95", "0.45", "17.55", "beim NE555", "4.5", "16");
    QTest::newRow("supply beyond the chip with the ideal diode")
        << QStringList{"chkNDiode", "an", "cmbNDiodeTyp", kIdeal, "txtNUbTol", "95"}
        << beyond.arg("95", "0.45", "17.55", "beim NE555", "4.5", "16");
  }

  void refusesUnusableSurroundings() {
    QFETCH(QStringList, edits);
    QFETCH(QString, status);
    frmKippwerk w;
    frmNormwerte* n = openNormwerte(w);
    apply(*n, edits);
    QCOMPARE(in<QLabel>(n, "lblNStatus")->text(), status);
    QCOMPARE(in<QTableWidget>(n, "tblNormwerte")->rowCount(), 10);
    QVERIFY(!in<QLabel>(n, "lblNToleranz")->text().isEmpty());
    QVERIFY(in<QLabel>(n, "lblNUmgebung")->text().isEmpty());
    QVERIFY(!in<kippwerk::ui::DeviationHistogram>(n, "picNHistogramm")->deviations().has_value());
  }

  // The histogram of a known set of boards: half at -2 %, half at +8 %, against +- 5 %: a
  // bar inside the dashed limits in the chosen parts' colour, one beyond in the desired
  // times' colour, nothing between; and a screen reader hears the same.
  void drawsTheHistogramOfAKnownCase() {
    kippwerk::ui::DeviationHistogram picture;
    picture.resize(480, 220);
    std::vector<double> values(1000, -0.02);
    std::fill(values.begin() + 500, values.end(), 0.08);
    picture.setDeviations(kippwerk::ui::Deviations{values, 0.05, 0.5});
    const PlotPixels px(picture);
    QCOMPARE(px.ticks.size(), 9);  // -8 % to +8 % in steps of 2 %
    auto x = [&](double v) {
      return int(std::lround(px.ticks[0] + (v + 0.08) / 0.16 * (px.ticks[8] - px.ticks[0])));
    };
    const int y = px.axis - 20;
    QVERIFY(px.ink(x(-0.02), y, PlotPixels::kSet));
    QVERIFY(px.ink(x(0.08), y, PlotPixels::kWant));
    for (double v : {-0.07, 0.02, 0.065}) QVERIFY(px.ink(x(v), y, PlotPixels::kWhite));
    for (double v : {-0.05, 0.05}) {  // dashed: black and white in turns down the limit
      int black = 0, white = 0;
      for (int row = y - 60; row < y; ++row) {
        const bool on = px.ink(x(v), row, PlotPixels::kBlack) ||
                        px.ink(x(v) + 1, row, PlotPixels::kBlack) ||
                        px.ink(x(v) - 1, row, PlotPixels::kBlack);
        (on ? black : white) += 1;
      }
      QVERIFY2(black > 10 && white > 10, qPrintable(QString::number(v)));
    }
    QCOMPARE(picture.accessibleDescription(),
             QStringLiteral("Abweichung der ungünstigsten Ecke je Schaltung, 1 000 Schaltungen: "
                            "von -2.00 % bis +8.00 %; 50.0 % innerhalb ± 5 %; höchster Balken "
                            "500 Schaltungen. Legende: Grenze gestrichelt, außerhalb rot, "
                            "innerhalb blau."));
  }

  // Boards far apart (the Schottky's reverse current, tenfold between parts, 0.54 s / 0.15 s)
  // spread over the axis instead of piling into one bar.
  void spreadsOneSidedDeviationsOverTheAxis() {
    frmKippwerk w;
    frmNormwerte* n = openNormwerte(w);
    apply(*n, {"chkNDiode", "an", "cmbNDiodeTyp", "1N5817 (Schottky)", "txtNTaus", "0.15"});
    auto* picture = in<kippwerk::ui::DeviationHistogram>(n, "picNHistogramm");
    QTRY_VERIFY(picture->deviations().has_value());
    const auto& values = picture->deviations()->values;
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    QVERIFY2(*high - *low > 0.1, qPrintable(QStringLiteral("%1 %2").arg(*low).arg(*high)));
    const double farthest = std::max(-*low, *high);
    QVERIFY(picture->span() >= farthest && picture->span() < farthest * 1.2);
    picture->resize(480, 220);
    const PlotPixels px(*picture);
    const int y = px.axis - 8;  // just above the axis: every bar reaches down to it
    int bars = 0;
    for (int x = 0; x < px.image.width(); ++x) {
      bars += px.ink(x, y, PlotPixels::kWant) || px.ink(x, y, PlotPixels::kSet) ? 1 : 0;
    }
    // More than the one bar (480 / 41 pixels) they would pile into.
    QVERIFY2(bars > 2 * 480 / kippwerk::ui::DeviationHistogram::kBins,
             qPrintable(QString::number(bars)));
  }

  // Every row gets its pass rate, the highlighted row's with its spread; a new input empties
  // the column at once and fills it anew, and what the first input's boards posted meanwhile
  // never shows.
  void fillsTheRatesAndDropsWhatAnInputLeftBehind() {
    frmKippwerk w;
    frmNormwerte* n = openNormwerte(w);
    auto* tein = in(n, "txtNTein");
    auto* progress = in<QProgressBar>(n, "prgNAusbeute");
    tein->setText(QStringLiteral("0.61"));
    QThread::msleep(300);  // the boards are built and posted, not delivered
    tein->setText(QStringLiteral("0.57"));
    for (int row = 0; row < 10; ++row) QCOMPARE(cell(n, row, 8), QStringLiteral("…"));
    QCOMPARE(progress->value(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(progress->value(), 10, 60000);
    QCOMPARE(progress->maximum(), 10);
    QCOMPARE(in<QLabel>(n, "lblNReihenfolge")->text(), QStringLiteral("Nach Abweichung geordnet."));
    const kippwerk::Surroundings s;
    for (int row = 0; row < 10; ++row) {
      const auto& set = n->sets()[std::size_t(row)];
      StandardSearch q = defaults();
      kippwerk::TimerDesign d;
      d.r1 = set.r1;
      d.r2 = set.r2;
      d.c1 = set.c1;
      d.circuit = q.circuit();
      d.resistorTolerance = 0.05;
      d.capacitorTolerance = 0.1;
      d.error = kippwerk::kChipFamilies[0].astable;
      d.family = kippwerk::kChipFamilies[0];
      const auto rate = kippwerk::passRate(d, s, 0.57, 0.22, 0.1, {.deviations = false});
      QCOMPARE(cell(n, row, 8),
               QString::fromStdString(kippwerk::fixedText(rate->rate * 100, 1)) + " %");
    }
  }

  // "Ausbeute" ranks a hundred candidates by their pass rate: the rows then stand by it, equal
  // rates in the order of their deviation, the first highlighted with its spread; "Abweichung"
  // brings the nominal order back.
  void ranksTheCandidatesByPassRate() {
    frmKippwerk w;
    frmNormwerte* n = openNormwerte(w);
    apply(*n, {"chkNDiode", "an", "cmbNDiodeTyp", "1N5817 (Schottky)"});
    const std::vector<kippwerk::StandardSet> nominal = n->sets();
    apply(*n, {"cmbNSortierung", "Ausbeute"});
    auto* said = in<QLabel>(n, "lblNReihenfolge");
    QVERIFY(said->text().contains(QStringLiteral("der 100 besten Sätze")));
    QTRY_VERIFY_WITH_TIMEOUT(said->text().startsWith(QStringLiteral("Nach Ausbeute")), 120000);
    QCOMPARE(said->text(), QStringLiteral("Nach Ausbeute geordnet: die 10 besten von 100 Sätzen."));
    auto* progress = in<QProgressBar>(n, "prgNAusbeute");
    QCOMPARE(progress->value(), progress->maximum());
    QCOMPARE(progress->maximum(), 100);
    auto rateOf = [n](int row) { return cell(n, row, 8).chopped(2).toDouble(); };
    for (int row = 1; row < 10; ++row) QVERIFY(rateOf(row - 1) >= rateOf(row));
    // The nominal winner is not the one that holds best on the bench.
    QVERIFY(n->sets().front() != nominal.front());
    QTRY_VERIFY(!in<QLabel>(n, "lblNUmgebung")->text().contains(QStringLiteral("berechnet")));
    QVERIFY(in<QLabel>(n, "lblNUmgebung")->text().contains("\nAusbeute: " + cell(n, 0, 8)));
    apply(*n, {"cmbNSortierung", "Abweichung"});
    QCOMPARE(n->sets(), nominal);
  }

  // A picture narrower than an axis label still draws; its labels start at the left edge.
  // (The sanitizer build checks the standard library's preconditions on the way.)
  void drawsAtAnyWidth() {
    for (int width : {1, 24, 60, 200}) {
      SignalPicture picture;
      picture.resize(width, 120);
      picture.setSignal(kippwerk::ui::Signal{0.3, 0.2, 0.25, 0.25, std::nullopt, {}, 9});
      QCOMPARE(picture.grab().width(), width);
    }
  }

  void worksFromTheKeyboard() {
    frmKippwerk w;
    frmNormwerte* n = openNormwerte(w);
    QVERIFY(QTest::qWaitForWindowActive(n));
    const QStringList order{
        "txtNTein",    "txtNTaus",       "chkNDiode",       "cmbNTyp",        "txtNUb",
        "cmbNReiheR",  "cmbNTolR",       "txtNRmin",        "cmbNRmin",       "txtNRmax",
        "cmbNRmax",    "cmbNReiheC",     "cmbNTolC",        "txtNCmin",       "cmbNCmin",
        "txtNCmax",    "cmbNCmax",       "cmbNKondTyp",     "txtNTmin",       "txtNTmax",
        "txtNUbTol",   "txtNGrenze",     "cmbNFest",        "cmbNSortierung", "tblNormwerte",
        "cmdNEntwurf", "cmdNNachmessen", "cmdNUebernehmen", "cmdNSchliessen"};
    const TabWalk tabs = walkTabs(in(n, "txtNTein"), order.size());
    QCOMPARE(tabs.walked, order);  // the fixed value is skipped while nothing is fixed
    QVERIFY2(tabs.unnamed.isEmpty(), qPrintable(tabs.unnamed.join(", ")));

    // Ctrl+C copies the row, its spread and, once the boards are built, its real spread.
    QTRY_VERIFY(!in<QLabel>(n, "lblNUmgebung")->text().contains(QStringLiteral("wird berechnet")));
    in<QTableWidget>(n, "tblNormwerte")->setFocus();
    QTest::keyClick(in<QTableWidget>(n, "tblNormwerte"), Qt::Key_C, Qt::ControlModifier);
    // The highlighted row's rate came with its real spread.
    const QString rate = cell(n, 0, 8);
    QVERIFY2(in<QLabel>(n, "lblNUmgebung")->text().contains("\nAusbeute: " + rate + " innerhalb"),
             qPrintable(rate));
    QCOMPARE(QApplication::clipboard()->text(),
             QStringLiteral("R1\tR2\tC1\tt-EIN\tt-AUS\tFrequenz\tΔ t-EIN\tΔ t-AUS\tAusbeute\t"
                            "Hinweise\n100 k Ohm\t68 k Ohm\t4.7 uF\t547.5 ms\t223.7 ms\t1.297 Hz\t"
                            "+1.39 %\t+1.67 %\t") +
                 rate + "\t\n" + in<QLabel>(n, "lblNToleranz")->text() + "\n" +
                 in<QLabel>(n, "lblNUmgebung")->text());
    QVERIFY(in<QLabel>(n, "lblNToleranz")->text().contains(QStringLiteral("\nTastgrad: ")));
    QVERIFY(in<QLabel>(n, "lblNUmgebung")->text().contains(QStringLiteral("\nAusbeute: ")));

    QTest::keyClick(in(n, "txtNTaus"), Qt::Key_Return);
    QVERIFY(n->isVisible());
    QTest::keyClick(in(n, "txtNTaus"), Qt::Key_Escape);
    QVERIFY(!n->isVisible());
  }
};

QTEST_MAIN(NormwerteTest)
#include "normwerte_test.moc"
