// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The window at twice the scale, as on a 200 % desktop: the circuit picture and the window
// icon come in the screen's resolution instead of being enlarged pixel by pixel.

#include <QImageReader>
#include <QtTest>

#include "ui/widgets/widgets.h"
#include "ui_support.h"

using namespace kippwerk::testing;

class ScaleTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    pinTestEnvironment();
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
  }

  void drawsTheCircuitAtTheScreensResolution() {
    frmKippwerk w;
    w.show();
    auto* box = child<kippwerk::ui::PictureBox>(w, QStringLiteral("Picture1"));
    const QImage shown = box->grab().toImage();
    QCOMPARE(shown.devicePixelRatio(), 2.0);
    QImage drawn(QStringLiteral(":/kippwerk/circuit@2x.gif"));
    const QImage doubled = QImage(QStringLiteral(":/kippwerk/circuit.gif"))
                               .scaled(drawn.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QRect inner = box->contentsRect();
    const QRect device(inner.topLeft() * 2, inner.size() * 2);
    auto region = [&](const QImage& image, QPoint from) {
      QImage copy = image.copy(QRect(from, device.size())).convertToFormat(QImage::Format_RGB32);
      copy.setDevicePixelRatio(1);
      return copy;
    };
    const QImage onScreen = region(shown, device.topLeft());
    QCOMPARE(onScreen, region(drawn, {0, 0}));
    QVERIFY(onScreen != region(doubled, {0, 0}));
  }

  void givesTheIconInTheSizeAsked() {
    frmKippwerk w;
    QList<int> sizes;
    for (const QSize& s : w.windowIcon().availableSizes()) sizes << s.width();
    std::sort(sizes.begin(), sizes.end());
    QCOMPARE(sizes, (QList<int>{16, 24, 32, 48, 64, 96, 128, 256}));
    // 32 pixels of the desktop are 64 of the screen: the generator's own 64 pixel flag.
    QImage shown = w.windowIcon().pixmap(QSize(32, 32)).toImage();
    QCOMPARE(shown.size(), QSize(64, 64));
    shown.setDevicePixelRatio(1);
    QImageReader reader(QStringLiteral(":/kippwerk/kippwerk-large.ico"));
    QImage drawn;
    for (int i = 0; i < reader.imageCount() && drawn.width() != 64; ++i) {
      reader.jumpToImage(i);
      drawn = reader.read();
    }
    QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32),
             drawn.convertToFormat(QImage::Format_ARGB32));
  }
};

int main(int argc, char** argv) {
  qputenv("QT_SCALE_FACTOR", "2");
  QApplication app(argc, argv);
  ScaleTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "scale_test.moc"
