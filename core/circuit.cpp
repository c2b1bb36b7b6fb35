// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/circuit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "core/normtext.h"
#include "core/numbers.h"
#include "core/timing.h"

namespace kippwerk {
namespace {

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
double diodeVoltage(const Branch& b, double r1, double drop) {
  // Each of the two currents alone would give an upper bound.
  const double diodeOnly = b.nvt * std::log1p(drop / (r1 * b.is));
  const double r2Only = drop / (1.0 + r1 / b.r2);
  double x = std::min({diodeOnly, r2Only, drop});
  for (int i = 0; i < 200; ++i) {
    const double h = x + r1 * b.current(x) - drop;
    const double next = x - h / (1.0 + r1 * b.slope(x));
    if (!(next < x) || !(next > 0.0)) break;
    x = next;
  }
  return x;
}

// Integral of 1 / f from a to b, 8-point Gauss-Legendre on `pieces` equal pieces.
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
      piece +=
          kWeights[k] * (1.0 / f(middle - half * kNodes[k]) + 1.0 / f(middle + half * kNodes[k]));
    }
    sum += piece * half;
  }
  return sum;
}

// As many pieces as the current changes by factors of about e between the ends, at most 256.
int piecesFor(double currentA, double currentB) {
  const double ratio = std::fabs(std::log(currentB / currentA));
  return ratio < 256.0 ? std::max(1, static_cast<int>(std::ceil(ratio))) : 256;
}

// Integral of dvd / f(vd) from a to b.
double inverseCurrentIntegral(const Branch& br, double a, double b) {
  return gaussLegendre([&br](double vd) { return br.current(vd); }, a, b,
                       piecesFor(br.current(a), br.current(b)));
}

// The discharge: R2 and the reverse-biased diode in parallel across C1.
struct Discharge {
  double is, nvt, r2;

  double current(double v) const { return v / r2 - is * std::expm1(-v / nvt); }
  // Seconds per farad from capacitor voltage `high` down to `low`.
  double time(double low, double high) const {
    return kTiming / std::numbers::ln2 *
           gaussLegendre([this](double v) { return current(v); }, low, high,
                         piecesFor(current(low), current(high)));
  }
};

Discharge dischargeOf(const Circuit& c, double r2) {
  return {c.saturationCurrent(), c.model.n * c.thermalVoltage(), r2};
}

// The charge with a real diode: the diode voltages at Ub / 3 and 2 Ub / 3 on C1.
struct Charge {
  Branch branch;
  double vs, ve;  // start and end
};

Charge chargeOf(const Circuit& c, double r1, double r2) {
  const Branch b = branchOf(c, r2);
  return {b, diodeVoltage(b, r1, 2.0 * c.ub / 3.0), diodeVoltage(b, r1, c.ub / 3.0)};
}

// Seconds per farad from diode voltage vd back to the start of the charge.
double chargeTime(const Charge& ch, double r1, double vd) {
  const double t = r1 * std::log(ch.branch.current(ch.vs) / ch.branch.current(vd)) +
                   inverseCurrentIntegral(ch.branch, vd, ch.vs);
  return kTiming / std::numbers::ln2 * t;
}

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

}  // namespace

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

double onTimePerFarad(const Circuit& c, double r1, double r2) {
  if (!c.diode) return kTiming * (r1 + r2);
  if (!c.realDiode()) return kTiming * r1;
  const Charge ch = chargeOf(c, r1, r2);
  return chargeTime(ch, r1, ch.ve);
}

double offTimePerFarad(const Circuit& c, double r2) {
  if (!c.realDiode()) return kTiming * r2;
  return dischargeOf(c, r2).time(c.ub / 3.0, 2.0 * c.ub / 3.0);
}

double r2CurrentShare(const Circuit& c, double r1, double r2) {
  if (!c.realDiode()) return 0.0;
  const Charge ch = chargeOf(c, r1, r2);
  return ch.ve / r2 / ch.branch.current(ch.ve);
}

double endOfChargeCurrent(const Circuit& c, double r1, double r2) {
  if (!c.diode) return c.ub / 3.0 / (r1 + r2);
  if (!c.realDiode()) return c.ub / 3.0 / r1;
  return (c.ub / 3.0 - chargeOf(c, r1, r2).ve) / r1;
}

double thresholdResistanceLimit(const ChipFamily& f, const Circuit& c, double r2) {
  if (!(f.rSumPerVolt > 0.0)) return std::numeric_limits<double>::infinity();
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

std::vector<VoltagePoint> capacitorVoltage(const Circuit& c, double r1, double r2, double c1,
                                           int points) {
  std::vector<VoltagePoint> out;
  const int n = std::max(points, 2);
  out.reserve(static_cast<std::size_t>(2 * n));
  const double low = c.ub / 3.0, high = 2.0 * c.ub / 3.0;
  const double tein = onTime(c, r1, r2, c1);
  if (c.realDiode()) {
    const Charge ch = chargeOf(c, r1, r2);
    for (int i = 0; i < n; ++i) {
      const double vd = ch.vs + (ch.ve - ch.vs) * i / (n - 1);
      out.push_back({chargeTime(ch, r1, vd) * c1, c.ub - vd - r1 * ch.branch.current(vd)});
    }
  } else {
    // Towards Ub: the distance to Ub halves every t-EIN, as 0.69 stands for ln 2.
    for (int i = 0; i < n; ++i) {
      const double t = tein * i / (n - 1);
      out.push_back({t, c.ub - (c.ub - low) * std::exp2(-t / tein)});
    }
  }
  if (c.realDiode()) {
    // The time from 2 Ub / 3 down to each voltage, the voltages evenly spaced.
    const Discharge d = dischargeOf(c, r2);
    for (int i = 1; i < n; ++i) {
      const double v = high + (low - high) * i / (n - 1);
      out.push_back({tein + d.time(v, high) * c1, v});
    }
  } else {
    const double taus = kTiming * r2 * c1;
    for (int i = 1; i < n; ++i) {
      const double t = taus * i / (n - 1);
      out.push_back({tein + t, high * std::exp2(-t / taus)});
    }
  }
  return out;
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
  return out;
}

std::vector<Hint> monostableHints(const ChipFamily& f, double ub, double r, double c1) {
  std::vector<Hint> out;
  if (r < f.r1Min) out.push_back(resistorBelow("R", f));
  if (f.rSumPerVolt > 0.0 && r > f.rSumPerVolt * ub) {
    out.push_back(resistorAbove("R", f, ub, f.rSumPerVolt * ub));
  }
  if (c1 < f.c1Min) out.push_back(capacitorBelow(f));
  return out;
}

}  // namespace kippwerk
