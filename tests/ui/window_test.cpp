// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The window as a user meets it: start state, layout, page flow, menu, focus order and the
// first job, driven through the controls' object names on the offscreen platform.

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QtTest>

#include "ui/widgets/controls.h"
#include "ui/widgets/widgets.h"
#include "ui_support.h"

using namespace kippwerk::testing;
using kippwerk::ui::controlRows;
using kippwerk::ui::Kind;

class WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { pinTestEnvironment(); }

  void startsOnTheStartPageWithTheDefinedState() {
    frmKippwerk w;
    QVERIFY(showActive(w));
    QCOMPARE(visiblePages(w), QList<int>{0});
    QCOMPARE(w.windowTitle(), QStringLiteral("Kippwerk"));
    QCOMPARE(QApplication::focusWidget(), child(w, "Picture1"));
    QCOMPARE(w.centralWidget()->size(), QSize(496, 398));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QVERIFY(!(w.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w.windowFlags() & Qt::WindowCloseButtonHint);

    const std::pair<const char*, const char*> lists[] = {{"cmbGegR1", "k Ohm"},
                                                         {"cmbGegR2", "k Ohm"},
                                                         {"cmbGegC1", "uF"},
                                                         {"cmbR2", "k Ohm"},
                                                         {"cmbC1", "uF"}};
    for (const auto& [name, shown] : lists) {
      auto* list = child<QComboBox>(w, name);
      QCOMPARE(list->currentText(), QString::fromLatin1(shown));
      QVERIFY2(!list->isEditable(), name);
    }
    const std::tuple<const char*, const char*, bool> boxes[] = {
        {"txtGegR1", "100", false}, {"txtGegR2", "68", false},    {"txtGegC1", "4.7", false},
        {"txtC1", "4.7", false},    {"txtR2", "68", false},       {"txtTein", ".54", false},
        {"txtTaus", ".22", false},  {"txtTperiode", ".76", true}, {"txtFrequenz", "1.316", true}};
    for (const auto& [name, text, locked] : boxes) {
      auto* box = child<QLineEdit>(w, name);
      QCOMPARE(box->text(), QString::fromLatin1(text));
      QCOMPARE(box->isReadOnly(), locked);
      QCOMPARE(box->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    }
    QVERIFY(child<QRadioButton>(w, "optC1")->isChecked());
    QVERIFY(!child<QRadioButton>(w, "optR2")->isChecked());
    QVERIFY(!child(w, "Frame1(0)")->isHidden());
    QVERIFY(child(w, "Frame1(1)")->isHidden());
    QVERIFY(!child<QCheckBox>(w, "chkDiode")->isChecked());
    QVERIFY(!child<QCheckBox>(w, "chkD")->isChecked());
    QCOMPARE(child<QGroupBox>(w, "Frame(2)")->title(), QStringLiteral("Frame2"));
    QVERIFY(child<QLabel>(w, "lblZeiten")->text().isEmpty());
    QVERIFY(child<QLabel>(w, "lblErgebnis")->text().isEmpty());

    const auto& q = w.quantities();
    QCOMPARE(q.times.tein, 0.54);
    QCOMPARE(q.times.taus, 0.22);
    QCOMPARE(q.times.tperiode, 0.76);
    QCOMPARE(q.times.frequenz, 1.32);
    QCOMPARE(q.R1, 0.0);
    QCOMPARE(q.Diode, false);
  }

  // Rectangles (twips) and captions as the layout tables give them, written out here rather
  // than taken from the table the window is built from, so that a wrong row there fails.
  void placesEveryControlAsTheLayoutTablesSay() {
    struct Place {
      const char* name;
      const char* caption;  // title, caption or default text; nullptr for drop-downs
      int left, top, width, height;
    };
    // clang-format off
    const Place places[] = {
      {"Picture1", nullptr, 1433, 120, 4575, 3615}, {"lblBauteile", "C2=10nF", 6120, 3480, 735, 255},
      {"Frame(0)", "", 120, 3840, 7215, 2055}, {"Frame(1)", "", 120, 3840, 7215, 2055},
      {"Frame(2)", "Frame2", 120, 3840, 7215, 2055}, {"Frame(3)", "", 120, 3840, 7215, 2055},
      {"Frame(4)", "", 120, 3840, 7215, 2055},
      {"cmdZeit", "Zeiten anhand bekannter Bauteile berechnen", 120, 240, 3375, 1695},
      {"cmdBauteile", "Bauteile anhand gewünschter Zeiten berechnen", 3600, 240, 3495, 1695},
      {"lblText", "Welche Größe ist bekannt?", 120, 240, 6975, 375},
      {"optC1", "C1", 360, 600, 615, 375}, {"optR2", "R2", 1080, 600, 615, 375},
      {"Frame1(0)", "", 4320, 240, 2655, 855}, {"lblC1", "C1 = ", 120, 360, 375, 255},
      {"txtC1", "4.7", 600, 360, 1215, 285}, {"cmbC1", nullptr, 1920, 360, 615, 315},
      {"Frame1(1)", "", 4320, 240, 2655, 855}, {"lblR2", "R2 = ", 120, 360, 375, 255},
      {"txtR2", "68", 600, 360, 735, 285}, {"cmbR2", nullptr, 1440, 360, 1095, 315},
      {"cmdZurueck1", "Zurück", 240, 1440, 1095, 495}, {"cmdWeiter1", "Weiter", 5760, 1440, 1215, 495},
      {"Label1", "Wie lange sollen t-EIN und t-AUS werden?", 360, 240, 3135, 255},
      {"Label10", "Es werden gerundet Ergebnisse angezeigt, aber es wird mit den genauen Werten gerechnet!", 3600, 240, 3495, 495},
      {"chkDiode", "t-EIN = t-AUS ?", 360, 480, 2295, 255},
      {"lblTein", "t-EIN = ", 600, 960, 615, 255}, {"txtTein", ".54", 1320, 960, 1575, 285},
      {"lblS2", "s", 3000, 960, 135, 255}, {"lblTaus", "t-AUS = ", 3840, 960, 615, 255},
      {"txtTaus", ".22", 4560, 960, 1575, 285}, {"lblS1", "s", 6240, 960, 135, 255},
      {"lblTperiode", "t-Periode = ", 1440, 1320, 855, 255}, {"txtTperiode", ".76", 2400, 1320, 1575, 285},
      {"lblS3", "s", 4080, 1320, 135, 255}, {"Label9", "Frequenz = ", 1440, 1680, 855, 255},
      {"txtFrequenz", "1.316", 2400, 1680, 1575, 285}, {"lblHz", "Hz", 4080, 1680, 255, 255},
      {"cmdZurueck2", "Zurück", 240, 1440, 1095, 495}, {"cmdWeiter2", "Weiter", 5760, 1440, 1215, 495},
      {"lblErgebnis", "", 1440, 120, 4335, 1815}, {"cmdZurueck3", "Zurück", 240, 1440, 1095, 495},
      {"cmdFertig", "Berechne Bauteile", 5880, 1440, 1095, 495},
      {"Label2", "R1 = ", 240, 360, 495, 255}, {"txtGegR1", "100", 720, 360, 735, 285},
      {"cmbGegR1", nullptr, 1680, 360, 1095, 315}, {"Label3", "R2 = ", 240, 840, 495, 255},
      {"txtGegR2", "68", 720, 840, 735, 285}, {"cmbGegR2", nullptr, 1680, 840, 1095, 315},
      {"Label4", "C1 = ", 2760, 360, 495, 255}, {"txtGegC1", "4.7", 3240, 360, 735, 285},
      {"cmbGegC1", nullptr, 4080, 360, 615, 315}, {"Label5", "D = ", 2760, 840, 495, 255},
      {"chkD", "", 3240, 840, 255, 255}, {"lblZeiten", "", 4800, 360, 2175, 855},
      {"cmdZurueck4", "Zurück", 240, 1440, 1095, 495}, {"cmdBerechne", "Berechne Zeiten", 5880, 1440, 1095, 495},
    };
    // clang-format on
    frmKippwerk w;
    QCOMPARE(controlRows().size(), std::size(places));
    auto px = [](int twips) { return (twips * 2 + 15) / 30; };
    for (const Place& p : places) {
      QWidget* c = child(w, QString::fromUtf8(p.name));
      QCOMPARE(c->geometry(), QRect(px(p.left), px(p.top), px(p.width), px(p.height)));
      if (p.caption == nullptr) continue;
      QString caption;
      if (auto* g = qobject_cast<QGroupBox*>(c)) caption = g->title();
      if (auto* l = qobject_cast<QLabel*>(c)) caption = l->text();
      if (auto* b = qobject_cast<QAbstractButton*>(c)) caption = b->text();
      if (auto* e = qobject_cast<QLineEdit*>(c)) caption = e->text();
      QCOMPARE(caption, QString::fromUtf8(p.caption));
    }
  }

  // Every page's etched top line lies on the same row; "Frame2" stands in it, the line
  // interrupted behind it; every opaque label has the colour of the page it stands on.
  void drawsEveryPageFrameAlike() {
    frmKippwerk w;
    w.show();
    int lineRow = -1;
    for (int i = 0; i < 5; ++i) {
      goTo(w, i);
      auto* page = child<kippwerk::ui::PageFrame>(w, QStringLiteral("Frame(%1)").arg(i));
      const QImage img = w.grab(QRect(page->mapTo(&w, QPoint(0, 0)), page->size())).toImage();
      const QRgb line = page->palette().color(QPalette::Dark).rgb();
      int row = -1;
      for (int y = 0; y < img.height() && row < 0; ++y) {
        bool across = true;
        for (int x = img.width() / 2; x < img.width() - 2; ++x) across &= img.pixel(x, y) == line;
        if (across) row = y;
      }
      QVERIFY2(row >= 0, qPrintable(page->objectName()));
      if (lineRow < 0) lineRow = row;
      QCOMPARE(row, lineRow);
      const QRgb background = img.pixel(3, img.height() / 2);
      for (const QLabel* label : page->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(page)) continue;
        QVERIFY2(img.pixel(label->mapTo(page, QPoint(0, 0))) == background,
                 qPrintable(label->objectName()));
      }
      if (i != 2) continue;
      const int from = kippwerk::ui::PageFrame::kCaptionIndent;
      const int to = from + page->fontMetrics().horizontalAdvance(page->title());
      int onLine = 0, caption = 0;
      for (int x = from; x < to; ++x) {
        const QRgb c = img.pixel(x, lineRow);
        onLine += c == line;
        caption += c != line && c != background;
      }
      QCOMPARE(onLine, 0);
      QVERIFY(caption > 0);
    }
  }

  void createsTheDropDownsWithoutASelection() {
    QWidget client;
    kippwerk::ui::buildControls(&client);
    const auto lists = client.findChildren<QComboBox*>();
    QCOMPARE(lists.size(), 5);
    for (const QComboBox* list : lists) QCOMPARE(list->currentIndex(), -1);
  }

  void namesTheMenuAndItsItems() {
    frmKippwerk w;
    QStringList names;
    for (QAction* menu : w.menuBar()->actions()) {
      names << menu->text();
      for (QAction* item : menu->menu()->actions()) {
        names << (item->isSeparator() ? QStringLiteral("-") : item->text()) + "/" +
                     item->objectName();
        QVERIFY(item->shortcut().isEmpty());
      }
    }
    QCOMPARE(names, (QStringList{"&Datei", "&Restart/mnuRestart", "-/mnuStrich",
                                 "&Beenden/mnuBeenden", "&Extras", "&Normwerte .../mnuNormwerte",
                                 "&Monoflop .../mnuMonoflop", "Na&chmessen .../mnuNachmessen",
                                 "&Entwurf öffnen …/mnuEntwurfOeffnen", "&?", "&About/mnuAbout"}));
  }

  // Every caption, and the longest result texts, fit their rectangles in the chosen font.
  void clipsNoCaption() {
    frmKippwerk w;
    w.show();
    // The widest of the worked examples in the timing result.
    child<QLineEdit>(w, "txtGegR1")->setText("1");
    child<QLineEdit>(w, "txtGegR2")->setText("1");
    child<QLineEdit>(w, "txtGegC1")->setText("1");
    child<QComboBox>(w, "cmbGegC1")->setCurrentIndex(1);
    child<QAbstractButton>(w, "cmdBerechne")->click();
    QCOMPARE(
        child<QLabel>(w, "lblZeiten")->text(),
        crlf({"t-EIN =  0 s", "t-AUS =  0 s", "t-Periode =  0 s", "Frequenz =  483091.79 Hz"}));
    for (const auto& row : controlRows()) {
      QWidget* c = child(w, QString::fromUtf8(row.name));
      const QFontMetrics fm(c->font());
      if (auto* label = qobject_cast<QLabel*>(c)) {
        const QRect need = fm.boundingRect(QRect(0, 0, label->width(), 10000),
                                           Qt::TextWordWrap | label->alignment(), label->text());
        QVERIFY2(need.width() <= label->width() && need.height() <= label->height(), row.name);
      } else if (auto* button = dynamic_cast<kippwerk::ui::WrapButton*>(c)) {
        const QRect need = fm.boundingRect(QRect(0, 0, button->width() - 8, 10000),
                                           Qt::TextWordWrap | Qt::AlignCenter, button->text());
        QVERIFY2(need.width() <= button->width() - 8 && need.height() <= button->height() - 4,
                 row.name);
      } else if (qobject_cast<QCheckBox*>(c) || qobject_cast<QRadioButton*>(c)) {
        QVERIFY2(c->sizeHint().width() <= c->width(), row.name);
      }
    }
    auto* result = child<QLabel>(w, "lblErgebnis");
    result->setText(
        crlf({"R1 = -1.23456789012346E+100 Ohm", "R2 =  1.23456789012346E+100 Ohm",
              "C1 = -1.23456789012346E-100 F", "D  = nein", "", "t-EIN = -1.23456789012346E+100 s",
              "t-AUS = -1.23456789012346E+100 s", "t-Periode = -1.23456789012346E+100 s",
              "Frequenz = -1.23456789012346E+100 Hz"}));
    const QRect need =
        QFontMetrics(result->font())
            .boundingRect(QRect(0, 0, result->width(), 10000), Qt::TextWordWrap, result->text());
    QVERIFY(need.width() <= result->width() && need.height() <= result->height());
  }

  void navigates_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("cmdZeit") << "cmdZeit" << 0 << 4;
    QTest::newRow("cmdBauteile") << "cmdBauteile" << 0 << 1;
    QTest::newRow("cmdWeiter1") << "cmdWeiter1" << 1 << 2;
    QTest::newRow("cmdZurueck1") << "cmdZurueck1" << 1 << 0;
    QTest::newRow("cmdZurueck2") << "cmdZurueck2" << 2 << 1;
    QTest::newRow("cmdZurueck3") << "cmdZurueck3" << 3 << 2;
    QTest::newRow("cmdZurueck4") << "cmdZurueck4" << 4 << 0;
  }

  void navigates() {
    QFETCH(QString, button);
    QFETCH(int, from);
    QFETCH(int, to);
    frmKippwerk w;
    w.show();
    goTo(w, from);
    QCOMPARE(visiblePages(w), QList<int>{from});
    const QString before = child<QLineEdit>(w, "txtTein")->text();
    QTest::mouseClick(child<QAbstractButton>(w, button), Qt::LeftButton);
    QCOMPARE(visiblePages(w), QList<int>{to});
    QCOMPARE(child<QLineEdit>(w, "txtTein")->text(), before);
  }

  void restartsFromEveryPageKeepingEverything_data() {
    QTest::addColumn<int>("page");
    for (int i = 0; i < 5; ++i) QTest::addRow("Frame(%d)", i) << i;
  }

  void restartsFromEveryPageKeepingEverything() {
    QFETCH(int, page);
    frmKippwerk w;
    w.show();
    child<QRadioButton>(w, "optR2")->click();
    child<QCheckBox>(w, "chkDiode")->click();
    goTo(w, page);
    const auto before = w.quantities();
    const QString ergebnis = child<QLabel>(w, "lblErgebnis")->text();
    action(w, "mnuRestart")->trigger();
    QCOMPARE(visiblePages(w), QList<int>{0});
    QVERIFY(child<QRadioButton>(w, "optR2")->isChecked());
    QVERIFY(child<QCheckBox>(w, "chkDiode")->isChecked());
    QVERIFY(child<QLineEdit>(w, "txtTaus")->isReadOnly());
    QVERIFY(!child<QLineEdit>(w, "txtFrequenz")->isReadOnly());
    QCOMPARE(child<QLabel>(w, "lblErgebnis")->text(), ergebnis);
    QCOMPARE(w.quantities().times, before.times);
    QCOMPARE(w.quantities().R2, before.R2);
  }

  void showsTheAboutBox() {
    frmKippwerk w;
    w.show();
    MessageBoxWatcher boxes;
    action(w, "mnuAbout")->trigger();
    QCOMPARE(boxes.seen().size(), std::size_t{1});
    const auto& box = boxes.seen().front();
    QCOMPARE(box.icon, QMessageBox::Information);
    QCOMPARE(box.title, QStringLiteral("Kippwerk"));
    QCOMPARE(box.buttons, 1);
    const QStringList lines = box.text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 7);
    QCOMPARE(lines[0], QStringLiteral("Kippwerk"));
    QVERIFY(lines[1].isEmpty() && lines[5].isEmpty());
    QVERIFY(!lines[2].isEmpty());
    QVERIFY(lines[3].contains(QStringLiteral("Kippwerk-Team")));
    QVERIFY(lines[4].contains(QStringLiteral("@")) &&
            lines[4].contains(QStringLiteral("example.org")));
    QVERIFY(lines[6].contains(QStringLiteral("example.org")));
    for (const QString& line : lines)
      QVERIFY(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')));
  }

  void endsWithBeendenAndExitStatusZero() {
    frmKippwerk w;
    w.show();
    QTimer::singleShot(0, &w, [&w] { action(w, "mnuBeenden")->trigger(); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });  // watchdog
    QCOMPARE(QApplication::exec(), 0);
  }

  void endsWithTheCloseBox() {
    frmKippwerk w;
    w.show();
    QTimer::singleShot(0, &w, [&w] { w.close(); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!w.isVisible());
  }

  void movesTheFocusInTabOrder_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("r2Known");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("start") << 0 << false << QStringList{"Picture1", "cmdZeit", "cmdBauteile"};
    QTest::newRow("known C1") << 1 << false << QStringList{"Picture1",   "optC1",       "txtC1",
                                                           "cmdWeiter1", "cmdZurueck1", "cmbC1"};
    QTest::newRow("known R2") << 1 << true << QStringList{"Picture1",   "optR2",       "txtR2",
                                                          "cmdWeiter1", "cmdZurueck1", "cmbR2"};
    QTest::newRow("time entry") << 2 << false
                                << QStringList{"Picture1",   "txtTein",     "txtTaus",
                                               "cmdWeiter2", "cmdZurueck2", "txtTperiode",
                                               "chkDiode",   "txtFrequenz"};
    QTest::newRow("result") << 3 << false << QStringList{"Picture1", "cmdZurueck3", "cmdFertig"};
    QTest::newRow("timing") << 4 << false
                            << QStringList{"Picture1", "cmdBerechne", "cmdZurueck4", "txtGegR1",
                                           "txtGegR2", "txtGegC1",    "chkD",        "cmbGegR1",
                                           "cmbGegR2", "cmbGegC1"};
  }

  void movesTheFocusInTabOrder() {
    QFETCH(int, page);
    QFETCH(bool, r2Known);
    QFETCH(QStringList, order);
    frmKippwerk w;
    QVERIFY(showActive(w));
    MessageBoxWatcher boxes;
    if (r2Known) child<QRadioButton>(w, "optR2")->click();
    goTo(w, page);
    child(w, "Picture1")->setFocus();
    QStringList seen;
    for (int i = 0; i < order.size() + 1; ++i) {
      QWidget* focus = QApplication::focusWidget();
      QVERIFY(focus != nullptr);
      seen << focus->objectName();
      QTest::keyClick(focus, Qt::Key_Tab);
    }
    QCOMPARE(seen, order + QStringList{"Picture1"});
    QVERIFY(boxes.seen().empty());
  }

  void computesTimesFromComponents_data() {
    QTest::addColumn<QStringList>("inputs");  // R1, R2, C1 texts
    QTest::addColumn<QList<int>>("units");    // R1, R2, C1 unit indices
    QTest::addColumn<bool>("diode");
    QTest::addColumn<QStringList>("lines");
    const QList<int> kOhmUf{1, 1, 2};
    QTest::newRow("start values") << QStringList{"100", "68", "4.7"} << kOhmUf << false
                                  << QStringList{"t-EIN =  .545 s", "t-AUS =  .221 s",
                                                 "t-Periode =  .765 s", "Frequenz =  1.31 Hz"};
    QTest::newRow("diode") << QStringList{"100", "68", "4.7"} << kOhmUf << true
                           << QStringList{"t-EIN =  .324 s", "t-AUS =  .221 s",
                                          "t-Periode =  .545 s", "Frequenz =  1.84 Hz"};
    QTest::newRow("ohms") << QStringList{"100", "68", "4.7"} << QList<int>{0, 0, 2} << false
                          << QStringList{"t-EIN =  .001 s", "t-AUS =  0 s", "t-Periode =  .001 s",
                                         "Frequenz =  1306.6 Hz"};
    QTest::newRow("nanofarad") << QStringList{"1", "1", "1"} << QList<int>{1, 1, 1} << false
                               << QStringList{"t-EIN =  0 s", "t-AUS =  0 s", "t-Periode =  0 s",
                                              "Frequenz =  483091.79 Hz"};
    QTest::newRow("negative R1") << QStringList{"-100", "68", "4.7"} << kOhmUf << false
                                 << QStringList{"t-EIN = -.104 s", "t-AUS =  .221 s",
                                                "t-Periode =  .117 s", "Frequenz =  8.57 Hz"};
    QTest::newRow("empty C1") << QStringList{"100", "68", ""} << kOhmUf << false
                              << QStringList{"t-EIN =  0 s", "t-AUS =  0 s", "t-Periode =  0 s",
                                             "Frequenz =  0 Hz"};
    QTest::newRow("farads") << QStringList{"100", "68", "4.7"} << QList<int>{1, 1, 4} << false
                            << QStringList{"t-EIN =  544824 s", "t-AUS =  220524 s",
                                           "t-Periode =  765348 s", "Frequenz =  0 Hz"};
    QTest::newRow("R2 in its own unit")
        << QStringList{"100", "1", "4.7"} << QList<int>{1, 2, 2} << false
        << QStringList{"t-EIN =  3.567 s", "t-AUS =  3.243 s", "t-Periode =  6.81 s",
                       "Frequenz =  .15 Hz"};
    QTest::newRow("blank inside") << QStringList{"1 00", "68", "4.7"} << kOhmUf << false
                                  << QStringList{"t-EIN =  .545 s", "t-AUS =  .221 s",
                                                 "t-Periode =  .765 s", "Frequenz =  1.31 Hz"};
    QTest::newRow("comma") << QStringList{"100", "68", "4,7"} << kOhmUf << false
                           << QStringList{"t-EIN =  .464 s", "t-AUS =  .188 s",
                                          "t-Periode =  .651 s", "Frequenz =  1.54 Hz"};
  }

  void computesTimesFromComponents() {
    QFETCH(QStringList, inputs);
    QFETCH(QList<int>, units);
    QFETCH(bool, diode);
    QFETCH(QStringList, lines);
    frmKippwerk w;
    w.show();
    goTo(w, 4);
    const char* boxes[] = {"txtGegR1", "txtGegR2", "txtGegC1"};
    const char* lists[] = {"cmbGegR1", "cmbGegR2", "cmbGegC1"};
    for (int i = 0; i < 3; ++i) {
      auto* box = child<QLineEdit>(w, boxes[i]);
      box->selectAll();
      QTest::keyClick(box, Qt::Key_Delete);
      QTest::keyClicks(box, inputs[i]);
      child<QComboBox>(w, lists[i])->setCurrentIndex(units[i]);
    }
    if (diode) QTest::mouseClick(child(w, "chkD"), Qt::LeftButton, {}, QPoint(8, 8));
    QCOMPARE(child<QCheckBox>(w, "chkD")->isChecked(), diode);
    click(w, "cmdBerechne");
    QCOMPARE(child<QLabel>(w, "lblZeiten")->text(), crlf(lines));
    click(w, "cmdBerechne");
    QCOMPARE(child<QLabel>(w, "lblZeiten")->text(), crlf(lines));
    QCOMPARE(visiblePages(w), QList<int>{4});
    QCOMPARE(child<QLineEdit>(w, boxes[2])->text(), inputs[2]);
  }

  // The mouse selects a result text and Ctrl+C copies it; Tab still passes both labels by.
  void letsTheResultTextsBeSelectedAndCopied() {
    frmKippwerk w;
    QVERIFY(showActive(w));
    goTo(w, 3);
    click(w, "cmdFertig");
    goTo(w, 4);
    click(w, "cmdBerechne");
    for (const char* name : {"lblZeiten", "lblErgebnis"}) {
      goTo(w, QLatin1String(name) == QLatin1String("lblZeiten") ? 4 : 3);
      auto* label = child<QLabel>(w, QString::fromLatin1(name));
      QCOMPARE(label->focusPolicy(), Qt::ClickFocus);
      const QPoint from(1, 5), to(label->width() - 2, 5);
      QTest::mousePress(label, Qt::LeftButton, {}, from);
      QTest::mouseMove(label, to);
      QTest::mouseRelease(label, Qt::LeftButton, {}, to);
      QVERIFY2(label->hasSelectedText(), name);
      QTest::keyClick(label, Qt::Key_C, Qt::ControlModifier);
      QCOMPARE(QApplication::clipboard()->text(), label->selectedText());
      QVERIFY(label->text().startsWith(label->selectedText()));
    }
  }

  void storesAllEightQuantitiesButLeavesTheTimeEntryBoxes() {
    frmKippwerk w;
    goTo(w, 4);
    child<QCheckBox>(w, "chkD")->setChecked(true);
    click(w, "cmdBerechne");
    const auto& q = w.quantities();
    QCOMPARE(q.R1, 100000.0);
    QCOMPARE(q.R2, 68000.0);
    QCOMPARE(q.C1, 4.7 * 1e-6);
    QCOMPARE(q.Diode, true);
    QCOMPARE(q.times.tein, (0.69 * 100000.0) * (4.7 * 1e-6));
    QCOMPARE(q.times.frequenz, 1 / q.times.tperiode);
    QCOMPARE(child<QLineEdit>(w, "txtTein")->text(), QStringLiteral(".54"));
    QCOMPARE(child<QLineEdit>(w, "txtFrequenz")->text(), QStringLiteral("1.316"));
  }

  void refusesOutOfRangeInputsWithABoxAndChangesNothing_data() {
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<int>("r1Unit");
    QTest::newRow("exponent 400") << QStringList{"1e400", "68", "4.7"} << 1;
    QTest::newRow("D exponent") << QStringList{"100", "1D309", "4.7"} << 1;
    QTest::newRow("radix beyond 32 bits") << QStringList{"100", "68", "&H100000000"} << 1;
    QTest::newRow("unit scaling overflows") << QStringList{"1e308", "68", "4.7"} << 2;
    QTest::newRow("product overflows") << QStringList{"1e300", "1", "1e300"} << 0;
    QTest::newRow("frequency overflows") << QStringList{"1e-160", "0", "1e-160"} << 0;
  }

  void refusesOutOfRangeInputsWithABoxAndChangesNothing() {
    QFETCH(QStringList, inputs);
    QFETCH(int, r1Unit);
    frmKippwerk w;
    w.show();
    goTo(w, 4);
    click(w, "cmdBerechne");
    const QString before = child<QLabel>(w, "lblZeiten")->text();
    const auto quantities = w.quantities();
    child<QLineEdit>(w, "txtGegR1")->setText(inputs[0]);
    child<QLineEdit>(w, "txtGegR2")->setText(inputs[1]);
    child<QLineEdit>(w, "txtGegC1")->setText(inputs[2]);
    child<QComboBox>(w, "cmbGegR1")->setCurrentIndex(r1Unit);
    child<QComboBox>(w, "cmbGegC1")->setCurrentIndex(4);
    MessageBoxWatcher boxes;
    click(w, "cmdBerechne");
    QCOMPARE(boxes.seen().size(), std::size_t{1});
    QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
    QCOMPARE(boxes.seen()[0].title, QStringLiteral("Kippwerk"));
    QCOMPARE(boxes.seen()[0].buttons, 1);
    QCOMPARE(child<QLabel>(w, "lblZeiten")->text(), before);
    QCOMPARE(w.quantities().times, quantities.times);
    QCOMPARE(w.quantities().R1, quantities.R1);
    QCOMPARE(w.quantities().C1, quantities.C1);
  }

  void readsNumbersWithThePointWhateverTheLocale() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    frmKippwerk w;
    goTo(w, 4);
    click(w, "cmdBerechne");
    QLocale::setDefault(QLocale::c());
    QCOMPARE(
        child<QLabel>(w, "lblZeiten")->text(),
        crlf({"t-EIN =  .545 s", "t-AUS =  .221 s", "t-Periode =  .765 s", "Frequenz =  1.31 Hz"}));
  }

  void embedsTheCircuitPicture() {
    const QImage picture(QStringLiteral(":/kippwerk/circuit.gif"));
    QCOMPARE(picture.size(), QSize(302, 263));
    QFile file(QStringLiteral(":/kippwerk/circuit.gif"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.read(13);
    QVERIFY(header.startsWith("GIF89a") || header.startsWith("GIF87a"));
    QVERIFY(header[10] & 0x80);                 // a global palette ...
    QVERIFY((2 << (header[10] & 0x07)) <= 64);  // ... of at most 64 colours
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x) colours.insert(picture.pixel(x, y));
    QVERIFY(colours.size() <= 64);
    const QColor green(0, 128, 0), red(128, 0, 0), white(Qt::white);
    auto at = [&](int x, int y) { return picture.pixelColor(x, y); };
    for (int x = 35; x <= 235; x += 10) {
      QCOMPARE(at(x, 23), green);   // supply rail
      QCOMPARE(at(x, 219), green);  // ground rail
    }
    for (int y = 39; y <= 72; ++y) {
      QCOMPARE(at(29, y), red);  // R1 outline
      QCOMPARE(at(42, y), red);
    }
    QCOMPARE(at(35, 55), white);  // inside R1
    for (const QPoint corner :
         {QPoint(114, 72), QPoint(195, 72), QPoint(114, 170), QPoint(195, 170)}) {
      QCOMPARE(at(corner.x(), corner.y()), red);  // chip corners
    }
    for (const QPoint dot :
         {QPoint(35, 88), QPoint(35, 153), QPoint(97, 153), QPoint(81, 88), QPoint(81, 153),
          QPoint(140, 23), QPoint(163, 23), QPoint(133, 219), QPoint(166, 219)}) {
      for (const QPoint d :
           {QPoint(2, 2), QPoint(-2, 2), QPoint(2, -2), QPoint(-2, -2), QPoint(3, 0)}) {
        QCOMPARE(at(dot.x() + d.x(), dot.y() + d.y()), green);  // filled, 7 pixels across
      }
      QVERIFY(at(dot.x() + 3, dot.y() + 3) != green);
    }
    QCOMPARE(at(0, 0), white);
    int black = 0;
    for (int y = 110; y < 135; ++y)
      for (int x = 130; x < 180; ++x) black += at(x, y) == QColor(Qt::black);
    QVERIFY(black > 50);  // the large "555"
  }

  void embedsTheFlagIcon_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<int>>("bands");  // first black, red, yellow, bottom row
    QTest::newRow("32") << 32 << QList<int>{6, 12, 19, 25};
    QTest::newRow("16") << 16 << QList<int>{3, 6, 10, 13};
  }

  void embedsTheFlagIcon() {
    QFETCH(int, size);
    QFETCH(QList<int>, bands);
    QImageReader reader(QStringLiteral(":/kippwerk/kippwerk.ico"));
    QCOMPARE(reader.imageCount(), 2);
    QImage image;
    for (int i = 0; i < reader.imageCount() && image.width() != size; ++i) {
      reader.jumpToImage(i);
      image = reader.read();
    }
    QCOMPARE(image.size(), QSize(size, size));
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const QColor c = image.pixelColor(x, y);
        const bool edge = x == 0 || x == size - 1;
        QColor want = Qt::transparent;
        if (y >= bands[0] && y <= bands[3]) want = Qt::black;
        if (y >= bands[1] && y < bands[2] && !edge) want = QColor(255, 0, 0);
        if (y >= bands[2] && y < bands[3] && !edge) want = QColor(255, 255, 0);
        if (want == Qt::transparent) {
          QVERIFY2(c.alpha() == 0, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        } else {
          QCOMPARE(c, want);
        }
      }
    }
  }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
