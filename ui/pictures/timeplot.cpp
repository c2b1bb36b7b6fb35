// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pictures/timeplot.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "core/normtext.h"
#include "ui/widgets/reading.h"

namespace kippwerk::ui {
namespace {

const QColor kSetColour(0, 70, 160);
const QColor kWantColour(200, 40, 40);

QString axisLabel(double t) {
  return fromCore(unitText(scaledText(t, timeUnits, 3, false), timeUnits));
}

// A step of 1, 2 or 5 times a power of ten that cuts `span` into about `parts` pieces.
double axisStep(double span, int parts) {
  const double raw = span / parts;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  const double norm = raw / magnitude;
  const double nice = norm < 1.5 ? 1.0 : norm < 3.5 ? 2.0 : norm < 7.5 ? 5.0 : 10.0;
  return nice * magnitude;
}

}  // namespace

TimePlot::TimePlot(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  // White inside; the frame keeps the window's shades, so all four edges show.
  QPalette white = palette();
  white.setColor(QPalette::Base, Qt::white);
  setPalette(white);
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
}

QRectF TimePlot::plotArea() const {
  const QFontMetrics fm(font());
  return QRectF(contentsRect()).adjusted(12, fm.height() + 10, -16, -fm.height() - 14);
}

std::optional<TimePlot::Axis> TimePlot::drawTimeAxis(QPainter& p, const QRectF& area,
                                                     double span) const {
  return drawAxis(p, area, 0.0, span,
                  [](double t) { return t == 0.0 ? QStringLiteral("0") : axisLabel(t); });
}

std::optional<TimePlot::Axis> TimePlot::drawAxis(
    QPainter& p, const QRectF& area, double from, double to,
    const std::function<QString(double)>& label) const {
  const double span = to - from;
  if (!(span > 0.0) || !std::isfinite(span)) return std::nullopt;
  const Axis axis{area.left() - from * area.width() / span, area.width() / span};
  const QFontMetrics fm(font());
  const double y = area.bottom() + 6;
  p.setPen(QPen(Qt::black, 1));
  p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
  const double step = axisStep(span, 6);
  for (double i = std::ceil(from / step - 1e-9); i * step <= to + span * 1e-9; ++i) {
    const double v = i == 0.0 ? 0.0 : i * step;
    const double x = axis.x(v);
    p.drawLine(QPointF(x, y), QPointF(x, y + 4));
    const QString text = label(v);
    const double w = fm.horizontalAdvance(text);
    // Centred under its tick, but inside the panel; a panel narrower than the label starts it
    // at the left edge.
    const double lowest = contentsRect().left() + 2;
    const double highest = std::max(lowest, contentsRect().right() - 2 - w);
    const double left = std::clamp(x - w / 2, lowest, highest);
    p.drawText(QPointF(left, y + 6 + fm.ascent()), text);
  }
  return axis;
}

QString TimePlot::legendDescription() const {
  QStringList parts;
  for (const LegendEntry& e : legend()) parts << e.text + QLatin1Char(' ') + e.how;
  return QStringLiteral("Legende: ") + parts.join(QStringLiteral(", ")) + QLatin1Char('.');
}

void TimePlot::drawLegend(QPainter& p, const std::vector<LegendEntry>& entries) const {
  const QFontMetrics fm(font());
  const double y = contentsRect().top() + 4 + fm.ascent();
  const double middle = y - fm.ascent() / 2.5;
  double x = contentsRect().right() - 8;
  for (const LegendEntry& e : entries) {
    x -= fm.horizontalAdvance(e.text);
    p.setPen(Qt::black);
    p.drawText(QPointF(x, y), e.text);
    e.draw(p, QRectF(x - 28, middle - 5, 22, 10));
    x -= 40;
  }
}

void TimePlot::drawBand(QPainter& p, const Axis& axis, const Spread& edge, double top,
                        double bottom) {
  const double from = axis.x(edge.low), to = axis.x(edge.high);
  p.fillRect(QRectF(from, top, std::max(to - from, 1.0), bottom - top), bandColour());
}

// Two periods of a signal that starts high, up to the rising edge of the third.
QPainterPath TimePlot::periodsPath(double tein, double taus, double scale, double x0, double high,
                                   double low) {
  QPainterPath path(QPointF(x0, low));
  double t = 0.0;
  path.lineTo(x0, high);
  for (int period = 0; period < 2; ++period) {
    t += tein;
    path.lineTo(x0 + t * scale, high);
    path.lineTo(x0 + t * scale, low);
    t += taus;
    path.lineTo(x0 + t * scale, low);
    path.lineTo(x0 + t * scale, high);  // the rising edge that begins the next period
  }
  return path;
}

// A level line that is low, high from `from` to `to`, low again up to `until`.
QPainterPath TimePlot::pulsePath(double left, double from, double to, double right, double high,
                                 double low) {
  QPainterPath path(QPointF(left, low));
  path.lineTo(from, low);
  path.lineTo(from, high);
  path.lineTo(to, high);
  path.lineTo(to, low);
  path.lineTo(right, low);
  return path;
}

QPen TimePlot::setPen() {
  QPen pen(kSetColour, 2);
  pen.setJoinStyle(Qt::MiterJoin);
  return pen;
}

QPen TimePlot::wantPen() {
  return QPen(kWantColour, 1.5, Qt::DashLine);
}

QColor TimePlot::bandColour() {
  QColor band = kSetColour;
  band.setAlpha(55);
  return band;
}

std::vector<TimePlot::LegendEntry> TimePlot::standardLegend(bool bands, bool oneTime) {
  auto line = [](QPen pen) {
    return [pen](QPainter& p, const QRectF& r) {
      p.setPen(pen);
      p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
    };
  };
  std::vector<LegendEntry> out{
      {oneTime ? QStringLiteral("gewünschte Zeit") : QStringLiteral("gewünschte Zeiten"),
       line(wantPen()), QStringLiteral("gestrichelt")},
      {QStringLiteral("gewählte Bauteile"), line(setPen()), QStringLiteral("durchgezogen")}};
  if (bands) {
    out.push_back(
        {QStringLiteral("Toleranzbereich"),
         [](QPainter& p, const QRectF& r) { p.fillRect(r.adjusted(4, 0, -4, 0), bandColour()); },
         QStringLiteral("schattiert")});
  }
  return out;
}

}  // namespace kippwerk::ui
