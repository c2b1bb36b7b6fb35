// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pictures/measurepicture.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "core/normtext.h"
#include "ui/widgets/reading.h"

namespace kippwerk::ui {
namespace {

QString times(bool pulse, double on, double off) {
  return pulse ? fromCore(timeText(on))
               : QStringLiteral("%1 EIN, %2 AUS")
                     .arg(fromCore(timeText(on)), fromCore(timeText(off)));
}

}  // namespace

MeasurePicture::MeasurePicture(QWidget* parent) : TimePlot(parent) {
  setAccessibleName(QStringLiteral("Gemessenes und gewünschtes Signal"));
  setMeasurement(std::nullopt);
}

QPen MeasurePicture::measuredPen() {
  return QPen(QColor(150, 150, 150), 4);
}

void MeasurePicture::setMeasurement(std::optional<Measurement> m) {
  m_ = m;
  if (!m_) {
    setAccessibleDescription(QStringLiteral("Leer: die Eingaben reichen nicht für ein Bild."));
  } else {
    QString text = QStringLiteral("Gemessen: %1; gewünscht %2")
                       .arg(times(m_->pulse, m_->measuredOn, m_->measuredOff),
                            times(m_->pulse, m_->wantOn, m_->wantOff));
    if (m_->predicted) {
      text += QStringLiteral("; mit den gewählten Bauteilen %1")
                  .arg(times(m_->pulse, m_->predicted->first, m_->predicted->second));
    }
    setAccessibleDescription(text + QStringLiteral(". ") + legendDescription());
  }
  update();
}

std::vector<TimePlot::LegendEntry> MeasurePicture::legend() const {
  std::vector<LegendEntry> out = standardLegend(false, m_ && m_->pulse);
  if (!m_ || !m_->predicted) out.pop_back();  // no chosen parts
  out.push_back({QStringLiteral("gemessen"),
                 [](QPainter& p, const QRectF& r) {
                   p.setPen(measuredPen());
                   p.drawLine(QPointF(r.left(), r.center().y()),
                              QPointF(r.right(), r.center().y()));
                 },
                 QStringLiteral("grau")});
  return out;
}

void MeasurePicture::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  if (!m_) return;
  const Measurement& m = *m_;
  QPainter p(this);
  const QRectF area = plotArea();
  double longest = std::max(m.measuredOn + m.measuredOff, m.wantOn + m.wantOff);
  if (m.predicted) longest = std::max(longest, m.predicted->first + m.predicted->second);
  const double span = m.pulse ? 1.25 * longest : 2.0 * longest;
  const std::optional<Axis> axis = drawTimeAxis(p, area, span);
  if (!axis) return;
  const double high = area.top() + 4, low = area.bottom() - 4;
  auto path = [&](double on, double off) {
    return m.pulse ? pulsePath(axis->x(0), axis->x(0), axis->x(on), area.right(), high, low)
                   : periodsPath(on, off, axis->scale, axis->left, high, low);
  };
  p.setPen(measuredPen());
  p.drawPath(path(m.measuredOn, m.measuredOff));
  if (m.predicted) {
    p.setPen(setPen());
    p.drawPath(path(m.predicted->first, m.predicted->second));
  }
  p.setPen(wantPen());
  p.drawPath(path(m.wantOn, m.wantOff));
  drawLegend(p, legend());
}

}  // namespace kippwerk::ui
