#include "ui/widgets.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

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

PictureBox::PictureBox(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(2);
  setFocusPolicy(Qt::StrongFocus);
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
}

void PictureBox::setPicture(const QPixmap& picture) {
  picture_ = picture;
  update();
}

void PictureBox::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter p(this);
  p.setClipRect(contentsRect());
  p.drawPixmap(contentsRect().topLeft(), picture_);
}

}  // namespace kippwerk::ui
