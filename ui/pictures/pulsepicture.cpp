// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pictures/pulsepicture.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "core/normtext.h"
#include "ui/widgets/reading.h"

namespace kippwerk::ui {
namespace {

// The trigger's low time as a share of the time axis: short, as it has to be.
constexpr double kTriggerShare = 0.04;

}  // namespace

PulsePicture::PulsePicture(QWidget* parent) : TimePlot(parent) {
  setAccessibleName(QStringLiteral("Auslöseimpuls und Ausgangsimpuls"));
  setPulse(std::nullopt);
}

void PulsePicture::setPulse(std::optional<Pulse> pulse) {
  pulse_ = pulse;
  setAccessibleDescription(
      !pulse_ ? QStringLiteral("Leer: kein Paar ausgewählt.")
              : QStringLiteral("Auslöseimpuls an E, dann Ausgang A für %1 EIN; gewünscht %2; mit "
                               "den Toleranzen endet der Impuls zwischen %3 und %4. %5")
                    .arg(fromCore(timeText(pulse_->t)), fromCore(timeText(pulse_->want)),
                         fromCore(timeText(pulse_->end.low)), fromCore(timeText(pulse_->end.high)),
                         legendDescription()));
  update();
}

std::vector<TimePlot::LegendEntry> PulsePicture::legend() const {
  return standardLegend(true, true);
}

void PulsePicture::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  if (!pulse_) return;
  const Pulse& s = *pulse_;
  QPainter p(this);
  const QFontMetrics fm(font());
  // The lane names stand left of a short lead-in before the trigger at time 0.
  const QRectF full = plotArea();
  const double lead = 24.0;
  QRectF area = full.adjusted(fm.horizontalAdvance(QStringLiteral("E")) + 8 + lead, 0, 0, 0);
  const double span = 1.25 * std::max({s.t, s.want, s.end.high});
  const std::optional<Axis> axis = drawTimeAxis(p, area, span);
  if (!axis) return;
  const double laneLeft = area.left() - lead, right = area.right();

  // Upper lane: the trigger input, low for a moment from 0.
  const double gap = 14.0, lane = (area.height() - gap) / 2.0;
  const double triggerHigh = area.top() + 2, triggerLow = area.top() + lane - 2;
  const double triggerEnd = axis->x(kTriggerShare * span);
  QPainterPath trigger(QPointF(laneLeft, triggerHigh));
  trigger.lineTo(axis->x(0), triggerHigh);
  trigger.lineTo(axis->x(0), triggerLow);
  trigger.lineTo(triggerEnd, triggerLow);
  trigger.lineTo(triggerEnd, triggerHigh);
  trigger.lineTo(right, triggerHigh);
  p.setPen(setPen());
  p.drawPath(trigger);
  p.setPen(Qt::black);
  p.drawText(QPointF(triggerEnd + 8, triggerLow - 2),
             QStringLiteral("Der Auslöseimpuls an E muss enden, bevor der Ausgangsimpuls endet."));

  // Lower lane: the output, high from the trigger's edge for the pulse.
  const double high = area.top() + lane + gap + 2, low = area.bottom() - 2;
  drawBand(p, *axis, s.end, high, low);
  p.setPen(setPen());
  p.drawPath(pulsePath(laneLeft, axis->x(0), axis->x(s.t), right, high, low));
  p.setPen(wantPen());
  p.drawPath(pulsePath(laneLeft, axis->x(0), axis->x(s.want), right, high, low));

  p.setPen(Qt::black);
  for (const auto& [name, top, bottom] : {std::tuple{QStringLiteral("E"), triggerHigh, triggerLow},
                                          std::tuple{QStringLiteral("A"), high, low}}) {
    p.drawText(QPointF(full.left(), (top + bottom) / 2 + fm.ascent() / 2.5), name);
  }
  drawLegend(p, legend());
}

}  // namespace kippwerk::ui
