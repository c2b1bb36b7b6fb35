// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/circuit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "core/normtext.h"
#include "core/numbers.h"
#include "core/timing.h"

namespace kippwerk {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The diode and R2 in parallel, fed through R1.
struct Branch {
  double is, nvt, r2;  // r2 may be infinite

  double current(double vd) const { return is * std::expm1(vd / nvt) + vd / r2; }
  double slope(double vd) const { return is / nvt * std::exp(vd / nvt) + 1.0 / r2; }
};

Branch branchOf(const Circuit& c, double r2) {
  return {c.saturationCurrent(), c.model.n * c.thermalVoltage(), r2};
}

// The diode voltage at which vd + R1 * f(vd) = drop, that is, at which C1 has charged to
// Ub - drop. The left side is convex and rising, so Newton's steps from a start above the root
// fall monotonically onto it; they stop where a step no longer lowers the value.
double diodeVoltage(const Branch& b, double r1, double drop, double above = kInfinity) {
  if (!(drop > 0.0)) return 0.0;
  // Each of the two currents alone would give an upper bound, and so may the caller.
  const double diodeOnly = b.nvt * std::log1p(drop / (r1 * b.is));
  const double r2Only = drop / (1.0 + r1 / b.r2);
  double x = std::min({diodeOnly, r2Only, drop, above});
  for (int i = 0; i < 200; ++i) {
    const double e = std::exp(x / b.nvt);
    const double current = b.is * (x < 0.01 * b.nvt ? std::expm1(x / b.nvt) : e - 1.0) + x / b.r2;
    const double next =
        x - (x + r1 * current - drop) / (1.0 + r1 * (b.is / b.nvt * e + 1.0 / b.r2));
    if (!(next < x) || !(next > 0.0)) break;
    x = next;
  }
  return x;
}

// Integral of f from a to b, 8-point Gauss-Legendre on `pieces` equal pieces.
template <class F>
double gaussLegendre(const F& f, double a, double b, int pieces) {
  static constexpr double kNodes[] = {0.1834346424956498, 0.5255324099163290, 0.7966664774136267,
                                      0.9602898564975363};
  static constexpr double kWeights[] = {0.3626837833783620, 0.3137066458778873, 0.2223810344533745,
                                        0.1012285362903763};
  const double width = (b - a) / pieces;
  double sum = 0.0;
  for (int p = 0; p < pieces; ++p) {
    const double middle = a + (p + 0.5) * width, half = 0.5 * width;
    double piece = 0.0;
    for (int k = 0; k < 4; ++k) {
      piece += kWeights[k] * (f(middle - half * kNodes[k]) + f(middle + half * kNodes[k]));
    }
    sum += piece * half;
  }
  return sum;
}

// Integral of f from a to b where f changes by a few percent at most: 3-point Gauss-Legendre,
// exact for polynomials up to the fifth degree.
template <class F>
double gaussLegendre3(const F& f, double a, double b) {
  const double middle = 0.5 * (a + b), half = 0.5 * (b - a), node = 0.7745966692414834;
  return half *
         (8.0 / 9.0 * f(middle) + 5.0 / 9.0 * (f(middle - half * node) + f(middle + half * node)));
}

// Parts at the ends of the doubles (a resistance of 1e-320 Ohm) can leave a time without a
// value; such a circuit never reaches its level as far as anyone can tell.
double settled(double t) {
  return std::isnan(t) ? kInfinity : t;
}

// As many pieces as the current changes by factors of about e between the ends, at most 256.
int piecesFor(double currentA, double currentB) {
  const double ratio = std::fabs(std::log(currentB / currentA));
  return ratio < 256.0 ? std::max(1, static_cast<int>(std::ceil(ratio))) : 256;
}

}  // namespace

// How C1's current follows its voltage in one phase, as the current in the phase's direction
// (into C1 while charging, out of it while discharging). Where it is a straight line in the
// voltage, the times have closed forms. With a real diode it is written in a parameter p, the
// voltage across the diode and R2, from which C1's voltage follows without solving anything:
// the integrals then need no equation solved at each point. p falls as the phase runs, in
// both phases.
struct PhaseLaw {
  enum class Kind { Line, DiodeCharge, DiodeDischarge };
  Kind kind = Kind::Line;
  bool rising = true;       // the charge: C1's voltage rises
  double a = 0.0, b = 0.0;  // Line: current = a + b * v
  Branch branch{0.0, 1.0, kInfinity};
  double r1 = 0.0, ub = 0.0, leakage = 0.0;  // DiodeCharge
  double held = 0.0, share = 1.0, rs = 0.0;  // DiodeDischarge: V7 = (held + rs * i) * share
  // The comparator inputs' currents in the phase's direction: one up to lowEdge, one from
  // highEdge on.
  double lowEdge = 0.0, highEdge = 0.0, lowCurrent = 0.0, highCurrent = 0.0;
  // A current all along, in the phase's direction: C1's own leakage.
  double steady = 0.0;

  double window(double v) const {
    return steady + (v <= lowEdge ? lowCurrent : 0.0) + (v >= highEdge ? highCurrent : 0.0);
  }
  // The window current just beyond u, in the direction of travel.
  double ahead(double u) const {
    if (rising) {
      return steady + (u < lowEdge ? lowCurrent : 0.0) + (u >= highEdge ? highCurrent : 0.0);
    }
    return steady + (u <= lowEdge ? lowCurrent : 0.0) + (u > highEdge ? highCurrent : 0.0);
  }

  // The diode laws in p: the current and its slope from one exponential (the charge's forward
  // current, the discharge's reverse current), exact near 0 too.
  struct Flow {
    double current, slope;
  };
  Flow flow(double p) const {
    const double x = kind == Kind::DiodeCharge ? p / branch.nvt : -p / branch.nvt;
    const double e = std::exp(x);
    const double em1 = std::fabs(x) < 0.01 ? std::expm1(x) : e - 1.0;
    if (kind == Kind::DiodeCharge) {
      return {branch.is * em1 + p / branch.r2, branch.is / branch.nvt * e + 1.0 / branch.r2};
    }
    return {p / branch.r2 - branch.is * em1, 1.0 / branch.r2 + branch.is / branch.nvt * e};
  }
  double current(double p) const { return flow(p).current; }
  double currentSlope(double p) const { return flow(p).slope; }
  double voltageOf(double p, const Flow& f) const {
    if (kind == Kind::DiodeCharge) return ub - p - r1 * (f.current + leakage);
    return p + (held + rs * f.current) * share;
  }
  // |dv / dp|.
  double stretchOf(const Flow& f) const {
    return kind == Kind::DiodeCharge ? 1.0 + r1 * f.slope : 1.0 + rs * share * f.slope;
  }
  double voltage(double p) const { return voltageOf(p, flow(p)); }
  double stretch(double p) const { return stretchOf(flow(p)); }
  // dt / dp per farad with the window current `extra`.
  double pace(double p, double extra) const {
    const Flow f = flow(p);
    return stretchOf(f) / (f.current + extra);
  }
  // The parameters of the levels and the window edges, which every phase passes, worked out
  // once; others anew.
  // In rising order, each found when first asked for, always from the one below it (negative:
  // not yet), so that a parameter is the same whichever time asked for it first.
  std::array<double, 4> standard{};
  mutable std::array<double, 4> known{-1.0, -1.0, -1.0, -1.0};
  void remember(std::array<double, 4> voltages) {
    std::sort(voltages.begin(), voltages.end());
    standard = voltages;
  }
  double standardParameter(std::size_t i) const {
    if (known[i] < 0.0) known[i] = solve(standard[i], i > 0 ? standardParameter(i - 1) : -1.0);
    return known[i];
  }
  double parameter(double v) const {
    for (std::size_t i = 0; i < standard.size(); ++i) {
      if (standard[i] == v) return standardParameter(i);
    }
    return solve(v);
  }
  // The parameter at voltage v; `near` a parameter of a nearby voltage from the side where the
  // steps run monotonically (the charge's from a lower voltage, the discharge's from a lower
  // one too), which saves most of them.
  double solve(double v, double near = -1.0) const {
    if (kind == Kind::DiodeCharge) {
      return diodeVoltage(branch, r1, ub - v - r1 * leakage, near >= 0.0 ? near : kInfinity);
    }
    // x + V7(x) = v rises and is concave in x, so Newton's steps from below rise monotonically
    // onto the root; they stop where a step no longer raises the value. V7 hardly moves, so
    // without a start from below x = v - V7(0), just above the root, gives one by a step.
    const double top = v - held * share;
    if (!(top > 0.0)) return 0.0;
    double x = near;
    if (!(near >= 0.0 && near <= top)) {
      const Flow f = flow(top);
      x = std::max(0.0, top - (voltageOf(top, f) - v) / stretchOf(f));
    }
    for (int i = 0; i < 100; ++i) {
      const Flow f = flow(x);
      const double next = x - (voltageOf(x, f) - v) / stretchOf(f);
      if (!(next > x) || !(next <= top)) break;
      x = next;
    }
    return x;
  }

  // The current in the phase's direction at voltage v with the window's current `extra`.
  double currentAt(double v, double extra) const {
    if (kind == Kind::Line) return a + b * v + extra;
    return current(parameter(v)) + extra;
  }

  // Seconds per farad from u1 to u2 with the window current `extra` all along.
  double piece(double u1, double u2, double extra) const {
    if (u1 == u2) return 0.0;
    if (kind == Kind::Line) {
      const double end = a + b * u2 + extra;
      if (!(end > 0.0)) return kInfinity;
      if (b == 0.0) return std::fabs(u2 - u1) / end;
      return std::log1p(b * (u1 - u2) / end) / std::fabs(b);
    }
    const double p1 = parameter(u1), p2 = parameter(u2);
    const double end = current(p2) + extra;
    if (!(end > 0.0)) return kInfinity;
    return integral(p2, p1, extra, end, current(p1) + extra);
  }

  // Seconds per farad between parameters low and high, where the current is `atLow` and
  // `atHigh` (the window's current `extra` included): few points where it hardly changes.
  double integral(double low, double high, double extra, double atLow, double atHigh) const {
    auto f = [this, extra](double p) { return pace(p, extra); };
    if (std::fabs(atHigh / atLow - 1.0) < 0.02) return gaussLegendre3(f, low, high);
    return gaussLegendre(f, low, high, piecesFor(atHigh, atLow));
  }

  // The window edges met on the way from u1 to u2, in order.
  std::vector<double> stops(double u1, double u2) const {
    std::vector<double> out;
    for (double e : {lowEdge, highEdge}) {
      if ((e - u1) * (e - u2) < 0.0) out.push_back(e);
    }
    if (out.size() == 2 && std::fabs(out[1] - u1) < std::fabs(out[0] - u1)) {
      std::swap(out[0], out[1]);
    }
    return out;
  }

  // Seconds per farad from u1 to u2; infinite where the current stops on the way.
  double time(double u1, double u2) const {
    double total = 0.0, from = u1;
    std::vector<double> points = stops(u1, u2);
    points.push_back(u2);
    for (double to : points) {
      total += piece(from, to, window(0.5 * (from + to)));
      from = to;
    }
    return total;
  }

  // C1's voltage `tau` seconds per farad after `from`.
  double after(double from, double tau) const {
    double u = from, left = tau;
    // The edges ahead, in the direction of travel, then the rest of the way.
    for (double e : stops(from, rising ? 1e300 : -1e300)) {
      const double extra = ahead(u);
      const double t = piece(u, e, extra);
      if (!(t < left)) return within(u, left, extra);
      left -= t;
      u = e;
    }
    return within(u, left, ahead(u));
  }

  // Where the current reaches `target` above 0, below p0 where it is larger: Newton from the
  // side where its steps fall (the charge's current is convex) or rise (the discharge's is
  // concave) monotonically onto the root.
  double vanishing(double target, double p0) const {
    double p = kind == Kind::DiodeCharge ? p0 : 0.0;
    for (int i = 0; i < 100; ++i) {
      const double next = p - (current(p) - target) / currentSlope(p);
      const bool onward = kind == Kind::DiodeCharge ? next < p : next > p;
      if (!onward || !(next >= 0.0 && next <= p0)) break;
      p = next;
    }
    return p;
  }

  // C1's voltage `tau` seconds per farad after `from`, the window current `extra` throughout;
  // where the current has already stopped, C1 stays.
  double within(double from, double tau, double extra) const {
    if (!(tau > 0.0)) return from;
    if (kind == Kind::Line) {
      const double start = a + b * from + extra;
      if (!(start > 0.0)) return from;
      if (b == 0.0) return from + (rising ? 1.0 : -1.0) * start * tau;
      return (start * std::exp(-std::fabs(b) * tau) - a - extra) / b;
    }
    // p falls from p0 toward the asymptote where the current vanishes.
    const double p0 = parameter(from);
    if (!(current(p0) + extra > 0.0)) return from;
    const double floor = extra < 0.0 ? vanishing(-extra, p0) : 0.0;
    // Seconds per farad from p0 down to p, each time from the parameter asked for last: after
    // the first, the steps are short and take few points.
    double knownP = p0, knownSpent = 0.0, knownCurrent = current(p0) + extra;
    auto spent = [&](double p) {
      const double at = current(p) + extra;
      knownSpent += p < knownP ? integral(p, knownP, extra, at, knownCurrent)
                               : -integral(knownP, p, extra, knownCurrent, at);
      knownP = p;
      knownCurrent = at;
      return knownSpent;
    };
    double low = floor, high = p0;
    double p = p0 - tau * (current(p0) + extra) / stretch(p0);
    for (int i = 0; i < 100; ++i) {
      if (!(p > low && p < high)) p = 0.5 * (low + high);
      const double excess = spent(p) - tau;
      (excess > 0.0 ? low : high) = p;
      const double next = p + excess / pace(p, extra);
      const bool settled = std::fabs(next - p) <= 1e-13 * p0;
      if (settled || high - low <= 1e-15 * p0) {
        p = next > low && next < high ? next : p;
        break;
      }
      p = next;
    }
    return voltage(p);
  }
};

ChipModel ChipFamily::chip(double ub) const {
  return {typical.switchVolts,      typical.switchOhms(ub), typical.delay,  typical.delay,
          typical.thresholdCurrent, typical.triggerCurrent, typical.leakage};
}

ChipModel ChipFamily::chip(double ub, const ChipVariation& v) const {
  auto between = [&v](double a, double b) { return a + (b - a) * v.switchShare; };
  return {between(typical.switchVolts, worst.switchVolts),
          between(typical.switchOhms(ub), worst.switchOhms(ub)),
          typical.delay * v.delay,
          typical.delay * v.delay,
          worst.thresholdCurrent * v.threshold,
          worst.triggerCurrent * v.trigger,
          worst.leakage * v.leakage};
}

double Circuit::thermalVoltage() const {
  if (kelvin == kModelKelvin) return kThermalVoltage;
  return 1.380649e-23 * kelvin / 1.602176634e-19;
}

// Is(T) = Is * (T / T0)^(XTI / n) * exp((T / T0 - 1) * Eg / (n * Vt(T))).
double Circuit::saturationCurrent() const {
  if (kelvin == kModelKelvin) return model.is;
  const double ratio = kelvin / kModelKelvin;
  return model.is * std::pow(ratio, model.xti / model.n) *
         std::exp((ratio - 1.0) * model.eg / (model.n * thermalVoltage()));
}

AstableShape::AstableShape(const Circuit& c, double r1, double r2) : chip_(c.chip), ub_(c.ub) {
  const ChipModel& k = c.chip;
  const double lowLevel = c.ub / 3.0, highLevel = 2.0 * c.ub / 3.0;
  auto windows = [&](PhaseLaw& law, double sign) {
    law.lowEdge = lowLevel + kComparatorWindow;
    law.highEdge = highLevel - kComparatorWindow;
    law.lowCurrent = sign * k.triggerCurrent;
    law.highCurrent = -sign * k.thresholdCurrent;
    law.steady = -sign * c.leakage;
  };
  // An R2 so small that the diode across it never sees a thousandth of its thermal voltage
  // (R1's current at most flows through it) and that its reverse current is nothing beside R2's
  // leaves the diode dark, to a part in a billion: the circuit is the one without it, and the
  // diode's laws, written in that voltage, would lose it in rounding.
  const Branch diode = branchOf(c, r2);
  const bool dark = r2 * c.ub / r1 < 1e-3 * diode.nvt && diode.is * r2 < 1e-12 * c.ub;
  const bool diodeWorks = c.realDiode() && !dark;
  // The charge: R1 feeds the node, pin 7 leaks out of it, the rest flows on into C1.
  PhaseLaw charge;
  if (diodeWorks) {
    charge.kind = PhaseLaw::Kind::DiodeCharge;
    charge.branch = branchOf(c, r2);
    charge.r1 = r1;
    charge.ub = c.ub;
    charge.leakage = k.leakage;
  } else if (c.diode && !c.realDiode()) {  // the ideal diode bridges R2
    charge.a = c.ub / r1 - k.leakage;
    charge.b = -1.0 / r1;
  } else {
    charge.a = (c.ub - r1 * k.leakage) / (r1 + r2);
    charge.b = -1.0 / (r1 + r2);
  }
  windows(charge, 1.0);
  // The discharge toward pin 7, which the switch holds at (Voff + Rs * I), I = R1's current and
  // C1's: Thevenin's equivalent of Voff behind Rs and Ub behind R1.
  PhaseLaw discharge;
  discharge.rising = false;
  const double share = 1.0 / (1.0 + k.switchOhms / r1);
  const double held = k.switchVolts + k.switchOhms * c.ub / r1;
  if (diodeWorks) {
    discharge.kind = PhaseLaw::Kind::DiodeDischarge;
    discharge.branch = branchOf(c, r2);
    discharge.held = held;
    discharge.share = share;
    discharge.rs = k.switchOhms;
  } else {
    const double resistance = r2 + k.switchOhms * share;
    discharge.a = -held * share / resistance;
    discharge.b = 1.0 / resistance;
  }
  windows(discharge, -1.0);
  for (PhaseLaw* law : {&charge, &discharge}) {
    law->remember({lowLevel, highLevel, law->lowEdge, law->highEdge});
  }
  charge_ = std::make_shared<const PhaseLaw>(charge);
  discharge_ = std::make_shared<const PhaseLaw>(discharge);
}

AstableShape::Edges AstableShape::edges(double c1) const {
  const double lowLevel = ub_ / 3.0, highLevel = 2.0 * ub_ / 3.0;
  const double high =
      chip_.thresholdDelay > 0.0 ? charge_->after(highLevel, chip_.thresholdDelay / c1) : highLevel;
  const double low =
      chip_.triggerDelay > 0.0 ? discharge_->after(lowLevel, chip_.triggerDelay / c1) : lowLevel;
  return {low, high};
}

// The full charge and discharge between the levels, per farad, worked out when first needed:
// the searches ask for one time of many shapes.
double AstableShape::onPerFarad() const {
  if (!onFull_) onFull_ = charge_->time(ub_ / 3.0, 2.0 * ub_ / 3.0);
  return *onFull_;
}

double AstableShape::offPerFarad() const {
  if (!offFull_) offFull_ = discharge_->time(2.0 * ub_ / 3.0, ub_ / 3.0);
  return *offFull_;
}

double AstableShape::teinAt(double c1) const {
  if (!(c1 > 0.0)) return chip_.thresholdDelay;
  const double lowLevel = ub_ / 3.0;
  const double start =
      chip_.triggerDelay > 0.0 ? discharge_->after(lowLevel, chip_.triggerDelay / c1) : lowLevel;
  return settled(c1 * (charge_->time(start, lowLevel) + onPerFarad()) + chip_.thresholdDelay);
}

double AstableShape::tausAt(double c1) const {
  if (!(c1 > 0.0)) return chip_.triggerDelay;
  const double highLevel = 2.0 * ub_ / 3.0;
  const double start =
      chip_.thresholdDelay > 0.0 ? charge_->after(highLevel, chip_.thresholdDelay / c1) : highLevel;
  return settled(c1 * (discharge_->time(start, highLevel) + offPerFarad()) + chip_.triggerDelay);
}

// Each phase's current is smallest at its end: it falls with the way C1 has gone, and the
// comparator's input current there only takes from it.
bool AstableShape::runs() const {
  const double lowLevel = ub_ / 3.0, highLevel = 2.0 * ub_ / 3.0;
  return charge_->currentAt(highLevel, charge_->window(highLevel)) > 0.0 &&
         discharge_->currentAt(lowLevel, discharge_->window(lowLevel)) > 0.0;
}

AstableTimes AstableShape::at(double c1) const {
  return {teinAt(c1), tausAt(c1)};
}

std::vector<VoltagePoint> AstableShape::curve(double c1, int points) const {
  std::vector<VoltagePoint> out;
  const int n = std::max(points, 2);
  out.reserve(static_cast<std::size_t>(2 * n));
  const Edges e = edges(c1);
  for (int i = 0; i < n; ++i) {
    const double v = i == n - 1 ? e.high : e.low + (e.high - e.low) * i / (n - 1);
    out.push_back({c1 * charge_->time(e.low, v), v});
  }
  const AstableTimes t = at(c1);
  out.back().t = t.tein;
  for (int i = 1; i < n; ++i) {
    const double v = i == n - 1 ? e.low : e.high + (e.low - e.high) * i / (n - 1);
    out.push_back({t.tein + c1 * discharge_->time(e.high, v), v});
  }
  out.back().t = t.tein + t.taus;
  return out;
}

PulseShape::PulseShape(const Circuit& c, double r) : delay_(c.chip.thresholdDelay) {
  const ChipModel& k = c.chip;
  PhaseLaw law;
  law.a = c.ub / r - k.leakage;
  law.b = -1.0 / r;
  law.lowEdge = -kInfinity;
  law.highEdge = 2.0 * c.ub / 3.0 - kComparatorWindow;
  law.highCurrent = -k.thresholdCurrent;
  law.steady = -c.leakage;
  // Held by the switch at pin 7's level until the trigger.
  const double start = (k.switchVolts + k.switchOhms * c.ub / r) / (1.0 + k.switchOhms / r);
  perFarad_ = start < 2.0 * c.ub / 3.0 ? law.time(start, 2.0 * c.ub / 3.0) : 0.0;
}

double PulseShape::at(double c1) const {
  return c1 > 0.0 ? settled(c1 * perFarad_ + delay_) : delay_;
}

double r2CurrentShare(const Circuit& c, double r1, double r2) {
  if (!c.realDiode()) return 0.0;
  const Branch b = branchOf(c, r2);
  const double ve = diodeVoltage(b, r1, c.ub / 3.0 - r1 * c.chip.leakage);
  return ve / r2 / b.current(ve);
}

double endOfChargeCurrent(const Circuit& c, double r1, double r2) {
  if (!c.diode) return c.ub / 3.0 / (r1 + r2);
  if (!c.realDiode()) return c.ub / 3.0 / r1;
  return (c.ub / 3.0 - diodeVoltage(branchOf(c, r2), r1, c.ub / 3.0)) / r1;
}

namespace {

Hint resistorBelow(const char* part, const ChipFamily& f) {
  const std::string limit = partText(f.r1Min, resistorUnits);
  return {std::string(part) + " < " + limit,
          std::string(part) + " unter " + limit +
              " belastet beim Entladen den Entladetransistor an Pin 7 zu stark."};
}

Hint resistorAbove(const char* part, const ChipFamily& f, double ub, double limitOhms,
                   const char* path = "") {
  const std::string limit = partText(limitOhms, resistorUnits);
  return {std::string(part) + " > " + limit,
          std::string(part) + " über " + limit + ": Bei Ub = " + numberText(ub) +
              " V reicht der Strom" + path + " nicht mehr für den Schwellwerteingang an Pin 6 " +
              std::string(f.where) + "."};
}

// The current the threshold input needs at the end of the charge: Ub / 3 through the largest
// resistance the data sheet allows, which is proportional to Ub.
double thresholdCurrent(const ChipFamily& f) {
  return 1.0 / (3.0 * f.rSumPerVolt);
}

Hint capacitorBelow(const ChipFamily& f) {
  const std::string limit = partText(f.c1Min, capacitorUnits);
  return {"C1 < " + limit, "C1 unter " + limit +
                               ": Die Zeiten hängen dann merklich von Streukapazitäten ab (" +
                               std::string(f.where) + ")."};
}

// Where the comparators' delays make more than 1 % of the time, how much they add.
std::optional<Hint> delayHint(double withDelays, double without) {
  const double added = withDelays / without - 1.0;
  if (!(added > 0.01)) return std::nullopt;
  return Hint{"Verzögerung", "Die Verzögerungen des Zeitgebers verlängern die Periode hier um " +
                                 sizeText(added) + "."};
}

// The charge a diode moves when it switches: its transit time times the forward current at
// the end of the charge, and its junction's charge from 0 V to 2 Ub / 3.
struct DiodeCharge {
  double stored, junction;
};
DiodeCharge diodeChargeOf(const Circuit& c, double r1, double r2) {
  const DiodeModel& d = c.model;
  const Branch b = branchOf(c, r2);
  const double vd = diodeVoltage(b, r1, c.ub / 3.0);
  const double forward = b.is * std::expm1(vd / b.nvt);
  const double v = 2.0 * c.ub / 3.0;
  const double junction =
      d.cj0 > 0.0 ? d.cj0 * d.vj / (1.0 - d.m) * (std::pow(1.0 + v / d.vj, 1.0 - d.m) - 1.0) : 0.0;
  return {d.transitTime * forward, junction};
}

inline constexpr std::array<Unit, 4> kChargeUnits{{
    {"pC", 1e-12},
    {"nC", 1e-9},
    {"uC", 1e-6},
    {"mC", 1e-3},
}};

std::string shortName(std::string_view name) {
  return std::string(name.substr(0, name.find(" (")));
}

}  // namespace

double thresholdResistanceLimit(const ChipFamily& f, const Circuit& c, double r2) {
  if (!(f.rSumPerVolt > 0.0)) return kInfinity;
  if (!c.diode) return f.rSumPerVolt * c.ub;
  const double need = thresholdCurrent(f);
  double vd = 0.0;  // the ideal diode drops nothing
  if (c.realDiode()) {
    // The diode voltage at which the diode and R2 together carry the current: bisection on a
    // rising function, between 0 and the voltage at which the diode alone would carry it.
    const Branch b = branchOf(c, r2);
    double low = 0.0, high = b.nvt * std::log1p(need / b.is);
    for (int i = 0; i < 200 && high - low > 0.0; ++i) {
      const double middle = 0.5 * (low + high);
      if (middle <= low || middle >= high) break;
      (b.current(middle) < need ? low : high) = middle;
    }
    vd = high;
  }
  return std::max(0.0, c.ub / 3.0 - vd) / need;
}

std::vector<Hint> astableHints(const ChipFamily& f, const Circuit& c, double r1, double r2,
                               double c1, double frequency) {
  std::vector<Hint> out;
  if (frequency > f.fMax) {
    const std::string limit =
        unitText(scaledText(f.fMax, frequencyUnits, 4, false), frequencyUnits);
    out.push_back({"f > " + limit, "Die Frequenz liegt über der Grenze von " + limit + " " +
                                       std::string(f.where) + "."});
  }
  if (r1 < f.r1Min) out.push_back(resistorBelow("R1", f));
  if (f.rSumPerVolt > 0.0) {
    const double limit = thresholdResistanceLimit(f, c, r2);
    if (!c.diode && r1 + r2 > limit) out.push_back(resistorAbove("R1+R2", f, c.ub, limit));
    if (c.diode && r1 > limit) {
      out.push_back(
          resistorAbove("R1", f, c.ub, limit, " am Ende des Ladens durch R1 und die Diode"));
    }
  }
  if (c1 < f.c1Min) out.push_back(capacitorBelow(f));
  if (r2CurrentShare(c, r1, r2) > 0.5) {
    out.push_back({"R2 überbrückt die Diode",
                   "Am Ende des Ladens fließt mehr als die Hälfte des Stroms über R2 statt über "
                   "die Diode; t-EIN hängt dann von R2 und von der Streuung der Diode ab."});
  }
  if (c.chip.thresholdDelay > 0.0 || c.chip.triggerDelay > 0.0) {
    Circuit undelayed = c;
    undelayed.chip.thresholdDelay = undelayed.chip.triggerDelay = 0.0;
    const AstableTimes with = astableTimes(c, r1, r2, c1);
    const AstableTimes without = astableTimes(undelayed, r1, r2, c1);
    if (const auto h = delayHint(with.tein + with.taus, without.tein + without.taus)) {
      out.push_back(*h);
    }
  }
  if (c.realDiode()) {
    const DiodeCharge q = diodeChargeOf(c, r1, r2);
    const double moved = std::max(q.stored, q.junction);
    if (moved > 0.02 * c1 * c.ub / 3.0) {
      const bool stored = q.stored >= q.junction;
      const std::string name = shortName(c.model.name);
      out.push_back(
          {stored ? "Diode zu langsam" : "Diode zu groß",
           "Die Diode " + name + " verschiebt beim Umschalten etwa " +
               unitText(scaledText(moved, kChargeUnits, 3, false), kChargeUnits) +
               (stored ? " gespeicherte Ladung" : " Sperrschichtladung") +
               ", mehr als 2 % der Ladung von C1 zwischen den Schwellen; die Zeiten weichen "
               "dann ab. Besser eine 1N4148 oder ein größeres C1."});
    }
  }
  return out;
}

std::vector<Hint> monostableHints(const ChipFamily& f, const Circuit& c, double r, double c1) {
  std::vector<Hint> out;
  const double ub = c.ub;
  if (r < f.r1Min) out.push_back(resistorBelow("R", f));
  if (f.rSumPerVolt > 0.0 && r > f.rSumPerVolt * ub) {
    out.push_back(resistorAbove("R", f, ub, f.rSumPerVolt * ub));
  }
  if (c1 < f.c1Min) out.push_back(capacitorBelow(f));
  if (c.chip.thresholdDelay > 0.0) {
    Circuit undelayed = c;
    undelayed.chip.thresholdDelay = 0.0;
    if (auto h = delayHint(pulseTime(c, r, c1), pulseTime(undelayed, r, c1))) {
      h->sentence = "Die Verzögerung des Zeitgebers verlängert den Impuls hier um " +
                    h->sentence.substr(h->sentence.rfind("um ") + 3);
      out.push_back(*h);
    }
  }
  return out;
}

}  // namespace kippwerk
