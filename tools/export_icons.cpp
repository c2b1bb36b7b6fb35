// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes the window icon as PNG files for the desktop's icon theme:
//   export_icons OUTDIR ICON.ico...
// giving OUTDIR/N.png for every N x N image of the icon files, each drawn at its own size by
// the resource generator.

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageReader>
#include <cstdio>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
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
      ok = ok && image.save(out.filePath(QStringLiteral("%1.png").arg(image.width())));
    }
  }
  return ok ? 0 : 1;
}
