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

#include "core/realspread.h"

namespace kippwerk::ui {

class DeviationHistogram;

class RealSpreadPanel : public QObject {
 public:
  RealSpreadPanel(QLabel* text, DeviationHistogram* picture, QObject* parent);
  ~RealSpreadPanel() override;

  // The design's spread against the desired times (monostable: wantTaus unused) and the limit.
  void show(const TimerDesign& design, const Surroundings& around, double wantTein, double wantTaus,
            double limit);
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
  double limit_ = 0.0;
  Surroundings around_;
};

}  // namespace kippwerk::ui
