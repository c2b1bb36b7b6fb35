// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The program's command line as a user meets it: the installed binary started with options,
// without a display, its exit status and what it writes to stdout and stderr; --pdf writes a
// design's data sheet without one. And the desktop's view of a design file: the packaged file
// type, compiled by update-mime-database into a scratch data folder, as Qt's MIME database sees it.

#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class CommandLineTest : public QObject {
  Q_OBJECT

 private slots:
  // Before anything asks for a MIME type: the database reads its folders once.
  void initTestCase() {
    QVERIFY(scratch_.isValid());
    const QString mime = scratch_.filePath(QStringLiteral("share/mime"));
    QVERIFY(QDir().mkpath(mime + QStringLiteral("/packages")));
    QVERIFY(QFile::copy(QStringLiteral(KIPPWERK_SOURCE "/packaging/org.example.kippwerk.xml"),
                        mime + QStringLiteral("/packages/org.example.kippwerk.xml")));
    QCOMPARE(QProcess::execute(QStringLiteral("update-mime-database"), {mime}), 0);
    qputenv("XDG_DATA_DIRS",
            scratch_.filePath(QStringLiteral("share")).toLocal8Bit() + ":/usr/share");
    qputenv("XDG_DATA_HOME", scratch_.filePath(QStringLiteral("nothing")).toLocal8Bit());
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  }

  void theDesktopKnowsADesign_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("type");
    QFile golden(QStringLiteral(KIPPWERK_SOURCE "/tests/ui/golden/normwerte.kippwerk"));
    QVERIFY(golden.open(QIODevice::ReadOnly));
    const QByteArray written = golden.readAll();
    const QString design = QStringLiteral("application/x-kippwerk");
    QTest::newRow("by its name") << "entwurf.kippwerk" << QByteArray("{}") << design;
    QTest::newRow("by its content, renamed") << "entwurf" << written << design;
    QTest::newRow("written compactly by another program")
        << "kompakt" << QByteArray(R"({"format":"kippwerk-entwurf","version":1})") << design;
    QTest::newRow("other JSON stays JSON")
        << "daten.json" << QByteArray(R"({"format":"x"})") << "application/json";
    QTest::newRow("the name alone in a text is no design")
        << "notiz.txt" << QByteArray("format kippwerk-entwurf") << "text/plain";
  }

  void theDesktopKnowsADesign() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, type);
    QFile file(scratch_.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();
    const QMimeType found = QMimeDatabase().mimeTypeForFile(file.fileName());
    QCOMPARE(found.name(), type);
    if (type.endsWith(QLatin1String("kippwerk"))) {
      QVERIFY(found.inherits(QStringLiteral("application/json")));
      QCOMPARE(found.iconName(), QStringLiteral("application-x-kippwerk"));
      QCOMPARE(found.comment(), QStringLiteral("Kippwerk-Entwurf"));
      QVERIFY(found.globPatterns().contains(QStringLiteral("*.kippwerk")));
    }
  }

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
