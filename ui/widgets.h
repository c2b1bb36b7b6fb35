#pragma once

// The few widgets Qt has no exact counterpart for.

#include <QFrame>
#include <QPixmap>
#include <QPushButton>

namespace kippwerk::ui {

// A push button whose caption wraps onto several lines when it does not fit on one.
class WrapButton : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// Shows a picture unscaled from the upper-left inner corner on white, clipped to the box,
// inside a sunken border. It takes the keyboard focus like the other controls.
class PictureBox : public QFrame {
 public:
  explicit PictureBox(QWidget* parent = nullptr);
  void setPicture(const QPixmap& picture);
  const QPixmap& picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap picture_;
};

}  // namespace kippwerk::ui
