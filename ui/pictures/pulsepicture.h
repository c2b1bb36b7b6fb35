// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The monostable timer at work: the trigger input E going low for a moment, and the output A
// going high at that edge for the pulse of the chosen pair (solid), the desired pulse dashed
// over it, and the band in which the pulse's end may fall over the parts' tolerances. The
// trigger has to be over before the output pulse is, or the output stays high: the picture
// says so.

#include <optional>

#include "ui/pictures/timeplot.h"

namespace kippwerk::ui {

struct Pulse {
  double t = 0.0;     // what the pair gives, seconds
  double want = 0.0;  // what was asked for
  Spread end;         // earliest and latest end over the tolerances
};

class PulsePicture : public TimePlot {
 public:
  explicit PulsePicture(QWidget* parent = nullptr);

  void setPulse(std::optional<Pulse> pulse);
  const std::optional<Pulse>& pulse() const { return pulse_; }

  QSize sizeHint() const override { return {560, 200}; }
  std::vector<LegendEntry> legend() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<Pulse> pulse_;
};

}  // namespace kippwerk::ui
