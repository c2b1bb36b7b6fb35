// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/realspreadpanel.h"

#include "ui/histogram.h"
#include "ui/reading.h"

namespace kippwerk::ui {

QString toleranceHeading() {
  return QStringLiteral("Bauteiltoleranzen bei 25 °C:");
}

RealSpreadPanel::RealSpreadPanel(QLabel* text, DeviationHistogram* picture, QObject* parent)
    : QObject(parent),
      text_(text),
      picture_(picture),
      cancel_(std::make_shared<std::atomic<bool>>(false)),
      done_(std::make_shared<std::atomic<bool>>(true)) {}

RealSpreadPanel::~RealSpreadPanel() {
  stop();
}

// The boards still being built are given up; the worker looks at its flag every 8 boards.
void RealSpreadPanel::stop() {
  if (!worker_.joinable()) return;
  cancel_->store(true);
  worker_.join();
}

QString RealSpreadPanel::linesWith(const QString& passRate) const {
  QString out = before_ + QLatin1Char('\n') + passRate;
  if (!after_.isEmpty()) out += QLatin1Char('\n') + after_;
  return out;
}

void RealSpreadPanel::setSurroundings(Result<EnvironmentInputs, QString> surroundings) {
  surroundings_ = std::move(surroundings);
}

QString RealSpreadPanel::problem() const {
  return surroundings_ ? QString() : surroundings_.error();
}

std::vector<Hint> RealSpreadPanel::withLeakage(std::vector<Hint> hints,
                                               const TimerDesign& design) const {
  if (!surroundings_) return hints;
  const std::optional<Leakage> leak = leakageOf(design, surroundings_.value().around.capacitor);
  if (leak && leak->matters()) hints.push_back(leakageHint(*leak));
  return hints;
}

void RealSpreadPanel::show(const TimerDesign& design, double wantTein, double wantTaus) {
  if (!surroundings_) return clear(surroundings_.error());
  const Surroundings& around = surroundings_.value().around;
  const double limit = surroundings_.value().limit;
  stop();
  ++generation_;
  before_ =
      QStringLiteral("Real (Temperatur, Versorgung, Baustein):\n") +
      fromCore(realSpreadText(realSpread(design, around), design.monostable, wantTein, wantTaus));
  QStringList after{fromCore(largestCauseText(contributions(design, around), design.monostable))};
  for (const std::string& line : leftOut(around.capacitor, design.circuit)) after << fromCore(line);
  after_ = after.join(QLatin1Char('\n'));
  text_->setText(linesWith(QStringLiteral("Ausbeute: wird berechnet …")));
  picture_->setDeviations(std::nullopt, QStringLiteral("Die Ausbeute wird berechnet."));

  cancel_ = std::make_shared<std::atomic<bool>>(false);
  done_ = std::make_shared<std::atomic<bool>>(false);
  worker_ = std::thread([this, design, around, wantTein, wantTaus, limit, generation = generation_,
                         cancel = cancel_, done = done_] {
    std::optional<PassRate> rate =
        passRate(design, around, wantTein, wantTaus, limit, {.cancel = cancel.get()});
    done->store(true);
    if (cancel->load()) return;
    // Back on the window's thread; a newer row or input has made it stale by then, maybe.
    QMetaObject::invokeMethod(
        this,
        [this, generation, rate = std::move(rate)]() mutable {
          finished(generation, std::move(rate));
        },
        Qt::QueuedConnection);
  });
}

void RealSpreadPanel::finished(unsigned generation, std::optional<PassRate> rate) {
  if (generation != generation_) return;
  if (worker_.joinable()) worker_.join();
  if (!rate) {
    text_->setText(linesWith(QStringLiteral("Ausbeute: nicht berechenbar")));
    return;
  }
  const EnvironmentInputs& in = surroundings_.value();
  text_->setText(linesWith(
      fromCore(passRateText(rate->rate, in.limit, in.around, kBoards)) +
      QStringLiteral("\nIm Bild zählt jede Schaltung mit ihrer ungünstigsten Ecke; deshalb liegen "
                     "kaum welche nahe 0 %, und die Verteilung hat oft zwei Höcker.")));
  picture_->setDeviations(Deviations{std::move(rate->deviations), in.limit, rate->rate});
}

void RealSpreadPanel::clear(const QString& why) {
  stop();
  ++generation_;
  text_->clear();
  picture_->setDeviations(std::nullopt, why);
}

}  // namespace kippwerk::ui
