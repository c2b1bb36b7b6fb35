// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/panels/realspreadpanel.h"

#include "ui/pictures/histogram.h"
#include "ui/widgets/reading.h"

namespace kippwerk::ui {

namespace {

const QString kHeading = QStringLiteral("Real (Temperatur, Versorgung, Baustein):");

}  // namespace

QString toleranceHeading() {
  return QStringLiteral("Bauteiltoleranzen bei 25 °C:");
}

std::optional<SpreadDetail> spreadDetail(const TimerDesign& design, const EnvironmentInputs& in,
                                         double wantTein, double wantTaus,
                                         const std::atomic<bool>* cancel) {
  SpreadDetail out;
  out.rate = passRate(design, in.around, wantTein, wantTaus, in.limit, {.cancel = cancel});
  if (cancel != nullptr && cancel->load()) return std::nullopt;
  out.spread = realSpread(design, in.around);
  out.causes = contributions(design, in.around);
  return out;
}

RealSpreadPanel::RealSpreadPanel(QLabel* text, DeviationHistogram* picture, QObject* parent)
    : QObject(parent), text_(text), picture_(picture) {}

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

void RealSpreadPanel::pending() {
  if (!surroundings_) return clear(surroundings_.error());
  text_->setText(kHeading + QStringLiteral("\nwird berechnet …"));
  picture_->setDeviations(std::nullopt, QStringLiteral("Die Ausbeute wird berechnet."));
}

void RealSpreadPanel::show(const TimerDesign& design, const SpreadDetail& detail, double wantTein,
                           double wantTaus) {
  if (!surroundings_) return clear(surroundings_.error());
  const EnvironmentInputs& in = surroundings_.value();
  QStringList lines{kHeading,
                    fromCore(realSpreadText(detail.spread, design.monostable, wantTein, wantTaus))};
  if (detail.rate) {
    lines << fromCore(passRateText(detail.rate->rate, in.limit, in.around, kBoards))
          << QStringLiteral(
                 "Im Bild zählt jede Schaltung mit ihrer ungünstigsten Ecke; deshalb liegen kaum "
                 "welche nahe 0 %, und die Verteilung hat oft zwei Höcker.");
    picture_->setDeviations(Deviations{detail.rate->deviations, in.limit, detail.rate->rate});
  } else {
    lines << QStringLiteral("Ausbeute: nicht berechenbar");
    picture_->setDeviations(std::nullopt, QStringLiteral("Die Ausbeute ist nicht berechenbar."));
  }
  lines << fromCore(largestCauseText(detail.causes, design.monostable));
  for (const std::string& line : leftOut(in.around.capacitor, design.circuit)) {
    lines << fromCore(line);
  }
  text_->setText(lines.join(QLatin1Char('\n')));
}

void RealSpreadPanel::clear(const QString& why) {
  text_->clear();
  picture_->setDeviations(std::nullopt, why);
}

}  // namespace kippwerk::ui
