// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes the window icon as PNG files for the desktop's icon theme:
//   export_icons OUTDIR ICON.ico...
// giving OUTDIR/N.png for every N x N image of the icon files, each drawn at its own size by
// the resource generator, and OUTDIR/document-N.png, the icon of a design file: a sheet with a
// turned-down corner that carries the program's icon.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cstdio>

namespace {

QImage documentIcon(const QImage& icon) {
  const int n = icon.width();
  const double w = 0.78 * n, left = (n - w) / 2, fold = 0.25 * n, pen = std::max(1.0, n / 32.0);
  QImage out(n, n, QImage::Format_ARGB32);
  out.fill(Qt::transparent);
  QPainter p(&out);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF sheet(left + pen / 2, pen / 2, w - pen, n - pen);
  QPainterPath outline;
  outline.moveTo(sheet.topLeft());
  outline.lineTo(sheet.right() - fold, sheet.top());
  outline.lineTo(sheet.right(), sheet.top() + fold);
  outline.lineTo(sheet.bottomRight());
  outline.lineTo(sheet.bottomLeft());
  outline.closeSubpath();
  p.setPen(QPen(QColor(0x55, 0x55, 0x55), pen));
  p.setBrush(Qt::white);
  p.drawPath(outline);
  QPainterPath corner;
  corner.moveTo(sheet.right() - fold, sheet.top());
  corner.lineTo(sheet.right() - fold, sheet.top() + fold);
  corner.lineTo(sheet.right(), sheet.top() + fold);
  p.setBrush(QColor(0xdd, 0xdd, 0xdd));
  p.drawPath(corner);
  const double inner = 0.56 * n;
  p.drawImage(QRectF((n - inner) / 2, n - inner - 0.1 * n, inner, inner), icon);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: export_icons OUTDIR ICON.ico...\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  bool ok = true;
  for (int arg = 2; arg < argc; ++arg) {
    QImageReader reader(QString::fromLocal8Bit(argv[arg]));
    if (reader.imageCount() < 1) {
      std::fprintf(stderr, "export_icons: cannot read %s\n", argv[arg]);
      return 1;
    }
    for (int i = 0; i < reader.imageCount(); ++i) {
      reader.jumpToImage(i);
      const QImage image = reader.read();
      ok = ok && image.save(out.filePath(QStringLiteral("%1.png").arg(image.width()))) &&
           documentIcon(image).save(
               out.filePath(QStringLiteral("document-%1.png").arg(image.width())));
    }
  }
  return ok ? 0 : 1;
}
