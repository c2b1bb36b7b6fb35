// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pictures/signalpicture.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "core/normtext.h"
#include "ui/widgets/reading.h"

namespace kippwerk::ui {
namespace {

const QString kLower = QStringLiteral("1/3 Ub");
const QString kUpper = QStringLiteral("2/3 Ub");

}  // namespace

SignalPicture::SignalPicture(QWidget* parent) : TimePlot(parent) {
  setAccessibleName(QStringLiteral("Signal des gewählten Satzes"));
  setSignal(std::nullopt);
}

void SignalPicture::setSignal(std::optional<Signal> signal) {
  signal_ = std::move(signal);
  setAccessibleDescription(description());
  update();
}

// What the picture shows, in numbers, for a screen reader.
QString SignalPicture::description() const {
  if (!signal_) return QStringLiteral("Leer: kein Satz ausgewählt.");
  const Signal& s = *signal_;
  QString text = QStringLiteral("Ausgang: %1 EIN, %2 AUS; gewünscht %3 EIN, %4 AUS")
                     .arg(fromCore(timeText(s.tein)), fromCore(timeText(s.taus)),
                          fromCore(timeText(s.wantTein)), fromCore(timeText(s.wantTaus)));
  if (s.edges) {
    text += QStringLiteral("; mit den Toleranzen endet die erste Periode zwischen %1 und %2")
                .arg(fromCore(timeText((*s.edges)[1].low)), fromCore(timeText((*s.edges)[1].high)));
  }
  if (!s.capacitor.empty() && s.ub > 0.0) {
    text += QStringLiteral("; Kondensator zwischen 1/3 und 2/3 Ub");
  }
  return text + QStringLiteral(". ") + legendDescription();
}

std::vector<TimePlot::LegendEntry> SignalPicture::legend() const {
  return standardLegend(signal_ && signal_->edges.has_value());
}

void SignalPicture::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  if (!signal_) return;
  const Signal& s = *signal_;
  QPainter p(this);
  const bool voltage = !s.capacitor.empty() && s.ub > 0.0;
  QRectF area = plotArea();
  // The thresholds' names stand left of the voltage lane.
  if (voltage) area.setLeft(area.left() + fontMetrics().horizontalAdvance(kLower) + 6);
  double span = 2.0 * std::max(s.tein + s.taus, s.wantTein + s.wantTaus);
  if (s.edges) span = std::max(span, (*s.edges)[3].high);
  const std::optional<Axis> axis = drawTimeAxis(p, area, span);
  if (!axis) return;

  const double gap = voltage ? 12.0 : 0.0;
  const double outputBottom = voltage ? area.top() + (area.height() - gap) * 0.45 : area.bottom();
  const double high = area.top() + 2, low = outputBottom - 2;
  if (s.edges) {
    for (const Spread& e : *s.edges) drawBand(p, *axis, e, high, low);
  }
  p.setPen(setPen());
  p.drawPath(periodsPath(s.tein, s.taus, axis->scale, axis->left, high, low));
  p.setPen(wantPen());
  p.drawPath(periodsPath(s.wantTein, s.wantTaus, axis->scale, axis->left, high, low));
  if (voltage)
    drawCapacitor(
        p, *axis,
        QRectF(area.left(), outputBottom + gap, area.width(), area.bottom() - outputBottom - gap));
  drawLegend(p, legend());
}

// The voltage on C1 for both periods, with the thresholds dashed and named.
void SignalPicture::drawCapacitor(QPainter& p, const Axis& axis, const QRectF& lane) const {
  const Signal& s = *signal_;
  const double bottom = s.ub / 3.0 - 0.08 * s.ub, top = 2.0 * s.ub / 3.0 + 0.08 * s.ub;
  auto y = [&](double v) { return lane.bottom() - (v - bottom) / (top - bottom) * lane.height(); };
  const QFontMetrics fm(font());
  p.setPen(QPen(Qt::gray, 1, Qt::DashLine));
  for (const auto& [v, name] :
       {std::pair{s.ub / 3.0, kLower}, std::pair{2.0 * s.ub / 3.0, kUpper}}) {
    p.drawLine(QPointF(lane.left(), y(v)), QPointF(lane.right(), y(v)));
    p.save();
    p.setPen(Qt::black);
    p.drawText(QPointF(lane.left() - 4 - fm.horizontalAdvance(name), y(v) + fm.ascent() / 2.5),
               name);
    p.restore();
  }
  QPainterPath path;
  const double period = s.tein + s.taus;
  for (int k = 0; k < 2; ++k) {
    for (const VoltagePoint& point : s.capacitor) {
      const QPointF at(axis.x(point.t + k * period), y(point.v));
      if (path.elementCount() == 0) {
        path.moveTo(at);
      } else {
        path.lineTo(at);
      }
    }
  }
  // A curve: smooth where the level lines are not.
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  QPen pen = setPen();
  pen.setWidthF(1.5);
  p.setPen(pen);
  p.drawPath(path);
  p.restore();
}

}  // namespace kippwerk::ui
