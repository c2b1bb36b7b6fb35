// Writes the window icon as PNG files for the desktop's icon theme:
//   export_icons ICON.ico OUTDIR
// giving OUTDIR/16.png, 32.png (the icon's own images) and 48.png, 64.png, 128.png (the 32 x 32
// image enlarged pixel by pixel, so the flag stays sharp).

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageReader>
#include <cstdio>
#include <map>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: export_icons ICON.ico OUTDIR\n");
    return 2;
  }
  QImageReader reader(QString::fromLocal8Bit(argv[1]));
  std::map<int, QImage> images;
  for (int i = 0; i < reader.imageCount(); ++i) {
    reader.jumpToImage(i);
    const QImage image = reader.read();
    images[image.width()] = image;
  }
  if (!images.count(16) || !images.count(32)) {
    std::fprintf(stderr, "export_icons: %s lacks the 16 and 32 pixel images\n", argv[1]);
    return 1;
  }
  const QDir out(QString::fromLocal8Bit(argv[2]));
  bool ok = images[16].save(out.filePath("16.png")) && images[32].save(out.filePath("32.png"));
  for (int size : {48, 64, 128}) {
    ok = ok && images[32]
                   .scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                   .save(out.filePath(QStringLiteral("%1.png").arg(size)));
  }
  return ok ? 0 : 1;
}
