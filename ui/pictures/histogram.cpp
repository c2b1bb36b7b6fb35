// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pictures/histogram.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "core/normtext.h"
#include "ui/widgets/reading.h"

namespace kippwerk::ui {
namespace {

QString limitText(double limit) {
  return QStringLiteral("± %1 %").arg(fromCore(numberText(limit * 100.0)));
}

QString rateText(double rate) {
  return fromCore(fixedText(rate * 100.0, 1)) + QStringLiteral(" %");
}

const char* const kAxisTitle = "Abweichung der ungünstigsten Ecke je Schaltung";

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
      QStringLiteral("%1, %2 Schaltungen: von %3 bis %4; %5 innerhalb %6; höchster Balken %7 "
                     "Schaltungen. ")
          .arg(QString::fromUtf8(kAxisTitle),
               fromCore(countText(static_cast<long long>(deviations_->values.size()))),
               fromCore(percentText(low)), fromCore(percentText(high)), rateText(deviations_->rate),
               limitText(deviations_->limit),
               fromCore(countText(*std::max_element(counts_.begin(), counts_.end())))) +
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
  // Under the axis' labels its title, so the bars need one line less.
  const QFontMetrics fm(font());
  const QRectF area = plotArea().adjusted(0, fm.height() + 2, 0, -fm.height() - 2);
  const double s = span();
  const std::optional<Axis> axis = drawAxis(p, area, -s, s, [](double v) {
    if (v == 0.0) return QStringLiteral("0");
    return (v > 0.0 ? QStringLiteral("+") : QString()) + fromCore(numberText(v * 100.0, 3)) +
           QStringLiteral(" %");
  });
  if (!axis) return;
  const int most = std::max(1, *std::max_element(counts_.begin(), counts_.end()));
  p.setPen(Qt::black);
  const QString title = QString::fromUtf8(kAxisTitle);
  p.drawText(QPointF(area.center().x() - fm.horizontalAdvance(title) / 2.0,
                     area.bottom() + fm.height() + 14 + fm.ascent()),
             title);
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
  const double shareLine = area.top() - 4 - fm.descent();
  p.drawText(QPointF(area.left(), shareLine),
             QStringLiteral("%1 innerhalb %2").arg(rateText(d.rate), limitText(d.limit)));
  // The bars' scale: the highest stands for this many boards.
  const QString scale =
      QStringLiteral("Schaltungen je Balken: bis %1").arg(fromCore(countText(most)));
  p.drawText(QPointF(area.right() - fm.horizontalAdvance(scale), shareLine), scale);
  drawLegend(p, legend());
}

}  // namespace kippwerk::ui
