// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/histogram.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "core/normtext.h"
#include "ui/reading.h"

namespace kippwerk::ui {
namespace {

QString percent(double fraction, int decimals) {
  const double p = fraction * 100.0;
  return (p > 0.0 ? QStringLiteral("+") : QString()) + QString::number(p, 'f', decimals) +
         QStringLiteral(" %");
}

QString limitText(double limit) {
  return QStringLiteral("± %1 %").arg(QString::number(limit * 100.0, 'g', 6));
}

QPen limitPen() {
  return QPen(Qt::black, 1, Qt::DashLine);
}

}  // namespace

DeviationHistogram::DeviationHistogram(QWidget* parent) : TimePlot(parent) {
  setAccessibleName(QStringLiteral("Verteilung der Abweichungen"));
  setDeviations(std::nullopt);
}

void DeviationHistogram::setDeviations(std::optional<Deviations> deviations, const QString& why) {
  deviations_ = std::move(deviations);
  counts_.assign(kBins, 0);
  span_ = 0.0;
  if (!deviations_) {
    setAccessibleDescription(why.isEmpty() ? QStringLiteral("Leer: kein Satz ausgewählt.") : why);
    update();
    return;
  }
  double low = 0.0, high = 0.0;
  for (double v : deviations_->values) {
    low = std::min(low, v);
    high = std::max(high, v);
  }
  span_ = std::max(std::max(deviations_->limit, std::max(-low, high)) * 1.1, 1e-6);
  const double s = span_;
  for (double v : deviations_->values) {
    const int bin =
        std::clamp(static_cast<int>(std::floor((v + s) / (2.0 * s) * kBins)), 0, kBins - 1);
    ++counts_[static_cast<std::size_t>(bin)];
  }
  setAccessibleDescription(
      QStringLiteral("Größte Abweichung je Schaltung, %1 Schaltungen: von %2 bis %3; %4 "
                     "innerhalb %5. ")
          .arg(deviations_->values.size())
          .arg(percent(low, 2), percent(high, 2),
               QString::number(deviations_->rate * 100.0, 'f', 1) + QStringLiteral(" %"),
               limitText(deviations_->limit)) +
      legendDescription());
  update();
}

std::vector<TimePlot::LegendEntry> DeviationHistogram::legend() const {
  auto box = [](QColor colour) {
    return [colour](QPainter& p, const QRectF& r) { p.fillRect(r.adjusted(4, 0, -4, 0), colour); };
  };
  return {{QStringLiteral("Grenze"),
           [](QPainter& p, const QRectF& r) {
             p.setPen(limitPen());
             p.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.bottom()));
           },
           QStringLiteral("gestrichelt")},
          {QStringLiteral("außerhalb"), box(wantPen().color()), QStringLiteral("rot")},
          {QStringLiteral("innerhalb"), box(setPen().color()), QStringLiteral("blau")}};
}

void DeviationHistogram::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  if (!deviations_) return;
  const Deviations& d = *deviations_;
  QPainter p(this);
  // The share inside gets a line of its own under the legend, so neither runs into the other
  // in a narrow picture.
  const QFontMetrics fm(font());
  const QRectF area = plotArea().adjusted(0, fm.height() + 2, 0, 0);
  const double s = span();
  const std::optional<Axis> axis = drawAxis(p, area, -s, s, [](double v) {
    if (v == 0.0) return QStringLiteral("0");
    return (v > 0.0 ? QStringLiteral("+") : QString()) + QString::number(v * 100.0, 'g', 3) +
           QStringLiteral(" %");
  });
  if (!axis) return;
  const int most = std::max(1, *std::max_element(counts_.begin(), counts_.end()));
  const double width = area.width() / kBins;
  for (int bin = 0; bin < kBins; ++bin) {
    const int n = counts_[static_cast<std::size_t>(bin)];
    if (n == 0) continue;
    const double centre = -s + (bin + 0.5) * 2.0 * s / kBins;
    const double height = area.height() * n / most;
    const QColor colour = std::fabs(centre) <= d.limit ? setPen().color() : wantPen().color();
    p.fillRect(QRectF(area.left() + bin * width + 0.5, area.bottom() - height,
                      std::max(width - 1.0, 1.0), height),
               colour);
  }
  p.setPen(limitPen());
  for (double x : {axis->x(-d.limit), axis->x(d.limit)}) {
    p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
  }
  p.setPen(Qt::black);
  p.drawText(QPointF(area.left(), area.top() - 4 - fm.descent()),
             QStringLiteral("%1 % innerhalb %2")
                 .arg(QString::number(d.rate * 100.0, 'f', 1), limitText(d.limit)));
  drawLegend(p, legend());
}

}  // namespace kippwerk::ui
