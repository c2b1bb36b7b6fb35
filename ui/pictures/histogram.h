// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// How many of the boards built at random deviate how far from the desired times: a bar per
// step of deviation, bars within the limit in the chosen parts' colour and beyond it in the
// desired times' colour, the limit as two dashed lines, and the share inside written on it.
// The axis is in percent, symmetric around 0.

#include <optional>
#include <vector>

#include "ui/pictures/timeplot.h"

namespace kippwerk::ui {

struct Deviations {
  std::vector<double> values;  // one per board, signed fractions
  double limit = 0.0;          // +- this counts as inside
  double rate = 0.0;           // the share of the boards that held the limit everywhere
};

class DeviationHistogram : public TimePlot {
 public:
  explicit DeviationHistogram(QWidget* parent = nullptr);

  // Nothing to show: empty with `why` in words for a screen reader ("wird berechnet").
  void setDeviations(std::optional<Deviations> deviations, const QString& why = {});
  const std::optional<Deviations>& deviations() const { return deviations_; }

  // The axis runs from -span to +span (fractions).
  double span() const { return span_; }
  static constexpr int kBins = 41;

  QSize sizeHint() const override { return {420, 200}; }
  std::vector<LegendEntry> legend() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<Deviations> deviations_;
  std::vector<int> counts_;
  double span_ = 0.0;
};

}  // namespace kippwerk::ui
