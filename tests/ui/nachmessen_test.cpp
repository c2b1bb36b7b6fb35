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
#include "ui/frmMonoflop.h"
#include "ui/frmNachmessen.h"
#include "ui/frmNormwerte.h"
#include "ui/measurepicture.h"
#include "ui_support.h"

using namespace kippwerk::testing;
using kippwerk::ui::frmNachmessen;

namespace {

frmNachmessen* openNachmessen(const frmKippwerk& w) {
  action(w, "mnuNachmessen")->trigger();
  return child<frmNachmessen>(w, QStringLiteral("frmNachmessen"));
}

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
    const auto r = kippwerk::readAstable(circuit, r1, r2, tein, taus).value();
    k = r.k;
    kippwerk::StandardSearch q{wantTein / r.k, wantTaus, circuit.diode, series, rMin, rMax};
    q.diodeModel = circuit.model;
    q.ub = circuit.ub;
    q.fixed = kippwerk::FixedPart::C1;
    q.fixedValue = r.c1eff;
    q.resistorTolerance = tolerance;
    return kippwerk::searchStandardSets(q);
  }
};

}  // namespace

Q_DECLARE_METATYPE(Case)

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
    QCOMPARE(a->windowTitle(), QStringLiteral("Nachmessen"));
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
    const QStringList order{"optAAstabil", "txtAR1",      "cmbAR1",        "txtAR2",
                            "cmbAR2",      "txtAC1",      "cmbAC1",        "chkADiode",
                            "cmbATyp",     "txtAUb",      "cmbAKondTyp",   "optAZeiten",
                            "txtAMessEin", "txtAMessAus", "txtASollEin",   "txtASollAus",
                            "cmbAReiheR",  "cmbATolR",    "txtARmin",      "cmbARmin",
                            "txtARmax",    "cmbARmax",    "tblNachmessen", "cmdASchliessen"};
    const TabWalk tabs = walkTabs(in<QRadioButton>(a, "optAAstabil"), order.size());
    QCOMPARE(tabs.walked, order);
    QVERIFY2(tabs.unnamed.isEmpty(), qPrintable(tabs.unnamed.join(", ")));
  }

  // The worked case: what C1 acts like, t-EIN's factor, the best row and both trimmers.
  void showsTheWorkedCase() {
    frmKippwerk w;
    frmNachmessen* a = openNachmessen(w);
    apply(*a, {"chkADiode", "an"});
    QCOMPARE(text(a, "lblAErgebnis"),
             QStringLiteral("C1 wirkt wie 4.369 uF (-7.04 % gegenüber 4.7 uF).\n"
                            "t-EIN ist 2.81 % länger als mit diesem C1 berechnet (500.9 ms)."));
    QStringList best;
    for (int column = 0; column < 6; ++column) best << cell(a, 0, column);
    QCOMPARE(best,
             (QStringList{"160 k Ohm", "75 k Ohm", "549.0 ms", "226.1 ms", "+1.67 %", "+2.77 %"}));
    QCOMPARE(text(a, "lblATrimmer"),
             QStringLiteral(
                 "R1 = 130 k Ohm + Trimmer 50 k Ohm (130 k Ohm … 180 k Ohm, nötig 157.4 k Ohm)\n"
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
      QTest::newRow(tag) << (QStringList{"chkADiode", "an"} + edits) << c;
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
        << QStringList{"txtAMessEin", ""} << zero.arg("t-EIN gemessen");
    QTest::newRow("measured t-AUS zero")
        << QStringList{"txtAMessAus", "0"} << zero.arg("t-AUS gemessen");
    QTest::newRow("frequency zero")
        << QStringList{"optAFrequenz", "", "txtAMessF", "0"} << zero.arg("f");
    QTest::newRow("duty cycle 100 %")
        << QStringList{"optAFrequenz", "", "txtAMessTg", "100"}
        << "Bitte bei „Tastgrad“ einen Wert zwischen 0 und 100 eingeben, beide ausgenommen.";
    QTest::newRow("duty cycle 0 %")
        << QStringList{"optAFrequenz", "", "txtAMessTg", "0"}
        << "Bitte bei „Tastgrad“ einen Wert zwischen 0 und 100 eingeben, beide ausgenommen.";
    QTest::newRow("wanted t-EIN negative")
        << QStringList{"txtASollEin", "-1"} << zero.arg("t-EIN gewünscht");
    QTest::newRow("wanted t-AUS empty")
        << QStringList{"txtASollAus", ""} << zero.arg("t-AUS gewünscht");
    QTest::newRow("R min above R max")
        << QStringList{"txtARmin", "20", "cmbARmin", "M Ohm"} << "R min ist größer als R max.";
    // The Schottky diode's reverse current caps t-AUS with this C1 near 0.41 s at 9 V.
    QTest::newRow("t-AUS beyond the Schottky's reach")
        << QStringList{"cmbADiodeTyp", "1N5817 (Schottky)", "txtASollAus", "5"}
        << "Das gewünschte t-AUS erreicht mit diesem C1 kein Widerstand R2; bitte bei „t-AUS "
           "gewünscht“ eine kürzere Zeit eingeben.";
    QTest::newRow("t-EIN below what R2 leaves")
        << QStringList{"chkADiode", "aus", "txtASollEin", "0.1"}
        << "Das gewünschte t-EIN erreicht mit diesem C1 und R2 kein Widerstand R1; bitte bei "
           "„t-EIN gewünscht“ eine längere Zeit eingeben.";
    QTest::newRow("no resistor in range comes near")
        << QStringList{"chkADiode", "aus",         "txtARmax", "1.2",         "cmbARmax",
                       "k Ohm",     "txtASollAus", "1e4",      "txtASollEin", "1e5"}
        << "Mit diesen Bereichen kommt keine Kombination auch nur annähernd an die gewünschten "
           "Zeiten heran; bitte die Bereiche anpassen.";
  }

  void namesTheBoxItCannotUse() {
    QFETCH(QStringList, edits);
    QFETCH(QString, status);
    frmKippwerk w;
    frmNachmessen* a = openNachmessen(w);
    apply(*a, QStringList{"chkADiode", "an"} + edits);  // a check box's second click clears it
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
        << "t-EIN ist 1.60-mal so lang wie berechnet: Wurde die erste Periode gemessen? Sie lädt "
           "C1 "
           "von 0 V an und dauert etwa 1.58-mal so lang. Sonst R1, die Diode und Ub prüfen.";
    QTest::newRow("t-EIN far too short")
        << QStringList{"txtAMessEin", "0.25"}
        << "t-EIN ist 0.50-mal so lang wie berechnet: R1, die Diode und Ub prüfen.";
    QTest::newRow("the Schottky diode")
        << QStringList{"cmbADiodeTyp", "1N5817 (Schottky)"}
        << "Mit der Schottky-Diode 1N5817 gilt das Ergebnis nur bei der Temperatur und der "
           "Versorgung der Messung: ihr Sperrstrom hängt stark von beiden ab.";
    QTest::newRow("an electrolytic with R2 above 1 M Ohm")
        << QStringList{"cmbAKondTyp", "Elko (Aluminium)", "txtAR2", "1.5", "cmbAR2", "M Ohm"}
        << "Mit einem Elko und R2 über 1 M Ohm gilt das Ergebnis nur bei der Temperatur und der "
           "Versorgung der Messung: sein Leckstrom hängt stark von beiden ab.";
  }

  void warnsWhereTheMeasurementDoesNotFit() {
    QFETCH(QStringList, edits);
    QFETCH(QString, line);
    frmKippwerk w;
    frmNachmessen* a = openNachmessen(w);
    apply(*a, QStringList{"chkADiode", "an"} + edits);
    QVERIFY2(text(a, "lblAErgebnis").split('\n').contains(line),
             qPrintable(text(a, "lblAErgebnis")));
  }

  // Each window's button brings its highlighted row, its circuit and its desired time(s).
  void takesOverTheRowOfEachWindow() {
    frmKippwerk w;
    action(w, "mnuNormwerte")->trigger();
    auto* n = child<kippwerk::ui::frmNormwerte>(w, QStringLiteral("frmNormwerte"));
    apply(*n, {"chkNDiode", "an", "cmbNDiodeTyp", "1N4001 (Gleichrichter)", "txtNUb", "12",
               "cmbNKondTyp", "Keramik C0G", "txtNTaus", "0.3", "txtNTein", "0.9"});
    auto* table = in<QTableWidget>(n, "tblNormwerte");
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualRect(table->model()->index(2, 0)).center());
    click(*n, "cmdNNachmessen");
    auto* a = child<frmNachmessen>(w, QStringLiteral("frmNachmessen"));
    QVERIFY(a->isVisible());
    QVERIFY(in<QRadioButton>(a, "optAAstabil")->isChecked());
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
    QCOMPARE(in(a, "txtASollEin")->text(), QStringLiteral("0.9"));
    QCOMPARE(in(a, "txtASollAus")->text(), QStringLiteral("0.3"));

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
    QCOMPARE(in<QLabel>(a, "lblAR1")->text(), QStringLiteral("&R ="));
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
};

QTEST_MAIN(NachmessenTest)
#include "nachmessen_test.moc"
