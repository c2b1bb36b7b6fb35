// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The program's command line as a user meets it: the installed binary started with options,
// without a display, its exit status and what it writes to stdout and stderr; --pdf writes a
// design's data sheet without one.

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class CommandLineTest : public QObject {
  Q_OBJECT

 private slots:
  void answersWithoutAWindow_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");  // the start of stdout
    QTest::addColumn<QString>("err");  // all of stderr
    const QString hint = QStringLiteral("Mehr dazu mit „kippwerk --help“.\n");
    const QString usage = QStringLiteral("Aufruf: kippwerk [Optionen] [DATEI.kippwerk]\n");
    QTest::newRow("--help") << QStringList{"--help"} << 0 << usage << "";
    QTest::newRow("-h") << QStringList{"-h"} << 0 << usage << "";
    QTest::newRow("--version") << QStringList{"--version"} << 0 << "Kippwerk " KIPPWERK_VERSION "\n"
                               << "";
    QTest::newRow("-v after a toolkit option")
        << QStringList{"-platform", "offscreen", "-v"} << 0 << "Kippwerk " KIPPWERK_VERSION "\n"
        << "";
    QTest::newRow("unknown long option") << QStringList{"--rechne"} << 1 << ""
                                         << "kippwerk: Unbekannte Option „--rechne“.\n" + hint;
    QTest::newRow("unknown short option before --help")
        << QStringList{"-x", "--help"} << 1 << ""
        << "kippwerk: Unbekannte Option „-x“.\n" + hint;
    QTest::newRow("unknown word option") << QStringList{"-rechne"} << 1 << ""
                                         << "kippwerk: Unbekannte Option „-rechne“.\n" + hint;
    QTest::newRow("two files") << QStringList{"a.kippwerk", "b.kippwerk"} << 1 << ""
                               << "kippwerk: Unerwartetes Argument „b.kippwerk“.\n" + hint;
    // The data sheet needs no display; what keeps it from being written is said in German.
    const QString golden = QStringLiteral(KIPPWERK_SOURCE "/tests/ui/golden/normwerte.kippwerk");
    const QString sheet = scratch_.filePath(QStringLiteral("blatt.pdf"));
    QTest::newRow("--pdf") << QStringList{"--pdf", sheet, golden} << 0 << ""
                           << "";
    QTest::newRow("--pdf without a design")
        << QStringList{"--pdf", sheet} << 1 << ""
        << "kippwerk: Zu „--pdf“ gehört ein Entwurf: kippwerk --pdf AUSGABE.pdf "
           "DATEI.kippwerk\n" +
               hint;
    QTest::newRow("--pdf of a missing design")
        << QStringList{"--pdf", sheet, "fehlt.kippwerk"} << 1 << ""
        << "kippwerk: „fehlt.kippwerk“ gibt es nicht.\n";
    QTest::newRow("-- ends the options")
        << QStringList{"--pdf", sheet, "--", "-x.kippwerk"} << 1 << ""
        << "kippwerk: „-x.kippwerk“ gibt es nicht.\n";
    QTest::newRow("--pdf into a folder")
        << QStringList{"--pdf", scratch_.path(), golden} << 1 << ""
        << "kippwerk: „" + QFileInfo(scratch_.path()).fileName() +
               "“ ist keine gewöhnliche Datei; dort wird nichts gespeichert.\n";
    QTest::newRow("toolkit option without its value")
        << QStringList{"-style"} << 1 << ""
        << "kippwerk: Der Option „-style“ fehlt ihr Wert.\n" + hint;
    QTest::newRow("a value for an option that takes none")
        << QStringList{"--version=1"} << 1 << ""
        << "kippwerk: Die Option „--version“ nimmt keinen Wert an.\n" + hint;
    QTest::newRow("a value for a short option that takes none")
        << QStringList{"-h=x"} << 1 << ""
        << "kippwerk: Die Option „-h“ nimmt keinen Wert an.\n" + hint;
    // The toolkit would abort with its own English message and status 134.
    QTest::newRow("a plain start without a display")
        << QStringList{} << 1 << ""
        << "kippwerk: Das Fenster lässt sich nicht öffnen, weil keine grafische Oberfläche "
           "erreichbar ist (ist DISPLAY oder WAYLAND_DISPLAY gesetzt?). Ohne sie laufen nur "
           "„kippwerk --help“ und „kippwerk --version“.\n";
  }

  void answersWithoutAWindow() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), scratch_.path());
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KIPPWERK_BINARY), arguments);
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), status);
    const QString stdoutText = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY2(out.isEmpty() ? stdoutText.isEmpty() : stdoutText.startsWith(out),
             qPrintable(stdoutText));
    QCOMPARE(QString::fromUtf8(p.readAllStandardError()), err);
    if (QTest::currentDataTag() == QLatin1String("--pdf")) {
      QFile pdf(scratch_.filePath(QStringLiteral("blatt.pdf")));
      QVERIFY(pdf.open(QIODevice::ReadOnly));
      QVERIFY(pdf.read(5) == "%PDF-");
    }
  }

 private:
  QTemporaryDir scratch_;
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "commandline_test.moc"
