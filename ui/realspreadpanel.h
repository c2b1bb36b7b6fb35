// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The real spread of the highlighted row, as both windows that pick standard parts show it: the
// worst case over the surroundings and the largest cause at once, then the pass rate of 10 000
// boards with its histogram as soon as a worker thread has built them. Typing never waits for
// the boards: each new row or input cancels the boards still being built and starts anew, and
// only the newest result is shown.

#include <QLabel>
#include <QObject>
#include <atomic>
#include <memory>
#include <thread>

#include "core/circuit.h"
#include "core/passrate.h"
#include "core/realspread.h"
#include "core/result.h"
#include "ui/partfields.h"

namespace kippwerk::ui {

class DeviationHistogram;

// The heading of the spread over the parts' tolerances alone, which both windows show above the
// real spread's own.
QString toleranceHeading();

class RealSpreadPanel : public QObject {
 public:
  RealSpreadPanel(QLabel* text, DeviationHistogram* picture, QObject* parent);
  ~RealSpreadPanel() override;

  // The surroundings as the window's row reads them, or why they cannot be used.
  void setSurroundings(Result<EnvironmentInputs, QString> surroundings);
  // Why the surroundings cannot be used, for the status line; empty when they can.
  QString problem() const;
  // The hints of a row, with "Leckstrom" where an electrolytic's leakage matters.
  std::vector<Hint> withLeakage(std::vector<Hint> hints, const TimerDesign& design) const;

  // The design's spread against the desired times (monostable: wantTaus unused), or nothing but
  // the reason when the surroundings cannot be used.
  void show(const TimerDesign& design, double wantTein, double wantTaus);
  // Nothing to show; `why` goes to the picture's description.
  void clear(const QString& why = {});

  // Whether boards are still being built.
  bool busy() const { return worker_.joinable() && !done_->load(); }

 private:
  void stop();
  void finished(unsigned generation, std::optional<PassRate> rate);
  QString linesWith(const QString& passRate) const;

  QLabel* text_;
  DeviationHistogram* picture_;
  std::thread worker_;
  std::shared_ptr<std::atomic<bool>> cancel_, done_;
  unsigned generation_ = 0;
  // What the lines around the pass rate say, and what the rate is measured against.
  QString before_, after_;
  Result<EnvironmentInputs, QString> surroundings_ = EnvironmentInputs{};
};

}  // namespace kippwerk::ui
