// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the windows' pictures share: a white panel, a labelled axis along the bottom (of time, or
// of what a picture plots), a legend above, the colours of the chosen parts (solid), of the
// desired times (dashed) and of the tolerance bands. Drawn with vectors, so it is sharp at any
// device pixel ratio; every line is level or upright, so it is drawn without antialiasing, crisp
// and fast.

#include <QFrame>
#include <QPen>
#include <functional>
#include <optional>
#include <vector>

#include "core/tolerance.h"

class QPainter;
class QPainterPath;

namespace kippwerk::ui {

class TimePlot : public QFrame {
 public:
  explicit TimePlot(QWidget* parent = nullptr);

 protected:
  // Where time t (or the value an axis plots) lies across the panel.
  struct Axis {
    double left = 0.0, scale = 1.0;  // where 0 lies, pixels per unit
    double x(double t) const { return left + t * scale; }
  };

  // A sample of a drawing, its name in the legend, and how it is drawn in words.
  struct LegendEntry {
    QString text;
    std::function<void(QPainter&, const QRectF& sample)> draw;
    QString how;  // "gestrichelt"
  };

  // The legend of what the picture shows now; drawn by paintEvent and read out by
  // legendDescription, so what a screen reader says is what stands in the picture.
  virtual std::vector<LegendEntry> legend() const = 0;
  // "Legende: gewünschte Zeiten gestrichelt, gewählte Bauteile durchgezogen."
  QString legendDescription() const;

  // The room between the legend line at the top and the axis labels at the bottom.
  QRectF plotArea() const;
  // The axis under `area` from 0 to `span` seconds with ticks every 1, 2 or 5 times a power of
  // ten and their labels; nothing when the span is not a positive number.
  std::optional<Axis> drawTimeAxis(QPainter& p, const QRectF& area, double span) const;
  // The same from `from` to `to` with the labels `label` gives each tick.
  std::optional<Axis> drawAxis(QPainter& p, const QRectF& area, double from, double to,
                               const std::function<QString(double)>& label) const;
  // Right-aligned above the area, the first entry rightmost.
  void drawLegend(QPainter& p, const std::vector<LegendEntry>& entries) const;
  // The band in which an edge may lie over the parts' tolerances.
  static void drawBand(QPainter& p, const Axis& axis, const Spread& edge, double top,
                       double bottom);

  // Two periods of a signal that starts high at x0, up to the rising edge of the third.
  static QPainterPath periodsPath(double tein, double taus, double scale, double x0, double high,
                                  double low);
  // A level line that is low, high from `from` to `to`, low again up to `right`.
  static QPainterPath pulsePath(double left, double from, double to, double right, double high,
                                double low);

  static QPen setPen();   // the chosen parts
  static QPen wantPen();  // the desired times, dashed
  static QColor bandColour();
  // The legend's entries for the three drawings (the band's only when there are bands); with
  // `oneTime` the desired drawing is a single time.
  static std::vector<LegendEntry> standardLegend(bool bands, bool oneTime = false);
};

}  // namespace kippwerk::ui
