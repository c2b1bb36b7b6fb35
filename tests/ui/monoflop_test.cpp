// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The monostable window through its object names: opening from the menu, the pulse of part
// one at each key, the search of part two against a fresh core search, the status line of
// refused inputs, the chip's hints, the hand-over into part one, Ctrl+C, the keyboard and the
// picture of trigger and pulse.

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "core/monoflop.h"
#include "core/normtext.h"
#include "core/realspread.h"
#include "ui/pictures/histogram.h"
#include "ui/pictures/pulsepicture.h"
#include "ui/windows/frmMonoflop.h"
#include "ui_support.h"

using namespace kippwerk::testing;
using kippwerk::PulseSearch;
using kippwerk::Series;
using kippwerk::ui::frmMonoflop;
using kippwerk::ui::PulsePicture;

Q_DECLARE_METATYPE(kippwerk::PulseSearch)

namespace {

frmMonoflop* openMonoflop(const frmKippwerk& w) {
  action(w, "mnuMonoflop")->trigger();
  return child<frmMonoflop>(w, QStringLiteral("frmMonoflop"));
}

QString cell(const frmMonoflop* m, int row, int column) {
  return cellText(in<QTableWidget>(m, "tblMonoflop"), row, column);
}

// The window's search at first: 1 s, E24 at 5 %, E6 at 10 %, 1 k to 10 M Ohm, 100 pF to 1000 uF.
PulseSearch defaults() {
  PulseSearch q{1.0, Series::E24, 1e3, 10e6, Series::E6, 100e-12, 1000e-6, 0.05, 0.1};
  q.ub = 9;
  q.chip = kippwerk::kChipFamilies[0].chip(9);
  return q;
}

}  // namespace

class MonoflopTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { pinTestEnvironment(); }

  // Made on first use; the menu brings it to the front as the user left it; Escape closes it.
  void opensFromTheMenuAndKeepsItsInputs() {
    frmKippwerk w;
    QVERIFY(showActive(w));
    QVERIFY(w.findChildren<frmMonoflop*>().isEmpty());
    frmMonoflop* m = openMonoflop(w);
    QVERIFY(QTest::qWaitForWindowActive(m));
    QCOMPARE(m->windowTitle(), QStringLiteral("Monoflop – Unbenannt[*]"));
    QCOMPARE(in<QLabel>(m, "lblMZeit")->text(), QStringLiteral("t = 514.6 ms"));
    retype(in(m, "txtMT"), "0.25");
    QTRY_COMPARE(QApplication::activeWindow(), m);  // activations arrive late offscreen
    QTest::keyClick(in(m, "txtMT"), Qt::Key_Escape);
    QVERIFY(!m->isVisible());
    QCOMPARE(openMonoflop(w), m);
    QVERIFY(m->isVisible());
    QCOMPARE(in(m, "txtMT")->text(), QStringLiteral("0.25"));
    QCOMPARE(w.findChildren<frmMonoflop*>().size(), 1);
  }

  void showsThePulseOfPartOne_data() {
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("shown");
    QTest::newRow("defaults") << QStringList{} << "t = 514.6 ms";
    // The worked value: 1.1 * 910 k * 1 uF would be 1.001 s, ln 3 0.13 % less, the chip adds
    // 0.12 %.
    QTest::newRow("910 k and 1 uF") << QStringList{"txtMR", "910", "txtMC", "1"} << "t = 999.9 ms";
    QTest::newRow("10 k and 10 nF")
        << QStringList{"txtMR", "10", "txtMC", "10", "cmbMC", "nF"} << "t = 109.9 us";
    QTest::newRow("1 M Ohm and 470 pF")
        << QStringList{"txtMR", "1", "cmbMR", "M Ohm", "txtMC", "470", "cmbMC", "pF"}
        << "t = 517.1 us";
    QTest::newRow("R empty") << QStringList{"txtMR", ""}
                             << "Bitte bei „R“ einen Wert größer als 0 eingeben.";
    QTest::newRow("C1 zero") << QStringList{"txtMC", "0"}
                             << "Bitte bei „C1“ einen Wert größer als 0 eingeben.";
    QTest::newRow("R with a decimal comma")
        << QStringList{"txtMR", "4,7"}
        << "Bitte bei „R“ den Dezimalpunkt verwenden: 4.7 statt 4,7.";
    QTest::newRow("C1 with two points")
        << QStringList{"txtMC", "4.7.1"}
        << "Bei „C1“ wurde „.1“ nicht verstanden; bitte nur eine Zahl eingeben, etwa 1.5 oder "
           "4.7e-6.";
    QTest::newRow("100 mF") << QStringList{"txtMC", "100", "cmbMC", "mF"} << "t = 10950 s";
    QTest::newRow("R too large to read")
        << QStringList{"txtMR", "1e400"}
        << "Der Wert bei „R“ liegt außerhalb des darstellbaren Zahlenbereichs.";
    QTest::newRow("pulse beyond the numbers")
        << QStringList{"txtMR", "1e300", "txtMC", "1e300"}
        << "Die Zeit liegt außerhalb des darstellbaren Zahlenbereichs.";
  }

  void showsThePulseOfPartOne() {
    QFETCH(QStringList, edits);
    QFETCH(QString, shown);
    frmKippwerk w;
    frmMonoflop* m = openMonoflop(w);
    apply(*m, edits);
    QCOMPARE(in<QLabel>(m, "lblMZeit")->text(), shown);
  }

  // Every input of part two searches again: the table is a fresh search's answer.
  void searchesAgainOnEveryInput_data() {
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<PulseSearch>("want");
    auto row = [](const char* tag, const QStringList& edits, auto change) {
      PulseSearch q = defaults();
      change(q);
      QTest::newRow(tag) << edits << q;
    };
    row("defaults", {}, [](PulseSearch&) {});
    row("t", {"txtMT", "0.02"}, [](PulseSearch& q) { q.t = 0.02; });
    row("resistors E96", {"cmbMReiheR", "E96"}, [](PulseSearch& q) {
      q.resistorSeries = Series::E96;
      q.resistorTolerance = 0.01;
    });
    row("resistor tolerance", {"cmbMTolR", "± 2 %"},
        [](PulseSearch& q) { q.resistorTolerance = 0.02; });
    row("capacitors E12", {"cmbMReiheC", "E12"},
        [](PulseSearch& q) { q.capacitorSeries = Series::E12; });
    row("capacitor tolerance", {"cmbMTolC", "± 20 %"},
        [](PulseSearch& q) { q.capacitorTolerance = 0.2; });
    row("R min", {"txtMRmin", "330", "cmbMRmin", "Ohm"}, [](PulseSearch& q) { q.rMin = 330; });
    row("R max", {"txtMRmax", "47", "cmbMRmax", "k Ohm"}, [](PulseSearch& q) { q.rMax = 47e3; });
    row("C min", {"txtMCmin", "2.2", "cmbMCmin", "uF"}, [](PulseSearch& q) { q.cMin = 2.2e-6; });
    row("C max", {"txtMCmax", "47", "cmbMCmax", "nF"}, [](PulseSearch& q) {
      q.cMax = 47e-9;
      q.t = 1e-3;
    });
  }

  void searchesAgainOnEveryInput() {
    QFETCH(QStringList, edits);
    QFETCH(PulseSearch, want);
    frmKippwerk w;
    frmMonoflop* m = openMonoflop(w);
    if (want.t != 1.0) edits << "txtMT" << QString::number(want.t);
    apply(*m, edits);
    const auto pairs = kippwerk::searchPulsePairs(want);
    QVERIFY(pairs.ok());
    QCOMPARE(in<QTableWidget>(m, "tblMonoflop")->rowCount(), int(pairs.value().size()));
    QVERIFY(m->pairs() == pairs.value());
    const auto& best = pairs.value().front();
    QCOMPARE(cell(m, 0, 0), QString::fromStdString(partText(best.r, kippwerk::resistorUnits)));
    QCOMPARE(cell(m, 0, 1), QString::fromStdString(partText(best.c1, kippwerk::capacitorUnits)));
    QCOMPARE(cell(m, 0, 3), QString::fromStdString(kippwerk::percentText(best.devT)));
    const auto spread = kippwerk::pulseSpread(want.circuit(), best.r, best.c1,
                                              want.resistorTolerance, want.capacitorTolerance);
    QCOMPARE(in<QLabel>(m, "lblMToleranz")->text(),
             underToleranceHeading(kippwerk::pulseSpreadText(spread, want.t)));
    QCOMPARE(in<PulsePicture>(m, "picMSignal")->pulse()->end, spread);
  }

  // The status line says why there are no pairs, or why the best one still misses by more
  // than 10 % (then the pairs stay).
  void saysWhyThereAreNoPairs_data() {
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("rows");
    const QString tooSmall = QStringLiteral("Bitte bei „%1“ einen Wert größer als 0 eingeben.");
    QTest::newRow("t with a decimal comma")
        << QStringList{"txtMT", "1,5"} << "Bitte bei „t“ den Dezimalpunkt verwenden: 1.5 statt 1,5."
        << 0;
    QTest::newRow("letters after R max")
        << QStringList{"txtMRmax", "10x"}
        << "Bei „R max“ wurde „x“ nicht verstanden; bitte nur eine Zahl eingeben, etwa 1.5 oder "
           "4.7e-6."
        << 0;
    QTest::newRow("supply with a decimal comma")
        << QStringList{"txtMUb", "9,5"}
        << "Bitte bei „Ub“ den Dezimalpunkt verwenden: 9.5 statt 9,5." << 0;
    // C min 100 uF: the shortest pulse is 1.1 * 1 k Ohm * 100 uF.
    QTest::newRow("pulse below the smallest parts")
        << QStringList{"txtMCmin", "100", "cmbMCmin", "uF", "txtMT", "1e-6"}
        << "Die Bereiche reichen erst ab t = 108.5 ms; R min oder C min verringern." << 10;
    QTest::newRow("pulse beyond the largest parts")
        << QStringList{"txtMT", "1e5"}
        << "Die Bereiche reichen nur bis t = 11450 s; R max oder C max erhöhen." << 10;
    // Only 1 k Ohm, and E3 capacitors: 1.6 uF lies 60 % above 1 uF and 27 % below 2.2 uF.
    QTest::newRow("series too coarse")
        << QStringList{"txtMRmax", "1", "cmbMRmax", "k Ohm", "cmbMReiheC", "E3", "txtMT", "0.00176"}
        << "Kein Paar kommt auf 10 % an die gewünschte Zeit heran: die Reihen sind dafür zu "
           "grob; bitte eine feinere Reihe wählen."
        << 10;
    QTest::newRow("t zero") << QStringList{"txtMT", "0"} << tooSmall.arg("t") << 0;
    QTest::newRow("t unreadable") << QStringList{"txtMT", "1e999"}
                                  << "Der Wert bei „t“ liegt außerhalb des darstellbaren "
                                     "Zahlenbereichs."
                                  << 0;
    QTest::newRow("supply below the NE555's")
        << QStringList{"txtMUb", "3"}
        << "Die Betriebsspannung muss beim NE555 zwischen 4.5 V und 16 V liegen." << 0;
    QTest::newRow("supply above the CMOS type's")
        << QStringList{"txtMUb", "15.5", "cmbMTyp", "CMOS (7555)"}
        << "Die Betriebsspannung muss bei CMOS-Typen zwischen 2 V und 15 V liegen." << 0;
    QTest::newRow("R min empty") << QStringList{"txtMRmin", ""} << tooSmall.arg("R min") << 0;
    QTest::newRow("C max negative") << QStringList{"txtMCmax", "-1"} << tooSmall.arg("C max") << 0;
    QTest::newRow("R min above R max")
        << QStringList{"txtMRmin", "20", "cmbMRmin", "M Ohm"} << "R min ist größer als R max." << 0;
    QTest::newRow("no capacitor inside")
        << QStringList{"txtMCmin", "1.6", "cmbMCmin", "nF", "txtMCmax", "2.1", "cmbMCmax", "nF"}
        << "Zwischen C min und C max liegt kein Wert der Reihe E6." << 0;
    QTest::newRow("far below these ranges")
        << QStringList{"txtMT", "1e-14"}
        << "Mit diesen Bereichen kommt kein Paar auch nur annähernd an die gewünschte Zeit "
           "heran; bitte die Bereiche anpassen."
        << 0;
    QTest::newRow("beyond any range")
        << QStringList{"txtMT", "1e300"}
        << "An diese Zeit kommt kein Paar von Normwerten auch nur annähernd heran, mit welchen "
           "Bereichen auch immer; bitte eine andere Zeit eingeben."
        << 0;
  }

  void saysWhyThereAreNoPairs() {
    QFETCH(QStringList, edits);
    QFETCH(QString, status);
    QFETCH(int, rows);
    frmKippwerk w;
    frmMonoflop* m = openMonoflop(w);
    apply(*m, edits);
    QCOMPARE(in<QLabel>(m, "lblMStatus")->text(), status);
    QCOMPARE(in<QTableWidget>(m, "tblMonoflop")->rowCount(), rows);
    QCOMPARE(in<QPushButton>(m, "cmdMUebernehmen")->isEnabled(), rows > 0);
    QCOMPARE(in<PulsePicture>(m, "picMSignal")->pulse().has_value(), rows > 0);
    QCOMPARE(in<QLabel>(m, "lblMToleranz")->text().isEmpty(), rows == 0);
  }

  // The chip's limits per family, with their reasons as the cell's tooltip.
  void marksPairsBeyondTheChipsLimits_data() {
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("hints");
    QTest::addColumn<QString>("reasons");
    QTest::newRow("NE555, 200 ns")
        << QStringList{"txtMT", "2e-7", "txtMCmin", "10"} << "C1 < 500 pF, Verzögerung"
        << "C1 unter 500 pF: Die Zeiten hängen dann merklich von Streukapazitäten ab (beim "
           "NE555).\nDie Verzögerung des Zeitgebers verlängert den Impuls hier um mehr als das "
           "Zehnfache.";
    QTest::newRow("CMOS, 200 ns") << QStringList{"cmbMTyp", "CMOS (7555)", "txtMT",
                                                 "2e-7",    "txtMCmin",    "10"}
                                  << "C1 < 200 pF, Verzögerung"
                                  << "C1 unter 200 pF: Die Zeiten hängen dann merklich von "
                                     "Streukapazitäten ab (bei CMOS-Typen).\nDie Verzögerung "
                                     "des Zeitgebers verlängert den Impuls hier um mehr als das "
                                     "Zehnfache.";
    QTest::newRow("NE555 at 5 V, 30 s")
        << QStringList{"txtMUb", "5", "txtMT", "30", "txtMCmax", "4.7"} << "R > 3.4 M Ohm"
        << "R über 3.4 M Ohm: Bei Ub = 5 V reicht der Strom nicht mehr für den "
           "Schwellwerteingang an Pin 6 beim NE555.";
  }

  void marksPairsBeyondTheChipsLimits() {
    QFETCH(QStringList, edits);
    QFETCH(QString, hints);
    QFETCH(QString, reasons);
    frmKippwerk w;
    frmMonoflop* m = openMonoflop(w);
    apply(*m, edits);
    auto* table = in<QTableWidget>(m, "tblMonoflop");
    QCOMPARE(table->rowCount(), 10);
    QCOMPARE(cell(m, 0, 5), hints);
    for (int row = 0; row < table->rowCount(); ++row) {  // each row's reasons with its hints
      QCOMPARE(table->item(row, 5)->toolTip().isEmpty(), cell(m, row, 5).isEmpty());
    }
    QCOMPARE(table->item(0, 5)->toolTip(), reasons);
  }

  // Übernehmen puts the highlighted pair into part one; Ctrl+C copies that row and its spread.
  void handsOverAndCopiesTheHighlightedPair() {
    frmKippwerk w;
    frmMonoflop* m = openMonoflop(w);
    apply(*m, {"cmbMReiheR", "E192", "txtMT", "0.0123"});
    auto* table = in<QTableWidget>(m, "tblMonoflop");
    QCOMPARE(table->rowCount(), 10);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualRect(table->model()->index(3, 1)).center());
    table->setFocus();
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    QStringList row;
    for (int column = 0; column < 6; ++column) row << cell(m, 3, column);
    QCOMPARE(QApplication::clipboard()->text(), "R\tC1\tt\tΔ t\tAusbeute\tHinweise\n" +
                                                    row.join('\t') + "\n" +
                                                    in<QLabel>(m, "lblMToleranz")->text() + "\n" +
                                                    in<QLabel>(m, "lblMUmgebung")->text());
    QVERIFY(in<QLabel>(m, "lblMToleranz")->text().contains("\nt: "));
    const auto pair = m->pairs()[3];
    click(*m, "cmdMUebernehmen");
    QCOMPARE(in(m, "txtMR")->text() + " " + in<QComboBox>(m, "cmbMR")->currentText(),
             cell(m, 3, 0));
    QCOMPARE(in(m, "txtMC")->text() + " " + in<QComboBox>(m, "cmbMC")->currentText(),
             cell(m, 3, 1));
    QCOMPARE(in<QLabel>(m, "lblMZeit")->text(), "t = " + cell(m, 3, 2));
    QCOMPARE(pair.t, kippwerk::pulseTime(defaults().circuit(), pair.r, pair.c1));

    // A large capacitor arrives in the unit that keeps it short.
    apply(*m, {"txtMRmax", "1", "cmbMRmax", "k Ohm", "txtMCmax", "1", "cmbMCmax", " F", "txtMT",
               "110"});
    QCOMPARE(cell(m, 0, 1), QStringLiteral("100 mF"));
    click(*m, "cmdMUebernehmen");
    QCOMPARE(in(m, "txtMC")->text() + " " + in<QComboBox>(m, "cmbMC")->currentText(),
             QStringLiteral("100 mF"));
  }

  // The surroundings give the highlighted pair's real spread with the monostable figures of
  // the chip; a box that cannot be used says so and leaves the pairs.
  void showsTheRealSpreadOfTheHighlightedPair_data() {
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<int>("family");
    QTest::addColumn<int>("capacitor");
    QTest::newRow("defaults") << QStringList{} << 0 << 2;
    QTest::newRow("CMOS with X7R at 12 V")
        << QStringList{"cmbMTyp", "CMOS (7555)", "txtMUb", "12", "cmbMKondTyp", "Keramik X7R"} << 1
        << 1;
    QTest::newRow("electrolytic at 10 s")
        << QStringList{"cmbMKondTyp", "Elko (Aluminium)", "txtMT", "10"} << 0 << 4;
  }

  // The pair is highlighted before the surroundings change: they keep it, with a new spread.
  void showsTheRealSpreadOfTheHighlightedPair() {
    QFETCH(QStringList, edits);
    QFETCH(int, family);
    QFETCH(int, capacitor);
    frmKippwerk w;
    frmMonoflop* m = openMonoflop(w);
    apply(*m, edits);
    auto* table = in<QTableWidget>(m, "tblMonoflop");
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualRect(table->model()->index(5, 0)).center());
    apply(*m, {"txtMGrenze", "20"});
    QCOMPARE(table->selectionModel()->selectedRows().front().row(), 5);
    QTRY_VERIFY(!in<QLabel>(m, "lblMUmgebung")->text().contains(QStringLiteral("berechnet")));
    const auto& pair = m->pairs()[5];
    kippwerk::TimerDesign d;
    d.monostable = true;
    d.r1 = pair.r;
    d.c1 = pair.c1;
    d.circuit.ub = in(m, "txtMUb")->text().toDouble();
    d.resistorTolerance = 0.05;
    d.capacitorTolerance = 0.1;
    d.error = kippwerk::kChipFamilies[static_cast<std::size_t>(family)].monostable;
    d.family = kippwerk::kChipFamilies[static_cast<std::size_t>(family)];
    d.circuit.chip = d.family->chip(d.circuit.ub);
    const kippwerk::Surroundings s{kippwerk::kCapacitorTypes[static_cast<std::size_t>(capacitor)]};
    const double want = in(m, "txtMT")->text().toDouble();
    const auto rate = kippwerk::passRate(d, s, want, 0, 0.2);
    QCOMPARE(in<QLabel>(m, "lblMUmgebung")->text(), realSpreadPanelText(d, s, want, 0, 0.2));
    auto* histogram = in<kippwerk::ui::DeviationHistogram>(m, "picMHistogramm");
    QCOMPARE(histogram->deviations()->values, rate->deviations);
    // It describes part two's pair, so it stands in part two.
    QVERIFY(child(*m, QStringLiteral("fraMZeit"))->isAncestorOf(histogram));
    const auto leak = kippwerk::leakageOf(d, s.capacitor);
    QCOMPARE(cell(m, 5, 5).contains(QStringLiteral("Leckstrom")), leak && leak->matters());

    apply(*m, {"txtMTmax", "-60"});
    QCOMPARE(in<QLabel>(m, "lblMStatus")->text(),
             QStringLiteral("Bitte bei „T max“ eine Temperatur von -55 °C bis 125 °C eingeben."));
    QVERIFY(in<QLabel>(m, "lblMUmgebung")->text().isEmpty());
    QCOMPARE(in<QTableWidget>(m, "tblMonoflop")->rowCount(), 10);
    // The supply's tolerance is held to the chip's range here too.
    apply(*m, {"txtMTmax", "70", "txtMUbTol", "80"});
    QVERIFY2(in<QLabel>(m, "lblMStatus")->text().startsWith(QStringLiteral("Mit Ub ± 80 % läge")),
             qPrintable(in<QLabel>(m, "lblMStatus")->text()));
  }

  // The pairs get their pass rates too, and "Ausbeute" ranks a hundred of them: the rows then
  // stand by rate, the highlighted one's histogram with them.
  void ranksThePairsByPassRate() {
    frmKippwerk w;
    frmMonoflop* m = openMonoflop(w);
    auto* progress = in<QProgressBar>(m, "prgMAusbeute");
    QTRY_COMPARE_WITH_TIMEOUT(progress->value(), 10, 60000);
    for (int row = 0; row < 10; ++row) QVERIFY(cell(m, row, 4).endsWith(QStringLiteral(" %")));
    apply(*m, {"cmbMSortierung", "Ausbeute"});
    auto* said = in<QLabel>(m, "lblMReihenfolge");
    QTRY_VERIFY_WITH_TIMEOUT(said->text().startsWith(QStringLiteral("Nach Ausbeute")), 120000);
    QCOMPARE(said->text(), QStringLiteral("Nach Ausbeute geordnet: die 10 besten von 100 Paaren."));
    auto rateOf = [m](int row) { return cell(m, row, 4).chopped(2).toDouble(); };
    for (int row = 1; row < 10; ++row) QVERIFY(rateOf(row - 1) >= rateOf(row));
    auto* histogram = in<kippwerk::ui::DeviationHistogram>(m, "picMHistogramm");
    QTRY_VERIFY(histogram->deviations().has_value());
    QCOMPARE(
        QString::fromStdString(kippwerk::fixedText(histogram->deviations()->rate * 100, 1)) + " %",
        cell(m, 0, 4));
  }

  void worksFromTheKeyboard() {
    frmKippwerk w;
    frmMonoflop* m = openMonoflop(w);
    QVERIFY(QTest::qWaitForWindowActive(m));
    const QStringList order{
        "txtMR",       "cmbMR",          "txtMC",           "cmbMC",       "txtMT",
        "cmbMTyp",     "txtMUb",         "cmbMReiheR",      "cmbMTolR",    "txtMRmin",
        "cmbMRmin",    "txtMRmax",       "cmbMRmax",        "cmbMReiheC",  "cmbMTolC",
        "txtMCmin",    "cmbMCmin",       "txtMCmax",        "cmbMCmax",    "cmbMKondTyp",
        "txtMTmin",    "txtMTmax",       "txtMUbTol",       "txtMGrenze",  "cmbMSortierung",
        "tblMonoflop", "cmdMNachmessen", "cmdMUebernehmen", "cmdMEntwurf", "cmdMSchliessen"};
    const TabWalk tabs = walkTabs(in(m, "txtMR"), order.size());
    QCOMPARE(tabs.walked, order);
    QVERIFY2(tabs.unnamed.isEmpty(), qPrintable(tabs.unnamed.join(", ")));
  }

  // Trigger and pulse of a known pair: the pulse ends at its time on the axis, the desired
  // one dashed at its own, the band over the spread.
  void drawsTriggerAndPulse() {
    PulsePicture picture;
    picture.resize(640, 220);
    picture.setPulse(kippwerk::ui::Pulse{1.0, 0.8, {0.86, 1.16}});
    const PlotPixels px(picture);
    QCOMPARE(px.ticks.size(), 8);  // 0 to 1.4 s in steps of 200 ms
    auto column = [&](double t) { return px.column(t, 1.0); };
    // The output lane: its high level is the topmost curve row at 0.5 s in the lower half of
    // the picture, its low level the lowest at 1.3 s.
    int high = -1, low = -1;
    for (int y = px.axis / 2; y < px.axis; ++y) {
      if (high < 0 && px.curve(column(0.5), y)) high = y;
      if (px.curve(column(1.3), y)) low = y;
    }
    QVERIFY(high > 0 && low > high + 10);
    const int middle = (high + low) / 2;
    auto near = [&](double t, QRgb colour) {
      for (int dx = -1; dx <= 1; ++dx) {
        if (px.ink(column(t) + dx, middle, colour)) return true;
      }
      return false;
    };
    QVERIFY(near(1.0, PlotPixels::kSet) && !near(0.8, PlotPixels::kSet));
    bool dashed = false;
    for (int y = high; y < low; ++y) dashed = dashed || px.ink(column(0.8), y, PlotPixels::kWant);
    QVERIFY(dashed);
    QVERIFY(px.ink(column(0.9), middle, PlotPixels::kBand));
    QVERIFY(px.ink(column(1.1), middle, PlotPixels::kBand));
    QVERIFY(px.ink(column(0.7), middle, PlotPixels::kWhite));
    QVERIFY(px.ink(column(1.25), middle, PlotPixels::kWhite));
    // The trigger: low just after 0 in the upper lane, high again before the pulse ends.
    int triggerLow = -1;
    for (int y = 0; y < px.axis / 2; ++y) {
      if (px.ink(column(0.02), y, PlotPixels::kSet)) triggerLow = y;
    }
    QVERIFY(triggerLow > 0);
    QVERIFY(!px.ink(column(0.5), triggerLow, PlotPixels::kSet));
  }
};

QTEST_MAIN(MonoflopTest)
#include "monoflop_test.moc"
