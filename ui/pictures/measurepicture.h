// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The measured board beside what it should do: the measured signal in grey, the desired one
// dashed, and the highlighted row's predicted signal solid, all to one time scale; for an
// astable timer two periods, for a monoflop its pulse.

#include <optional>

#include "ui/pictures/timeplot.h"

namespace kippwerk::ui {

struct Measurement {
  bool pulse = false;                          // a monoflop: only the first times count
  double measuredOn = 0.0, measuredOff = 0.0;  // seconds
  double wantOn = 0.0, wantOff = 0.0;
  std::optional<std::pair<double, double>> predicted;  // the highlighted row's times
};

class MeasurePicture : public TimePlot {
 public:
  explicit MeasurePicture(QWidget* parent = nullptr);

  void setMeasurement(std::optional<Measurement> m);
  const std::optional<Measurement>& measurement() const { return m_; }

  QSize sizeHint() const override { return {560, 200}; }
  std::vector<LegendEntry> legend() const override;

  static QPen measuredPen();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<Measurement> m_;
};

}  // namespace kippwerk::ui
