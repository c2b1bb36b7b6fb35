// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The output of the astable circuit over two periods: the selected set's signal as a solid line,
// the desired one dashed over it, both to the same time scale, and the band in which each edge
// of the set may lie with the parts' tolerances. Below it, on the same axis, the voltage on C1
// between the two thresholds at which the chip switches, as the circuit model gives it.

#include <array>
#include <optional>
#include <vector>

#include "core/circuit.h"
#include "ui/pictures/timeplot.h"

namespace kippwerk::ui {

struct Signal {
  double tein = 0.0, taus = 0.0;          // what the set gives, seconds
  double wantTein = 0.0, wantTaus = 0.0;  // what was asked for
  // Earliest and latest position of each edge after the first rising one, over the parts'
  // tolerances: drawn as shaded bands.
  std::optional<std::array<Spread, 4>> edges;
  // The capacitor voltage over one period from the start of the charge, and the supply it is
  // drawn against; no points, no voltage lane.
  std::vector<VoltagePoint> capacitor;
  double ub = 0.0;
};

class SignalPicture : public TimePlot {
 public:
  explicit SignalPicture(QWidget* parent = nullptr);

  void setSignal(std::optional<Signal> signal);
  const std::optional<Signal>& signal() const { return signal_; }

  QSize sizeHint() const override { return {600, 240}; }
  std::vector<LegendEntry> legend() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void drawCapacitor(QPainter& p, const Axis& axis, const QRectF& lane) const;
  QString description() const;

  std::optional<Signal> signal_;
};

}  // namespace kippwerk::ui
