// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Designs as files: the checked-in files of format 1 open in every window, random designs come
// back from a file as they were, hostile files leave the window exactly as it was, a failed
// save leaves the old file whole, and unsaved changes are asked about, by each window and by
// the main window before it closes.

#include <sys/stat.h>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <random>

#include "core/numbers.h"
#include "ui/files/designdocument.h"
#include "ui/windows/frmMonoflop.h"
#include "ui_support.h"

using namespace kippwerk::testing;
using kippwerk::files::Design;
using kippwerk::files::DesignKind;
using kippwerk::ui::DesignDialogs;
using kippwerk::ui::DesignDocument;

namespace {

const char* const kWindows[] = {"Normwerte", "Monoflop", "Nachmessen"};

QWidget* designWindow(frmKippwerk& w, const QString& kind) {
  const QString menu = kind == QLatin1String("Normwerte")  ? QStringLiteral("mnuNormwerte")
                       : kind == QLatin1String("Monoflop") ? QStringLiteral("mnuMonoflop")
                                                           : QStringLiteral("mnuNachmessen");
  child<QAction>(w, menu)->trigger();
  return child<QWidget>(w, QStringLiteral("frm") + kind);
}

DesignDocument* documentOf(const QWidget* window) {
  return window->findChild<DesignDocument*>();
}

QString golden(const QString& kind) {
  return QStringLiteral(KIPPWERK_SOURCE "/tests/ui/golden/") + kind.toLower() + ".kippwerk";
}

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

// Random values a user could give each control: a listed entry, a readable number, a state.
void randomise(QWidget* window, std::mt19937& rng) {
  auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  for (QComboBox* list : window->findChildren<QComboBox*>()) {
    if (!list->accessibleName().isEmpty() && list->count() > 0) {
      list->setCurrentIndex(pick(list->count()));
    }
  }
  for (QCheckBox* check : window->findChildren<QCheckBox*>()) check->setChecked(pick(2) == 0);
  for (QRadioButton* option : window->findChildren<QRadioButton*>()) {
    if (pick(2) == 0) option->setChecked(true);
  }
  const char* const numbers[] = {"1", "0.54", "4.7", "12", "1E-3", "100", "", "33", ".22", "7"};
  for (QLineEdit* box : window->findChildren<QLineEdit*>()) {
    if (!box->accessibleName().isEmpty()) box->setText(QString::fromLatin1(numbers[pick(10)]));
  }
}

}  // namespace

class DesignFileTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { pinTestEnvironment(); }

  // Files of format 1 as written today: they open in their windows, which then hold exactly
  // what they say, and write it back the same.
  void opensTheCheckedInFiles_data() {
    QTest::addColumn<QString>("kind");
    for (const char* kind : kWindows) QTest::newRow(kind) << QString::fromLatin1(kind);
  }
  void opensTheCheckedInFiles() {
    QFETCH(QString, kind);
    frmKippwerk w;
    const auto opened = w.openDesign(golden(kind));
    QVERIFY2(opened.ok(), opened.ok() ? "" : qPrintable(opened.error()));
    QCOMPARE(opened.value()->objectName(), QStringLiteral("frm") + kind);
    const auto file = kippwerk::files::readDesignFile(golden(kind));
    QVERIFY(file.ok());
    Design now = documentOf(opened.value())->design();
    QCOMPARE(now.inputs, file.value().inputs);
    QCOMPARE(now.choices, file.value().choices);
    QCOMPARE(now.flags, file.value().flags);
    if (!file.value().selected.empty()) QCOMPARE(now.selected, file.value().selected);
    QVERIFY(!opened.value()->isWindowModified());
    QVERIFY(opened.value()->windowTitle().contains(QFileInfo(golden(kind)).fileName()));
  }

  // Random designs of each window: saved, opened in a fresh program, the same in every box,
  // choice and the highlighted row.
  void comesBackFromAFileAsItWas_data() { opensTheCheckedInFiles_data(); }
  void comesBackFromAFileAsItWas() {
    QFETCH(QString, kind);
    QTemporaryDir dir;
    std::mt19937 rng(20261209);
    int thirdRowChosen = 0;
    for (int round = 0; round < 4; ++round) {
      const QString path = dir.filePath(QStringLiteral("entwurf%1.kippwerk").arg(round));
      Design written;
      {
        frmKippwerk w;
        QWidget* window = designWindow(w, kind);
        // The first round keeps the defaults' rows, with the worked board measured.
        if (round > 0) {
          randomise(window, rng);
        } else if (kind == QLatin1String("Nachmessen")) {
          apply(*window, {"txtAMessEin", "0.515", "txtAMessAus", "0.205"});
        }
        auto* table = window->findChild<QTableWidget*>();
        if (table->rowCount() > 2) {
          table->selectRow(2);
          ++thirdRowChosen;
        }
        Answers answers;
        answers.file = path;
        QVERIFY(documentOf(window)->saveAs());
        QVERIFY2(answers.warnings.isEmpty(), qPrintable(answers.warnings.join('\n')));
        written = documentOf(window)->design();
      }
      frmKippwerk w;
      const auto opened = w.openDesign(path);
      QVERIFY2(opened.ok(), opened.ok() ? "" : qPrintable(opened.error()));
      const Design read = documentOf(opened.value())->design();
      QCOMPARE(read.inputs, written.inputs);
      QCOMPARE(read.choices, written.choices);
      QCOMPARE(read.flags, written.flags);
      QCOMPARE(read.selected, written.selected);
    }
    QVERIFY(thirdRowChosen > 0);  // a row other than the first comes back too
  }

  // Whatever is wrong with a file, the window says so naming the file and stays as it was.
  void refusesHostileFilesAndChangesNothing_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    const QByteArray good = readAll(golden(QStringLiteral("Normwerte")));
    auto replaced = [&good](const char* from, const char* to) {
      QByteArray b = good;
      return b.replace(from, to);
    };
    QTest::newRow("truncated") << good.left(good.size() / 2) << "kein lesbarer Kippwerk-Entwurf";
    QTest::newRow("empty") << QByteArray() << "kein lesbarer Kippwerk-Entwurf";
    QTest::newRow("not json") << QByteArray("R1 = 150 k") << "kein lesbarer Kippwerk-Entwurf";
    QTest::newRow("an array") << QByteArray("[1, 2]") << "ist kein Kippwerk-Entwurf";
    QTest::newRow("other format") << replaced("\"kippwerk-entwurf\"", "\"anderes\"")
                                  << "ist kein Kippwerk-Entwurf";
    QTest::newRow("newer version")
        << replaced("\"version\": 1", "\"version\": 2") << "neueren Kippwerk-Version (Format 2)";
    QTest::newRow("version text") << replaced("\"version\": 1", "\"version\": \"1\"")
                                  << "keine gültige Formatnummer";
    QTest::newRow("unknown window")
        << replaced("\"Normwerte\"", "\"Astabil\"") << "nennt kein bekanntes Fenster";
    QTest::newRow("other window") << replaced("\"fenster\": \"Normwerte\"",
                                              "\"fenster\": \"Monoflop\"")
                                  << "Entwurf für das Fenster „Monoflop“";
    QTest::newRow("missing key") << replaced("\"R min\": \"1\",", "") << "keinen Wert für „R min“";
    QTest::newRow("missing section")
        << replaced("\"schalter\":", "\"Schalter\":") << "keinen Abschnitt „schalter“";
    QTest::newRow("number for text")
        << replaced("\"R min\": \"1\"", "\"R min\": 1") << "bei „R min“ keinen Text";
    QTest::newRow("text for flag")
        << replaced("\"Diode parallel zu R2\": true", "\"Diode parallel zu R2\": \"ja\"")
        << "bei „Diode parallel zu R2“ weder true noch false";
    QTest::newRow("unreadable number") << replaced("\"R min\": \"1\"", "\"R min\": \"eins\"")
                                       << "bei „R min“ keinen lesbaren Wert";
    QTest::newRow("huge number") << replaced("\"R min\": \"1\"", "\"R min\": \"1E999\"")
                                 << "bei „R min“ keinen lesbaren Wert";
    QTest::newRow("unknown entry")
        << replaced("\"E24\"", "\"E7\"") << "bei „Reihe der Widerstände“ keinen Eintrag der Liste";
    QTest::newRow("nul in text") << replaced("\"R min\": \"1\"", "\"R min\": \"1\\u0000\"")
                                 << "bei „R min“ unzulässige Zeichen";
    QTest::newRow("lone surrogate") << replaced("\"R min\": \"1\"", "\"R min\": \"\\ud800\"")
                                    << "bei „R min“ unzulässige Zeichen";
    QTest::newRow("inputs not an object")
        << replaced("\"eingaben\": {", "\"eingaben\": [{") << "kein lesbarer Kippwerk-Entwurf";
    QTest::newRow("deep nesting") << QByteArray(5000, '[') << "zu tief verschachtelt";
    QByteArray huge = good;
    huge.append(QByteArray(1024 * 1024 + 1 - good.size(), ' '));
    QTest::newRow("1 MiB + 1") << huge << "größer als 1 MiB";
  }
  void refusesHostileFilesAndChangesNothing() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kaputt.kippwerk"));
    writeAll(path, bytes);
    frmKippwerk w;
    QWidget* window = designWindow(w, QStringLiteral("Normwerte"));
    apply(*window, {"txtNTein", "0.61"});
    documentOf(window)->design();  // nothing saved: the title says Unbenannt
    const Design before = documentOf(window)->design();
    const QString title = window->windowTitle();
    Answers answers;
    QVERIFY(!documentOf(window)->openFile(path));
    QCOMPARE(answers.warnings.size(), 1);
    QVERIFY2(answers.warnings.front().contains(message), qPrintable(answers.warnings.front()));
    QVERIFY(answers.warnings.front().startsWith(QStringLiteral("„kaputt.kippwerk“")));
    QCOMPARE(documentOf(window)->design(), before);
    QCOMPARE(window->windowTitle(), title);
  }

  // What the format's document promises: a byte order mark is skipped, of two equal keys the
  // last counts, unknown keys are ignored, exactly 1 MiB is read.
  void readsWhatTheFormatAllows() {
    const QByteArray good = readAll(golden(QStringLiteral("Normwerte")));
    QByteArray twice = good;
    twice.replace("\"R min\": \"1\",", "\"R min\": \"3\", \"R min\": \"2\", \"neu\": \"x\",");
    QByteArray full = good;
    full.append(QByteArray(1024 * 1024 - good.size(), ' '));
    for (const auto& [name, bytes, rMin] :
         {std::tuple{"bom", QByteArray("\xEF\xBB\xBF") + good, QStringLiteral("1")},
          std::tuple{"twice", twice, QStringLiteral("2")},
          std::tuple{"1 MiB", full, QStringLiteral("1")}}) {
      const auto read = kippwerk::files::readDesign(bytes, QStringLiteral("x"));
      QVERIFY2(read.ok(), name);
      QCOMPARE(read.value().inputs.at(QStringLiteral("R min")), rMin);
    }
    QVERIFY(!kippwerk::files::writeDesign(kippwerk::files::readDesign(good, "x").value())
                 .startsWith("\xEF"));
  }

  // Not a regular file: refused before it is opened (a named pipe would block the reading).
  void refusesWhatIsNotARegularFile() {
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("rohr.kippwerk"));
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString& path : {pipe, dir.path()}) {
      const auto read = kippwerk::files::readDesignFile(path);
      QVERIFY(!read.ok());
      QVERIFY2(read.error().contains(QStringLiteral("keine gewöhnliche Datei")),
               qPrintable(read.error()));
    }
    QVERIFY(!kippwerk::files::saveBytes(pipe, "x").ok());
  }

  // A write that fails leaves the old file whole and says why; so does a folder that is a file.
  void aFailedSaveKeepsTheOldFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("alt.kippwerk"));
    writeAll(path, "alt");
    const auto failed = kippwerk::files::saveBytes(
        path, "neu", [](QIODevice& out, const QByteArray& b) { return out.write(b.left(1)) < 0; });
    QVERIFY(!failed.ok());
    QVERIFY(failed.error().contains(QStringLiteral("lässt sich nicht speichern")));
    QCOMPARE(readAll(path), QByteArray("alt"));
    const auto noFolder = kippwerk::files::saveBytes(path + QStringLiteral("/neu.kippwerk"), "x");
    QVERIFY(!noFolder.ok());
    QVERIFY(noFolder.error().startsWith(QStringLiteral("„neu.kippwerk“ lässt sich nicht")));
    QVERIFY(kippwerk::files::saveBytes(path, "neu").ok());
    QCOMPARE(readAll(path), QByteArray("neu"));
  }

  // A change by the user marks the title; closing then asks: Abbrechen keeps the window,
  // Verwerfen closes it, Speichern saves first. Without a file Speichern asks where.
  void asksBeforeChangesAreLost() {
    QTemporaryDir dir;
    frmKippwerk w;
    QWidget* window = designWindow(w, QStringLiteral("Monoflop"));
    QVERIFY(window->windowTitle().startsWith(QStringLiteral("Monoflop – Unbenannt")));
    QVERIFY(!window->isWindowModified());
    QLineEdit* t = in(window, "txtMT");
    t->setFocus();
    QTest::keyClick(t, Qt::Key_5);
    QVERIFY(window->isWindowModified());
    Answers answers;
    answers.answer = DesignDialogs::Answer::Cancel;
    QVERIFY(!window->close());
    QVERIFY(window->isVisible());
    QCOMPARE(answers.asked.size(), 1);
    answers.answer = DesignDialogs::Answer::Save;
    answers.file = dir.filePath(QStringLiteral("puls.kippwerk"));
    QVERIFY(window->close());
    QVERIFY(QFile::exists(answers.file));
    QVERIFY(window->windowTitle().startsWith(QStringLiteral("Monoflop – puls.kippwerk")));
    // Another change, then the main window closes: it asks the design window first.
    window->show();
    QTest::keyClick(t, Qt::Key_5);
    answers.answer = DesignDialogs::Answer::Cancel;
    QVERIFY(!w.close());
    QVERIFY(window->isVisible());
    answers.answer = DesignDialogs::Answer::Discard;
    QVERIFY(w.mayCloseDesigns());
  }

  // The keys of the menu: Ctrl+S saves (the first time asking where), Ctrl+Shift+S asks again,
  // Ctrl+O opens, Ctrl+P prints.
  void keysReachTheOperations() {
    QTemporaryDir dir;
    frmKippwerk w;
    QWidget* window = designWindow(w, QStringLiteral("Normwerte"));
    QVERIFY(QTest::qWaitForWindowActive(window));
    Answers answers;
    answers.file = dir.filePath(QStringLiteral("a.kippwerk"));
    QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(QFile::exists(answers.file));
    QCOMPARE(answers.asked.size(), 1);
    QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);  // to the same file, unasked
    QCOMPARE(answers.asked.size(), 1);
    answers.file = dir.filePath(QStringLiteral("b.kippwerk"));
    QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(QFile::exists(answers.file));
    answers.file = golden(QStringLiteral("Normwerte"));
    QTest::keyClick(window, Qt::Key_O, Qt::ControlModifier);
    QVERIFY(window->windowTitle().contains(QStringLiteral("normwerte.kippwerk")));
    QTest::keyClick(window, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(answers.printers, 1);
    QVERIFY(answers.warnings.isEmpty());
  }

  // "Entwurf öffnen …" of the main window opens the file in the window it is for.
  void theMainWindowOpensADesignInItsWindow() {
    frmKippwerk w;
    Answers answers;
    answers.file = golden(QStringLiteral("Nachmessen"));
    action(w, "mnuEntwurfOeffnen")->trigger();
    auto* window = child<QWidget>(w, QStringLiteral("frmNachmessen"));
    QVERIFY(window->isVisible());
    QCOMPARE(in(window, "txtAMessEin")->text(), QStringLiteral("0.515"));
  }

  // The data sheet as a PDF: one A4 page, its text searchable with the parts, the times and
  // the pass rate, every font embedded, no bitmap, under 500 kB.
  void writesASearchableDataSheet_data() { opensTheCheckedInFiles_data(); }
  void writesASearchableDataSheet() {
    QFETCH(QString, kind);
    QTemporaryDir dir;
    frmKippwerk w;
    const auto opened = w.openDesign(golden(kind));
    QVERIFY(opened.ok());
    Answers answers;
    answers.file = dir.filePath(QStringLiteral("blatt.pdf"));
    QVERIFY(documentOf(opened.value())->writePdf());
    QVERIFY(QFileInfo(answers.file).size() > 1000);
    QVERIFY(QFileInfo(answers.file).size() < 500 * 1024);
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(),
             "pdftotext missing: tools/kw installs poppler-utils");
    auto run = [](const QString& tool, const QStringList& args) {
      QProcess p;
      p.start(tool, args);
      p.waitForFinished(30000);
      return QString::fromUtf8(p.readAllStandardOutput());
    };
    const QString text = run(QStringLiteral("pdftotext"), {answers.file, QStringLiteral("-")});
    const Design d = documentOf(opened.value())->design();
    QStringList wanted{QStringLiteral("Kippwerk 1.3.0")};
    for (const auto& [key, value] : d.selected) wanted << value;
    if (kind != QLatin1String("Nachmessen")) wanted << QStringLiteral("Ausbeute:");
    if (kind == QLatin1String("Normwerte")) wanted << QStringLiteral("541.7 ms");
    if (kind == QLatin1String("Nachmessen")) wanted << QStringLiteral("0.515");
    for (const QString& word : wanted) {
      QVERIFY2(text.contains(word), qPrintable(word + "\n" + text));
    }
    const QString info = run(QStringLiteral("pdfinfo"), {answers.file});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))), qPrintable(info));
    QVERIFY2(info.contains(QStringLiteral("(A4)")), qPrintable(info));
    const QStringList fonts =
        run(QStringLiteral("pdffonts"), {answers.file}).split('\n', Qt::SkipEmptyParts).mid(2);
    QVERIFY(!fonts.isEmpty());
    // The columns emb, sub, uni, object, generation: embedded, each of them.
    const QRegularExpression embedded(
        QStringLiteral("\\syes\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+$"));
    for (const QString& font : fonts) QVERIFY2(font.contains(embedded), qPrintable(font));
    const QStringList images =
        run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), answers.file})
            .split('\n', Qt::SkipEmptyParts);
    QCOMPARE(images.size(), 2);  // the two heading lines, no image
  }
};

QTEST_MAIN(DesignFileTest)
#include "designfile_test.moc"
