// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The remeasuring window through its object names: opened from the menu and from the rows of
// the standard-values and monoflop windows, every box recomputing against the core, the status
// line of each refused box, the warning lines, and the worked case's table and trimmers.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

#include "core/remeasure.h"
#include "core/standardsearch.h"
#include "ui/pictures/measurepicture.h"
#include "ui/windows/frmMonoflop.h"
#include "ui/windows/frmNachmessen.h"
#include "ui/windows/frmNormwerte.h"
#include "ui_support.h"

using namespace kippwerk::testing;
using kippwerk::ui::frmNachmessen;

namespace {

frmNachmessen* openNachmessen(const frmKippwerk& w) {
  action(w, "mnuNachmessen")->trigger();
  return child<frmNachmessen>(w, QStringLiteral("frmNachmessen"));
}

// The worked board's diode and what was measured on it.
const QStringList kMeasured{"chkADiode", "an", "txtAMessEin", "0.515", "txtAMessAus", "0.205"};

QString cell(const QWidget* a, int row, int column) {
  return cellText(in<QTableWidget>(a, "tblNachmessen"), row, column);
}

QString text(const QWidget* a, const char* label) {
  return in<QLabel>(a, label)->text();
}

// What the window should show for its defaults changed by `change`: 150 k, 68 k, 4.7 uF with a
// 1N4148 at 9 V (ticked), NE555, measured 515 ms and 205 ms, wanted 540 ms and 220 ms, E24 at
// 5 % from 1 k to 10 M Ohm.
struct Case {
  kippwerk::Circuit circuit{true, kippwerk::kDiodes[0], 9};
  double r1 = 150e3, r2 = 68e3, tein = 0.515, taus = 0.205, wantTein = 0.54, wantTaus = 0.22;
  kippwerk::Series series = kippwerk::Series::E24;
  double tolerance = 0.05, rMin = 1e3, rMax = 10e6;

  kippwerk::StandardSets sets(double& k) const {
    kippwerk::Circuit c = circuit;
    c.chip = kippwerk::kChipFamilies[0].chip(c.ub);
    const auto r = kippwerk::readAstable(c, r1, r2, tein, taus).value();
    k = r.k;
    kippwerk::StandardSearch q{wantTein / r.k, wantTaus, c.diode, series, rMin, rMax};
    q.diodeModel = c.model;
    q.ub = c.ub;
    q.chip = c.chip;
    q.fixed = kippwerk::FixedPart::C1;
    q.fixedValue = r.c1eff;
    q.resistorTolerance = tolerance;
    return kippwerk::searchStandardSets(q);
  }
};

}  // namespace

Q_DECLARE_METATYPE(Case)

// Empty measured boxes, a status line that asks for them, and no result, row or trimmer.
void checkNothingDiagnosed(const frmNachmessen* a) {
  for (const char* box : {"txtAMessEin", "txtAMessAus", "txtAMessF", "txtAMessTg"}) {
    QVERIFY2(in(a, box)->text().isEmpty(), box);
  }
  QVERIFY2(text(a, "lblAStatus").startsWith("Bitte eingeben, was am Aufbau gemessen wurde: "),
           qPrintable(text(a, "lblAStatus")));
  QVERIFY(text(a, "lblAErgebnis").isEmpty() && text(a, "lblATrimmer").isEmpty());
  QCOMPARE(in<QTableWidget>(a, "tblNachmessen")->rowCount(), 0);
}

class NachmessenTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { pinTestEnvironment(); }

  // Made on first use from the menu, the same window again, Escape closes it.
  void opensFromTheMenu() {
    frmKippwerk w;
    QVERIFY(showActive(w));
    QVERIFY(w.findChildren<frmNachmessen*>().isEmpty());
    frmNachmessen* a = openNachmessen(w);
    QVERIFY(QTest::qWaitForWindowActive(a));
    QCOMPARE(a->windowTitle(), QStringLiteral("Nachmessen – Unbenannt[*]"));
    QCOMPARE(openNachmessen(w), a);
    QCOMPARE(w.findChildren<frmNachmessen*>().size(), 1);
    QTRY_COMPARE(QApplication::activeWindow(), a);  // activations arrive late offscreen
    QTest::keyClick(in(a, "txtAMessEin"), Qt::Key_Escape);
    QVERIFY(!a->isVisible());
  }

  // Tab walks the groups top to bottom, the resistors' row, the table and Schließen; the
  // greyed frequency boxes are skipped.
  void worksFromTheKeyboard() {
    frmKippwerk w;
    frmNachmessen* a = openNachmessen(w);
    QVERIFY(QTest::qWaitForWindowActive(a));
    const QStringList order{
        "optAAstabil", "txtAR1",     "cmbAR1",        "txtAR2",      "cmbAR2",
        "txtAC1",      "cmbAC1",     "chkADiode",     "cmbATyp",     "txtAUb",
        "cmbAKondTyp", "optAZeiten", "txtAMessEin",   "txtAMessAus", "txtASollEin",
        "txtASollAus", "cmbAReiheR", "cmbATolR",      "txtARmin",    "cmbARmin",
        "txtARmax",    "cmbARmax",   "tblNachmessen", "cmdAEntwurf", "cmdASchliessen"};
    const TabWalk tabs = walkTabs(in<QRadioButton>(a, "optAAstabil"), order.size());
    QCOMPARE(tabs.walked, order);
    QVERIFY2(tabs.unnamed.isEmpty(), qPrintable(tabs.unnamed.join(", ")));
  }

  // The worked case: what C1 acts like, t-EIN's factor, the best row and both trimmers.
  void showsTheWorkedCase() {
    frmKippwerk w;
    frmNachmessen* a = openNachmessen(w);
    apply(*a, {"chkADiode", "an", "txtAMessEin", "0.515", "txtAMessAus", "0.205"});
    QCOMPARE(text(a, "lblAErgebnis"),
             QStringLiteral("C1 wirkt wie 4.308 uF (-8.33 % gegenüber 4.7 uF).\n"
                            "t-EIN ist 3.72 % länger als mit diesem C1 berechnet (496.5 ms)."));
    QStringList best;
    for (int column = 0; column < 6; ++column) best << cell(a, 0, column);
    QCOMPARE(best,
             (QStringList{"160 k Ohm", "75 k Ohm", "549.0 ms", "226.1 ms", "+1.67 %", "+2.77 %"}));
    QCOMPARE(text(a, "lblATrimmer"),
             QStringLiteral(
                 "R1 = 130 k Ohm + Trimmer 50 k Ohm (130 k Ohm … 180 k Ohm, nötig 157.3 k Ohm)\n"
                 "R2 = 68 k Ohm + Trimmer 20 k Ohm (68 k Ohm … 88 k Ohm, nötig 72.98 k Ohm)"));
    QVERIFY(text(a, "lblAStatus").isEmpty());
    const auto& m = in<kippwerk::ui::MeasurePicture>(a, "picASignal")->measurement();
    QVERIFY(m.has_value() && m->predicted.has_value());
    QCOMPARE(m->measuredOn, 0.515);
    QCOMPARE(m->wantOff, 0.22);
    QCOMPARE(m->predicted->second, a->sets().front().taus);
  }

  // Every box recomputes: the table is the core's answer for what the boxes say.
  void recomputesOnEveryBox_data() {
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<Case>("want");
    auto row = [](const char* tag, const QStringList& edits, auto change) {
      Case c;
      change(c);
      QTest::newRow(tag) << (kMeasured + edits) << c;
    };
    row("defaults", {}, [](Case&) {});
    row("R1", {"txtAR1", "120"}, [](Case& c) { c.r1 = 120e3; });
    row("R1's unit", {"txtAR1", "0.15", "cmbAR1", "M Ohm"}, [](Case&) {});
    row("R2", {"txtAR2", "56"}, [](Case& c) { c.r2 = 56e3; });
    row("C1 takes no part", {"txtAC1", "5.6"}, [](Case&) {});
    row("no diode", {"chkADiode", "aus"}, [](Case& c) { c.circuit.diode = false; });
    row("Schottky", {"cmbADiodeTyp", "1N5817 (Schottky)"},
        [](Case& c) { c.circuit.model = kippwerk::kDiodes[2]; });
    row("supply", {"txtAUb", "12"}, [](Case& c) { c.circuit.ub = 12; });
    row("measured t-EIN", {"txtAMessEin", "0.5"}, [](Case& c) { c.tein = 0.5; });
    row("measured t-AUS", {"txtAMessAus", "0.21"}, [](Case& c) { c.taus = 0.21; });
    row("frequency and duty cycle", {"optAFrequenz", "an", "txtAMessF", "1.25", "txtAMessTg", "70"},
        [](Case& c) {
          c.tein = 0.7 / 1.25;
          c.taus = (1 - 0.7) / 1.25;
        });
    row("wanted t-EIN", {"txtASollEin", "0.6"}, [](Case& c) { c.wantTein = 0.6; });
    row("wanted t-AUS", {"txtASollAus", "0.3"}, [](Case& c) { c.wantTaus = 0.3; });
    row("series", {"cmbAReiheR", "E96"}, [](Case& c) {
      c.series = kippwerk::Series::E96;
      c.tolerance = 0.01;
    });
    row("tolerance", {"cmbATolR", "± 2 %"}, [](Case& c) { c.tolerance = 0.02; });
    row("R min", {"txtARmin", "100"}, [](Case& c) { c.rMin = 100e3; });
    row("R max", {"txtARmax", "200", "cmbARmax", "k Ohm"}, [](Case& c) { c.rMax = 200e3; });
  }

  void recomputesOnEveryBox() {
    QFETCH(QStringList, edits);
    QFETCH(Case, want);
    frmKippwerk w;
    frmNachmessen* a = openNachmessen(w);
    apply(*a, edits);
    double k = 0;
    const auto sets = want.sets(k);
    QVERIFY(sets.ok());
    QVERIFY(a->sets() == sets.value());
    QCOMPARE(a->k(), k);
    QCOMPARE(cell(a, 0, 2), QString::fromStdString(kippwerk::timeText(k * sets.value()[0].tein)));
    QCOMPARE(cell(a, 0, 5), QString::fromStdString(kippwerk::percentText(sets.value()[0].devTaus)));
  }

  // What the window cannot use it names in its status line; the table and the picture stay
  // empty and nothing shows inf, NaN or 0 Hz.
  void namesTheBoxItCannotUse_data() {
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("status");
    const QString zero = QStringLiteral("Bitte bei „%1“ einen Wert größer als 0 eingeben.");
    QTest::newRow("R1 empty") << QStringList{"txtAR1", ""} << zero.arg("R1");
    QTest::newRow("R2 zero") << QStringList{"txtAR2", "0"} << zero.arg("R2");
    QTest::newRow("C1 negative") << QStringList{"txtAC1", "-4.7"} << zero.arg("C1");
    QTest::newRow("C1 with a comma") << QStringList{"txtAC1", "4,7"}
                                     << "Bitte bei „C1“ den Dezimalpunkt verwenden: 4.7 statt 4,7.";
    QTest::newRow("supply beyond the NE555's")
        << QStringList{"txtAUb", "20"}
        << "Die Betriebsspannung muss beim NE555 zwischen 4.5 V und 16 V liegen.";
    QTest::newRow("measured t-EIN empty")
        << QStringList{"txtAMessEin", ""}
        << "Bitte eingeben, was am Aufbau gemessen wurde: „t-EIN gemessen“.";
    QTest::newRow("nothing measured")
        << QStringList{"txtAMessEin", "", "txtAMessAus", ""}
        << "Bitte eingeben, was am Aufbau gemessen wurde: „t-EIN gemessen“ und „t-AUS gemessen“.";
    QTest::newRow("frequency form, nothing measured")
        << QStringList{"optAFrequenz", ""}
        << "Bitte eingeben, was am Aufbau gemessen wurde: „f“ und „Tastgrad“.";
    QTest::newRow("measured t-AUS zero")
        << QStringList{"txtAMessAus", "0"} << zero.arg("t-AUS gemessen");
    QTest::newRow("frequency zero")
        << QStringList{"optAFrequenz", "", "txtAMessF", "0", "txtAMessTg", "70"} << zero.arg("f");
    QTest::newRow("duty cycle 100 %")
        << QStringList{"optAFrequenz", "", "txtAMessF", "1.389", "txtAMessTg", "100"}
        << "Bitte bei „Tastgrad“ einen Wert zwischen 0 und 100 eingeben, beide ausgenommen.";
    QTest::newRow("duty cycle 0 %")
        << QStringList{"optAFrequenz", "", "txtAMessF", "1.389", "txtAMessTg", "0"}
        << "Bitte bei „Tastgrad“ einen Wert zwischen 0 und 100 eingeben, beide ausgenommen.";
    // Each refusal names the implausible box and what helps in this window.
    const QString measured = QStringLiteral(
        "Der Messwert bei „%1“ passt nicht zu diesen Bauteilen, die etwa %2 ergeben; bitte den "
        "Messwert prüfen.");
    QTest::newRow("R2 of 1e-300 k Ohm")
        << QStringList{"txtAR2", "1e-300"}
        << "Bei „R2“ steht kein glaubhafter Widerstand (1 Ohm bis 1000 M Ohm); bitte den "
           "aufgebauten Wert eingeben.";
    QTest::newRow("R1 of 999999999999 k Ohm")
        << QStringList{"txtAR1", "999999999999"}
        << "Bei „R1“ steht kein glaubhafter Widerstand (1 Ohm bis 1000 M Ohm); bitte den "
           "aufgebauten Wert eingeben.";
    QTest::newRow("measured t-AUS of 999999999999 s")
        << QStringList{"txtAMessAus", "999999999999"} << measured.arg("t-AUS gemessen", "223.6 ms");
    QTest::newRow("frequency of 1e-300 Hz")
        << QStringList{"optAFrequenz", "", "txtAMessF", "1e-300", "txtAMessTg", "71.5"}
        << measured.arg("f", "1.307 Hz");
    QTest::newRow("duty cycle of 1e-300 %")
        << QStringList{"optAFrequenz", "", "txtAMessF", "1.389", "txtAMessTg", "1e-300"}
        << measured.arg("Tastgrad", "70.8 %");
    QTest::newRow("wanted t-EIN negative")
        << QStringList{"txtASollEin", "-1"} << zero.arg("t-EIN gewünscht");
    QTest::newRow("wanted t-AUS empty")
        << QStringList{"txtASollAus", ""} << zero.arg("t-AUS gewünscht");
    QTest::newRow("R min above R max")
        << QStringList{"txtARmin", "20", "cmbARmin", "M Ohm"} << "R min ist größer als R max.";
    // The Schottky diode's reverse current caps t-AUS with this C1 near 0.41 s at 9 V.
    QTest::newRow("t-AUS beyond the Schottky's reach")
        << QStringList{"cmbADiodeTyp", "1N5817 (Schottky)", "txtASollAus", "5"}
        << "Kein Widerstand R2 erreicht mit diesem C1 das gewünschte t-AUS; bitte bei „t-AUS "
           "gewünscht“ eine kürzere Zeit eingeben.";
    QTest::newRow("t-EIN below what R2 leaves")
        << QStringList{"chkADiode", "aus", "txtASollEin", "0.1"}
        << "Kein Widerstand R1 erreicht mit diesem C1 und R2 das gewünschte t-EIN; bitte bei "
           "„t-EIN gewünscht“ eine längere Zeit eingeben.";
    // R1 of an ohm or so: the switch cannot pull pin 7 low enough for C1 to discharge.
    QTest::newRow("no resistor in range comes near")
        << QStringList{"txtARmin", "1", "cmbARmin", "Ohm", "txtARmax", "1.2", "cmbARmax", "Ohm"}
        << "Mit diesen Bereichen kommt keine Kombination auch nur annähernd an die gewünschten "
           "Zeiten heran; bitte die Bereiche anpassen.";
  }

  void namesTheBoxItCannotUse() {
    QFETCH(QStringList, edits);
    QFETCH(QString, status);
    frmKippwerk w;
    frmNachmessen* a = openNachmessen(w);
    apply(*a, kMeasured + edits);  // a check box's second click clears it
    QCOMPARE(text(a, "lblAStatus"), status);
    QCOMPARE(in<QTableWidget>(a, "tblNachmessen")->rowCount(), 0);
    QVERIFY(!in<kippwerk::ui::MeasurePicture>(a, "picASignal")->measurement().has_value());
    QVERIFY(text(a, "lblATrimmer").isEmpty());
    for (const QLabel* l : a->findChildren<QLabel*>()) {
      QVERIFY2(!l->text().contains(QLatin1String("inf")) &&
                   !l->text().contains(QLatin1String("nan")) &&
                   !l->text().contains(QLatin1String(" 0 Hz")),
               qPrintable(l->text()));
    }
  }

  // Where the measurement does not fit the parts, a line names what to suspect.
  void warnsWhereTheMeasurementDoesNotFit_data() {
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("line");  // the last line of what the window says
    QTest::newRow("C1 acts like a third")
        << QStringList{"txtAMessAus", "0.07"}
        << "Das gemessene t-AUS passt nicht zu C1 = 4.7 uF: ist C1 richtig bestückt, stimmt der "
           "Messwert?";
    QTest::newRow("t-EIN as long as the first period")
        << QStringList{"txtAMessEin", "0.8"}
        << "t-EIN ist 1.61-mal so lang wie berechnet: Wurde die erste Periode gemessen? Sie lädt "
           "C1 "
           "von 0 V an und dauert etwa 1.58-mal so lang. Sonst R1, die Diode und Ub prüfen.";
    QTest::newRow("t-EIN far too short")
        << QStringList{"txtAMessEin", "0.25"}
        << "t-EIN ist 0.50-mal so lang wie berechnet: R1, die Diode und Ub prüfen.";
    QTest::newRow("the Schottky diode")
        << QStringList{"cmbADiodeTyp", "1N5817 (Schottky)"}
        << "Mit der Schottky-Diode 1N5817 gilt das Ergebnis nur bei der Temperatur und der "
           "Versorgung der Messung: ihr Sperrstrom hängt stark von beiden ab.";
    // The capacitor's type chosen last: the list recomputes at once.
    QTest::newRow("an electrolytic with R2 above 1 M Ohm")
        << QStringList{"txtAR2", "1.5", "cmbAR2", "M Ohm", "cmbAKondTyp", "Elko (Aluminium)"}
        << "Mit einem Elko und R2 über 1 M Ohm gilt das Ergebnis nur bei der Temperatur und der "
           "Versorgung der Messung: sein Leckstrom hängt stark von beiden ab.";
  }

  void warnsWhereTheMeasurementDoesNotFit() {
    QFETCH(QStringList, edits);
    QFETCH(QString, line);
    frmKippwerk w;
    frmNachmessen* a = openNachmessen(w);
    apply(*a, kMeasured + edits);
    QVERIFY2(text(a, "lblAErgebnis").split('\n').contains(line),
             qPrintable(text(a, "lblAErgebnis")));
  }

  // Each window's button brings its highlighted row, its circuit and its desired time(s), and
  // nothing measured: until the board's own values are typed, nothing is diagnosed.
  void takesOverTheRowOfEachWindow() {
    frmKippwerk w;
    frmNachmessen* fromMenu = openNachmessen(w);
    checkNothingDiagnosed(fromMenu);
    apply(*fromMenu, {"txtAMessEin", "0.515", "txtAMessAus", "0.205"});
    QVERIFY(!text(fromMenu, "lblAErgebnis").isEmpty());
    action(w, "mnuNormwerte")->trigger();
    auto* n = child<kippwerk::ui::frmNormwerte>(w, QStringLiteral("frmNormwerte"));
    apply(*n, {"chkNDiode", "an", "cmbNDiodeTyp", "1N4001 (Gleichrichter)", "txtNUb", "12",
               "cmbNKondTyp", "Keramik C0G", "txtNTaus", "0.4e-3", "txtNTein", "1e-3"});
    auto* table = in<QTableWidget>(n, "tblNormwerte");
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualRect(table->model()->index(2, 0)).center());
    click(*n, "cmdNNachmessen");
    auto* a = child<frmNachmessen>(w, QStringLiteral("frmNachmessen"));
    QVERIFY(a->isVisible());
    QVERIFY(in<QRadioButton>(a, "optAAstabil")->isChecked());
    QCOMPARE(in<QLabel>(a, "lblAMessEin")->text(), QStringLiteral("t-&EIN ="));
    QCOMPARE(in<QLabel>(a, "lblASollEin")->text(), QStringLiteral("Soll t-E&IN ="));
    auto shown = [&](const char* box, const char* units) {
      return in(a, box)->text() + " " + in<QComboBox>(a, units)->currentText().trimmed();
    };
    QCOMPARE(shown("txtAR1", "cmbAR1"), cellText(table, 2, 0));
    QCOMPARE(shown("txtAR2", "cmbAR2"), cellText(table, 2, 1));
    QCOMPARE(shown("txtAC1", "cmbAC1"), cellText(table, 2, 2));
    QVERIFY(in<QCheckBox>(a, "chkADiode")->isChecked());
    QVERIFY(in<QComboBox>(a, "cmbADiodeTyp")->isEnabled());
    QCOMPARE(in<QComboBox>(a, "cmbADiodeTyp")->currentText(),
             QStringLiteral("1N4001 (Gleichrichter)"));
    QCOMPARE(in(a, "txtAUb")->text(), QStringLiteral("12"));
    QCOMPARE(in<QComboBox>(a, "cmbAKondTyp")->currentText(), QStringLiteral("Keramik C0G"));
    QCOMPARE(in(a, "txtASollEin")->text(), QStringLiteral("0.001"));
    QCOMPARE(in(a, "txtASollAus")->text(), QStringLiteral("0.0004"));
    checkNothingDiagnosed(a);

    action(w, "mnuMonoflop")->trigger();
    auto* m = child<kippwerk::ui::frmMonoflop>(w, QStringLiteral("frmMonoflop"));
    apply(*m, {"cmbMTyp", "CMOS (7555)", "txtMUb", "5", "txtMT", "0.25"});
    click(*m, "cmdMNachmessen");
    QVERIFY(in<QRadioButton>(a, "optAMonoflop")->isChecked());
    QCOMPARE(shown("txtAR1", "cmbAR1"), cellText(in<QTableWidget>(m, "tblMonoflop"), 0, 0));
    QCOMPARE(shown("txtAC1", "cmbAC1"), cellText(in<QTableWidget>(m, "tblMonoflop"), 0, 1));
    QCOMPARE(in<QComboBox>(a, "cmbATyp")->currentText(), QStringLiteral("CMOS (7555)"));
    QCOMPARE(in(a, "txtAUb")->text(), QStringLiteral("5"));
    QCOMPARE(in(a, "txtASollEin")->text(), QStringLiteral("0.25"));
    checkNothingDiagnosed(a);
    // Both kinds name their times alike: as measured plainly, as wanted with "Soll".
    QCOMPARE(in<QLabel>(a, "lblAR1")->text(), QStringLiteral("&R ="));
    QCOMPARE(in<QLabel>(a, "lblAMessEin")->text(), QStringLiteral("&t ="));
    QCOMPARE(in<QLabel>(a, "lblASollEin")->text(), QStringLiteral("So&ll t ="));
    QVERIFY(!in(a, "txtAR2")->isEnabled() && !in<QCheckBox>(a, "chkADiode")->isEnabled());
    QVERIFY(!in(a, "txtAMessAus")->isVisible() && !in(a, "txtASollAus")->isVisible());
    // A monoflop's pulse: t as measured against the wanted one, the table in R and t.
    apply(*a, {"txtAMessEin", "0.24"});
    QCOMPARE(in<QTableWidget>(a, "tblNachmessen")->columnCount(), 4);
    QVERIFY(text(a, "lblAErgebnis").startsWith(QStringLiteral("C1 wirkt wie ")));
    QVERIFY(text(a, "lblATrimmer").startsWith(QStringLiteral("R = ")));
    QVERIFY(!a->pairs().empty());
    QCOMPARE(cell(a, 0, 1), QString::fromStdString(kippwerk::timeText(a->pairs().front().t)));
    // The picture follows the highlighted row.
    auto* results = in<QTableWidget>(a, "tblNachmessen");
    QTest::mouseClick(results->viewport(), Qt::LeftButton, {},
                      results->visualRect(results->model()->index(2, 0)).center());
    QCOMPARE(in<kippwerk::ui::MeasurePicture>(a, "picASignal")->measurement()->predicted->first,
             a->pairs()[2].t);
  }

  // The trimmer lines: from R min and the chip's minimum on, up to the 5 M Ohm trimmer; the
  // status line says every reach in measured terms and offers only what this window has.
  void showsTrimmersAndReach_data() {
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("trimmers");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("firstRow");  // R1 (R) and t-EIN (t) of the first row
    QTest::newRow("worked case")
        << kMeasured
        << "R1 = 130 k Ohm + Trimmer 50 k Ohm (130 k Ohm … 180 k Ohm, nötig 157.3 k Ohm)\n"
           "R2 = 68 k Ohm + Trimmer 20 k Ohm (68 k Ohm … 88 k Ohm, nötig 72.98 k Ohm)"
        << ""
        << "160 k Ohm 549.0 ms";
    QTest::newRow("monoflop beyond 1 M Ohm")
        << QStringList{"optAMonoflop", "",  "txtAR1",      "2.7",  "cmbAR1",      "M Ohm",
                       "txtAC1",       "1", "txtAMessEin", "2.97", "txtASollEin", "3.3"}
        << "R = 2.7 M Ohm + Trimmer 1 M Ohm (2.7 M Ohm … 3.7 M Ohm, nötig 2.996 M Ohm)"
        << ""
        << "3 M Ohm 3.304 s";
    QTest::newRow("milliseconds typed as seconds")
        << (kMeasured + QStringList{"txtAMessEin", "515", "txtAMessAus", "205"})
        << "R1: nötig 145.3 Ohm; mit einem Festwiderstand ab R min = 1 k Ohm ist das nicht zu "
           "erreichen.\n"
           "R2: nötig 54.24 Ohm; mit einem Festwiderstand ab R min = 1 k Ohm ist das nicht zu "
           "erreichen."
        << "Die Bereiche reichen erst ab t-AUS = 3.042 s; R min verringern."
        << "2 k Ohm 7.224 s";
    QTest::newRow("below the chip's minimum")
        << (kMeasured + QStringList{"txtAMessEin", "515", "txtAMessAus", "205", "txtARmin", "10",
                                    "cmbARmin", "Ohm"})
        << "R1: nötig 145.3 Ohm; mit einem Festwiderstand ab 1 k Ohm (kleinster Wert für R1 beim "
           "NE555) ist das nicht zu erreichen.\n"
           "R2 = 51 Ohm + Trimmer 100 Ohm (51 Ohm … 151 Ohm, nötig 54.24 Ohm)"
        << ""
        << "150 Ohm 557.2 ms";
    QTest::newRow("reach with t-EIN's factor")
        << (kMeasured + QStringList{"cmbAReiheR", "E6", "txtARmax", "68", "cmbARmax", "k Ohm",
                                    "txtARmin", "68"})
        << "R1 = 100 k Ohm + Trimmer 100 k Ohm (100 k Ohm … 200 k Ohm, nötig 157.3 k Ohm)\n"
           "R2: nötig 72.98 k Ohm; mit einem Festwiderstand ab R min = 68 k Ohm ist das nicht zu "
           "erreichen."
        << "Die Bereiche reichen nur bis t-EIN = 236.1 ms; R max erhöhen."
        << "68 k Ohm 236.1 ms";
    QTest::newRow("coarse series, nothing fixed to free")
        << (kMeasured +
            QStringList{"cmbAReiheR", "E6", "txtASollEin", "0.3", "txtASollAus", "0.12"})
        << ""
        << "Keine Kombination kommt auf 10 % an die gewünschten Zeiten heran: die Reihen "
           "sind dafür zu grob; bitte eine feinere Reihe wählen."
        << "";
  }

  void showsTrimmersAndReach() {
    QFETCH(QStringList, edits);
    QFETCH(QString, trimmers);
    QFETCH(QString, status);
    QFETCH(QString, firstRow);
    frmKippwerk w;
    frmNachmessen* a = openNachmessen(w);
    apply(*a, edits);
    if (!trimmers.isEmpty()) QCOMPARE(text(a, "lblATrimmer"), trimmers);
    QCOMPARE(text(a, "lblAStatus"), status);
    const int time = a->pairs().empty() ? 2 : 1;  // t-EIN, or a monoflop's t
    if (!firstRow.isEmpty()) QCOMPARE(cell(a, 0, 0) + " " + cell(a, 0, time), firstRow);
  }

  // The measured signal has a pen of its own, grey and wide as the legend says; the desired one
  // is dashed red and the row's solid blue.
  void drawsTheMeasuredSignalInGrey() {
    frmKippwerk w;
    frmNachmessen* a = openNachmessen(w);
    apply(*a, kMeasured);
    auto* picture = in<kippwerk::ui::MeasurePicture>(a, "picASignal");
    picture->resize(560, 220);
    const PlotPixels px(*picture);
    // The measured edges stand apart from the others: grey columns that run most of the way
    // up, in groups as wide as the pen.
    QList<int> edges;
    for (int x = 0; x < px.image.width(); ++x) {
      int run = 0, longest = 0;
      for (int y = 0; y < px.image.height(); ++y) {
        run = px.ink(x, y, PlotPixels::kGrey) ? run + 1 : 0;
        longest = std::max(longest, run);
      }
      if (longest > px.image.height() / 3) edges << x;
    }
    QVERIFY2(edges.size() >= 4 * 4, qPrintable(QString::number(edges.size())));
    int widest = 0, width = 0;
    for (int i = 0; i < edges.size(); ++i) {
      width = i > 0 && edges[i] == edges[i - 1] + 1 ? width + 1 : 1;
      widest = std::max(widest, width);
    }
    QVERIFY2(widest >= 3 && widest <= 6, qPrintable(QString::number(widest)));
    bool set = false, want = false;
    for (int x = 0; x < px.image.width(); ++x) {
      for (int y = 0; y < px.image.height(); ++y) {
        set = set || px.ink(x, y, PlotPixels::kSet);
        want = want || px.ink(x, y, PlotPixels::kWant);
      }
    }
    QVERIFY(set && want);
  }
};

QTEST_MAIN(NachmessenTest)
#include "nachmessen_test.moc"
