// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The few widgets Qt has no exact counterpart for.

#include <QFrame>
#include <QGroupBox>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <vector>

namespace kippwerk::ui {

// The windows keep their controls in members named as the controls' object names: this sets
// such a member to the child of `owner` with that name.
template <class T>
void findNamed(const QWidget* owner, T*& member, const QString& name) {
  member = owner->findChild<T*>(name);
  Q_ASSERT(member != nullptr);
}
#define KIPPWERK_FIND(member) findNamed(this, c_.member, QStringLiteral(#member))

// A push button whose caption wraps onto several lines when it does not fit on one.
class WrapButton : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A group frame drawn the classic way, the same on every page: an etched line whose top runs
// through the middle of the caption, interrupted behind the caption text a few pixels from
// the left corner. It has no fill of its own, so the opaque labels on it, which fill with the
// window's colour, show no lighter patch.
class PageFrame : public QGroupBox {
 public:
  using QGroupBox::QGroupBox;

  // The row of the top line, in the frame's own pixels: half the caption's height.
  int topLine() const { return fontMetrics().height() / 2; }
  static constexpr int kCaptionIndent = 8;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// Shows a picture unscaled from the upper-left inner corner on white, clipped to the box,
// inside a sunken border. It takes the keyboard focus like the other controls. The picture may
// come in several resolutions (files drawn at 1, 2, 3, ... times the size): the box paints the
// one made for the screen's device pixel ratio, so it is never enlarged pixel by pixel, and
// reads a file only when a screen asks for it.
class PictureBox : public QFrame {
 public:
  explicit PictureBox(QWidget* parent = nullptr);
  // files[i] holds the picture at i + 1 times its size.
  void setPicture(std::vector<QString> files);

  // The resolution painted at the given device pixel ratio.
  const QPixmap& pictureFor(qreal ratio) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<QString> files_;
  mutable std::vector<QPixmap> loaded_;  // by scale - 1; null until first painted
};

// A PageFrame named `name` with `caption` around `inside`.
QGroupBox* framedGroup(const char* name, const char* caption, QLayout* inside);

// Texts that scroll when they need more room than they get, so that however long they grow they
// never run into the controls around them. At least `lines` lines of the font show; it takes
// no keyboard focus of its own, so the Tab order stays with the inputs.
class TextScroll : public QScrollArea {
 public:
  TextScroll(QWidget* texts, int lines, QWidget* parent = nullptr);
};

}  // namespace kippwerk::ui
