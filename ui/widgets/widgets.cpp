// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/widgets/widgets.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>
#include <cmath>

namespace kippwerk::ui {

void WrapButton::paintEvent(QPaintEvent*) {
  QStylePainter p(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  const QString caption = option.text;
  option.text.clear();
  p.drawControl(QStyle::CE_PushButton, option);
  const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
  p.drawItemText(area.adjusted(2, 0, -2, 0), Qt::AlignCenter | Qt::TextWordWrap, palette(),
                 isEnabled(), caption, QPalette::ButtonText);
}

void PageFrame::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect frame = rect().adjusted(0, topLine(), -1, -1);
  p.setPen(palette().color(QPalette::Dark));
  p.drawRect(frame.adjusted(0, 0, -1, -1));
  p.setPen(palette().color(QPalette::Light));
  p.drawRect(frame.adjusted(1, 1, 0, 0));
  if (title().isEmpty()) return;
  const QFontMetrics fm(font());
  const QRect caption(kCaptionIndent, 0, fm.horizontalAdvance(title()) + 4, fm.height());
  p.fillRect(caption, palette().window());
  p.setPen(palette().color(QPalette::WindowText));
  p.drawText(caption, Qt::AlignCenter | Qt::TextShowMnemonic, title());
}

PictureBox::PictureBox(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(2);
  setFocusPolicy(Qt::StrongFocus);
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
}

void PictureBox::setPicture(std::vector<QString> files) {
  files_ = std::move(files);
  loaded_.assign(files_.size(), QPixmap());
  update();
}

const QPixmap& PictureBox::pictureFor(qreal ratio) const {
  static const QPixmap kNone;
  if (files_.empty()) return kNone;
  const int scale =
      std::clamp(static_cast<int>(std::ceil(ratio - 1e-9)), 1, static_cast<int>(files_.size()));
  QPixmap& p = loaded_[static_cast<std::size_t>(scale - 1)];
  if (p.isNull()) {
    p.load(files_[static_cast<std::size_t>(scale - 1)]);
    p.setDevicePixelRatio(scale);
  }
  return p;
}

void PictureBox::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter p(this);
  p.setClipRect(contentsRect());
  // Between two resolutions the finer one is scaled down, smoothly.
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawPixmap(contentsRect().topLeft(), pictureFor(devicePixelRatioF()));
}

QGroupBox* framedGroup(const char* name, const char* caption, QLayout* inside) {
  auto* g = new PageFrame(QString::fromUtf8(caption));
  g->setObjectName(QString::fromLatin1(name));
  g->setLayout(inside);
  return g;
}

TextScroll::TextScroll(QWidget* texts, int lines, QWidget* parent) : QScrollArea(parent) {
  setWidget(texts);
  setWidgetResizable(true);
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::NoFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setMinimumHeight(lines * fontMetrics().lineSpacing());
}

}  // namespace kippwerk::ui
