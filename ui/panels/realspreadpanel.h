// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The real spread of the highlighted row, as both windows that pick standard parts show it: the
// worst case over the surroundings, the pass rate of 10 000 boards with its histogram and the
// largest cause, once they are worked out (off the window's thread; until then it says so).

#include <QLabel>
#include <QObject>
#include <optional>
#include <vector>

#include "core/circuit.h"
#include "core/passrate.h"
#include "core/realspread.h"
#include "core/result.h"
#include "ui/widgets/partfields.h"

namespace kippwerk::ui {

class DeviationHistogram;

// The heading of the spread over the parts' tolerances alone, which both windows show above the
// real spread's own.
QString toleranceHeading();

// What the panel shows of one design.
struct SpreadDetail {
  RealSpread spread;
  std::vector<Contribution> causes;
  std::optional<PassRate> rate;  // nothing where no time is above 0
};
// Worked out (slowly: every corner, every board); nothing when `cancel` was set meanwhile.
std::optional<SpreadDetail> spreadDetail(const TimerDesign& design, const EnvironmentInputs& in,
                                         double wantTein, double wantTaus,
                                         const std::atomic<bool>* cancel);

class RealSpreadPanel : public QObject {
 public:
  RealSpreadPanel(QLabel* text, DeviationHistogram* picture, QObject* parent);

  // The surroundings as the window's row reads them, or why they cannot be used.
  void setSurroundings(Result<EnvironmentInputs, QString> surroundings);
  const Result<EnvironmentInputs, QString>& surroundings() const { return surroundings_; }
  // Why the surroundings cannot be used, for the status line; empty when they can.
  QString problem() const;
  // The hints of a row, with "Leckstrom" where an electrolytic's leakage matters.
  std::vector<Hint> withLeakage(std::vector<Hint> hints, const TimerDesign& design) const;

  // The design's spread is being worked out.
  void pending();
  // The design's spread against the desired times (monostable: wantTaus unused).
  void show(const TimerDesign& design, const SpreadDetail& detail, double wantTein,
            double wantTaus);
  // Nothing to show; `why` goes to the picture's description.
  void clear(const QString& why = {});

 private:
  QLabel* text_;
  DeviationHistogram* picture_;
  Result<EnvironmentInputs, QString> surroundings_ = EnvironmentInputs{};
};

}  // namespace kippwerk::ui
