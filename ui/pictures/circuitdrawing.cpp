// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pictures/circuitdrawing.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>

namespace kippwerk::ui {
namespace {

constexpr double kWidth = 100.0, kHeight = 72.0;
constexpr double kTop = 6.0, kBottom = 66.0;  // the supply rail and ground
constexpr double kChipLeft = 46.0, kChipRight = 70.0, kChipTop = 18.0, kChipBottom = 54.0;

void line(QPainter& p, double x1, double y1, double x2, double y2) {
  p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void dot(QPainter& p, double x, double y) {
  p.save();
  p.setBrush(p.pen().color());
  p.drawEllipse(QPointF(x, y), 0.7, 0.7);
  p.restore();
}

// A resistor upright from y1 to y2 at x: a box in the middle, its name and value to the right.
void resistor(QPainter& p, double x, double y1, double y2, const QString& name,
              const QString& value) {
  const double mid = 0.5 * (y1 + y2), half = std::min(5.0, 0.35 * (y2 - y1));
  line(p, x, y1, x, mid - half);
  line(p, x, mid + half, x, y2);
  p.drawRect(QRectF(x - 1.6, mid - half, 3.2, 2 * half));
  p.drawText(QRectF(x + 2.6, mid - 4.0, 30.0, 4.0), Qt::AlignLeft | Qt::AlignBottom, name);
  p.drawText(QRectF(x + 2.6, mid, 30.0, 4.0), Qt::AlignLeft | Qt::AlignTop, value);
}

// A capacitor upright from y1 to y2 at x: two plates in the middle.
void capacitor(QPainter& p, double x, double y1, double y2, const QString& name,
               const QString& value, bool right = true) {
  const double mid = 0.5 * (y1 + y2);
  line(p, x, y1, x, mid - 0.8);
  line(p, x, mid + 0.8, x, y2);
  line(p, x - 3.0, mid - 0.8, x + 3.0, mid - 0.8);
  line(p, x - 3.0, mid + 0.8, x + 3.0, mid + 0.8);
  const QRectF nameBox(right ? x + 4.0 : x - 34.0, mid - 4.5, 30.0, 4.0);
  const QRectF valueBox(right ? x + 4.0 : x - 34.0, mid + 0.5, 30.0, 4.0);
  const Qt::Alignment side = right ? Qt::AlignLeft : Qt::AlignRight;
  p.drawText(nameBox, side | Qt::AlignBottom, name);
  p.drawText(valueBox, side | Qt::AlignTop, value);
}

// A diode upright at x, conducting downward from y1 to y2.
void diode(QPainter& p, double x, double y1, double y2, const QString& name) {
  const double mid = 0.5 * (y1 + y2);
  line(p, x, y1, x, mid - 1.6);
  line(p, x, mid + 1.6, x, y2);
  QPainterPath triangle;
  triangle.addPolygon(QPolygonF({QPointF(x - 1.8, mid - 1.6), QPointF(x + 1.8, mid - 1.6),
                                 QPointF(x, mid + 1.6), QPointF(x - 1.8, mid - 1.6)}));
  p.drawPath(triangle);
  line(p, x - 1.8, mid + 1.6, x + 1.8, mid + 1.6);
  p.drawText(QRectF(x - 32.0, mid - 2.0, 30.0, 4.0), Qt::AlignRight | Qt::AlignVCenter, name);
}

// A pin of the chip: a line from the chip's edge to `to`, its number beside it.
void pin(QPainter& p, QPointF from, QPointF to, const QString& number, Qt::Alignment where) {
  p.drawLine(from, to);
  QRectF label(0, 0, 4.0, 3.0);
  label.moveCenter(from);
  if (where & Qt::AlignLeft) label.translate(2.4, -1.8);
  if (where & Qt::AlignRight) label.translate(-2.4, -1.8);
  if (where & Qt::AlignTop) label.translate(1.8, 1.8);
  if (where & Qt::AlignBottom) label.translate(1.8, -1.8);
  p.drawText(label, Qt::AlignCenter, number);
}

}  // namespace

void paintCircuit(QPainter& p, const QRectF& box, const CircuitValues& v, double fontUnit) {
  p.save();
  const double scale = std::min(box.width() / kWidth, box.height() / kHeight);
  p.translate(box.topLeft());
  p.scale(scale, scale);
  QPen pen(Qt::black, 0.35);
  pen.setCapStyle(Qt::FlatCap);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  QFont font = p.font();
  font.setPointSizeF(2.6 * fontUnit);
  p.setFont(font);

  // The rails.
  line(p, 8.0, kTop, 84.0, kTop);
  line(p, 8.0, kBottom, 84.0, kBottom);
  p.drawText(QRectF(84.5, kTop - 2.0, 15.0, 4.0), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("+Ub ") + v.ub);
  p.drawText(QRectF(84.5, kBottom - 2.0, 15.0, 4.0), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("0 V"));

  // The chip with its pins: 8 and 4 to the supply, 1 to ground, 5 through C2 to ground.
  p.drawRect(QRectF(kChipLeft, kChipTop, kChipRight - kChipLeft, kChipBottom - kChipTop));
  QFont big = font;
  big.setPointSizeF(3.2 * fontUnit);
  p.setFont(big);
  p.drawText(QRectF(kChipLeft, kChipTop + 10.0, kChipRight - kChipLeft, 6.0), Qt::AlignCenter,
             QStringLiteral("555"));
  p.setFont(font);
  p.drawText(QRectF(kChipLeft, kChipTop + 17.0, kChipRight - kChipLeft, 5.0), Qt::AlignCenter,
             v.chip);
  pin(p, {52.0, kChipTop}, {52.0, kTop}, QStringLiteral("8"), Qt::AlignTop);
  pin(p, {64.0, kChipTop}, {64.0, kTop}, QStringLiteral("4"), Qt::AlignTop);
  dot(p, 52.0, kTop);
  dot(p, 64.0, kTop);
  pin(p, {52.0, kChipBottom}, {52.0, kBottom}, QStringLiteral("1"), Qt::AlignBottom);
  dot(p, 52.0, kBottom);
  pin(p, {64.0, kChipBottom}, {64.0, 57.0}, QStringLiteral("5"), Qt::AlignBottom);
  capacitor(p, 64.0, 57.0, kBottom, QStringLiteral("C2"), QStringLiteral("10 nF"));
  dot(p, 64.0, kBottom);
  // The output.
  pin(p, {kChipRight, 36.0}, {80.0, 36.0}, QStringLiteral("3"), Qt::AlignLeft);
  p.drawEllipse(QPointF(81.0, 36.0), 1.0, 1.0);
  p.drawText(QRectF(83.0, 34.0, 10.0, 4.0), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("A"));

  const double x = 26.0;  // the timing parts' column
  if (!v.monostable) {
    // R1 from the supply to pin 7, R2 on to pins 6 and 2, C1 to ground.
    pin(p, {kChipLeft, 24.0}, {x, 24.0}, QStringLiteral("7"), Qt::AlignRight);
    pin(p, {kChipLeft, 36.0}, {40.0, 36.0}, QStringLiteral("6"), Qt::AlignRight);
    pin(p, {kChipLeft, 48.0}, {40.0, 48.0}, QStringLiteral("2"), Qt::AlignRight);
    line(p, 40.0, 36.0, 40.0, 48.0);
    line(p, x, 42.0, 40.0, 42.0);
    dot(p, 40.0, 42.0);
    dot(p, x, kTop);
    resistor(p, x, kTop, 24.0, QStringLiteral("R1"), v.r1);
    dot(p, x, 24.0);
    resistor(p, x, 24.0, 42.0, QStringLiteral("R2"), v.r2);
    dot(p, x, 42.0);
    if (v.diode) {
      const double d = 16.0;
      line(p, x, 26.5, d, 26.5);
      line(p, x, 39.5, d, 39.5);
      dot(p, x, 26.5);
      dot(p, x, 39.5);
      diode(p, d, 26.5, 39.5, v.diodeName);
    }
    capacitor(p, x, 42.0, kBottom, QStringLiteral("C1"), v.c1, false);
    dot(p, x, kBottom);
  } else {
    // R from the supply to pins 6 and 7, C1 from there to ground, the trigger E at pin 2.
    pin(p, {kChipLeft, 24.0}, {40.0, 24.0}, QStringLiteral("7"), Qt::AlignRight);
    pin(p, {kChipLeft, 32.0}, {40.0, 32.0}, QStringLiteral("6"), Qt::AlignRight);
    line(p, 40.0, 24.0, 40.0, 32.0);
    line(p, x, 28.0, 40.0, 28.0);
    dot(p, 40.0, 28.0);
    dot(p, x, kTop);
    resistor(p, x, kTop, 28.0, QStringLiteral("R"), v.r1);
    dot(p, x, 28.0);
    capacitor(p, x, 28.0, kBottom, QStringLiteral("C1"), v.c1, false);
    dot(p, x, kBottom);
    pin(p, {kChipLeft, 48.0}, {36.0, 48.0}, QStringLiteral("2"), Qt::AlignRight);
    p.drawEllipse(QPointF(35.0, 48.0), 1.0, 1.0);
    p.drawText(QRectF(29.0, 46.0, 5.0, 4.0), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("E"));
  }
  p.restore();
}

}  // namespace kippwerk::ui
