// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/widgets/flagicon.h"

#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <array>
#include <map>

namespace kippwerk::ui {
namespace {

struct Source {
  int size;
  const char* file;
  int index;  // of the image in its icon file
};

constexpr std::array<Source, 8> kSources{{
    {16, ":/kippwerk/kippwerk.ico", 1},
    {24, ":/kippwerk/kippwerk-large.ico", 0},
    {32, ":/kippwerk/kippwerk.ico", 0},
    {48, ":/kippwerk/kippwerk-large.ico", 1},
    {64, ":/kippwerk/kippwerk-large.ico", 2},
    {96, ":/kippwerk/kippwerk-large.ico", 3},
    {128, ":/kippwerk/kippwerk-large.ico", 4},
    {256, ":/kippwerk/kippwerk-large.ico", 5},
}};

class FlagIconEngine : public QIconEngine {
 public:
  QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
    // The drawn size that fits, or the next larger one scaled down.
    const Source* source = &kSources.back();
    for (const Source& s : kSources) {
      if (s.size >= std::max(size.width(), size.height())) {
        source = &s;
        break;
      }
    }
    QPixmap& drawn = loaded_[source->size];
    if (drawn.isNull()) {
      QImageReader reader(QString::fromLatin1(source->file));
      reader.jumpToImage(source->index);
      drawn = QPixmap::fromImage(reader.read());
    }
    if (drawn.size() == size) return drawn;
    return drawn.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const qreal ratio = painter->device()->devicePixelRatioF();
    QPixmap p = pixmap(rect.size() * ratio, mode, state);
    p.setDevicePixelRatio(ratio);
    painter->drawPixmap(rect.topLeft(), p);
  }

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    QList<QSize> sizes;
    for (const Source& s : kSources) sizes << QSize(s.size, s.size);
    return sizes;
  }

  QIconEngine* clone() const override { return new FlagIconEngine(*this); }

 private:
  std::map<int, QPixmap> loaded_;
};

}  // namespace

QIcon flagIcon() {
  return QIcon(new FlagIconEngine);
}

}  // namespace kippwerk::ui
