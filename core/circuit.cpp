// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/circuit.h"

#include <algorithm>
#include <cmath>
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
  return {c.model.is, c.model.n * kThermalVoltage, r2};
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

// Integral of dvd / f(vd) from a to b, 8-point Gauss-Legendre on pieces over each of which
// f changes by about a factor e at most.
double inverseCurrentIntegral(const Branch& br, double a, double b) {
  static constexpr double kNodes[] = {0.1834346424956498, 0.5255324099163290, 0.7966664774136267,
                                      0.9602898564975363};
  static constexpr double kWeights[] = {0.3626837833783620, 0.3137066458778873, 0.2223810344533745,
                                        0.1012285362903763};
  const double ratio = std::log(br.current(b) / br.current(a));
  const int pieces = ratio < 256.0 ? std::max(1, static_cast<int>(std::ceil(ratio))) : 256;
  const double width = (b - a) / pieces;
  double sum = 0.0;
  for (int p = 0; p < pieces; ++p) {
    const double middle = a + (p + 0.5) * width, half = 0.5 * width;
    double piece = 0.0;
    for (int k = 0; k < 4; ++k) {
      piece += kWeights[k] * (1.0 / br.current(middle - half * kNodes[k]) +
                              1.0 / br.current(middle + half * kNodes[k]));
    }
    sum += piece * half;
  }
  return sum;
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

std::string number(double x) {
  return exactText(x);
}

Hint resistorBelow(const char* part, const ChipFamily& f) {
  const std::string limit = partText(f.r1Min, resistorUnits);
  return {std::string(part) + " < " + limit,
          std::string(part) + " unter " + limit +
              " belastet beim Entladen den Entladetransistor an Pin 7 zu stark."};
}

Hint resistorAbove(const char* part, const ChipFamily& f, double ub) {
  const std::string limit = partText(f.rSumPerVolt * ub, resistorUnits);
  return {std::string(part) + " > " + limit,
          std::string(part) + " über " + limit + ": Bei Ub = " + number(ub) +
              " V reicht der Strom nicht mehr für den Schwellwerteingang an Pin 6 " +
              std::string(f.where) + "."};
}

Hint capacitorBelow(const ChipFamily& f) {
  const std::string limit = partText(f.c1Min, capacitorUnits);
  return {"C1 < " + limit, "C1 unter " + limit +
                               ": Die Zeiten hängen dann merklich von Streukapazitäten ab (" +
                               std::string(f.where) + ")."};
}

}  // namespace

double onTimePerFarad(const Circuit& c, double r1, double r2) {
  if (!c.diode) return kTiming * (r1 + r2);
  if (!c.realDiode()) return kTiming * r1;
  const Charge ch = chargeOf(c, r1, r2);
  return chargeTime(ch, r1, ch.ve);
}

double r2CurrentShare(const Circuit& c, double r1, double r2) {
  if (!c.realDiode()) return 0.0;
  const Charge ch = chargeOf(c, r1, r2);
  return ch.ve / r2 / ch.branch.current(ch.ve);
}

std::vector<VoltagePoint> capacitorVoltage(const Circuit& c, double r1, double r2, double c1,
                                           int points) {
  std::vector<VoltagePoint> out;
  const int n = std::max(points, 2);
  out.reserve(static_cast<std::size_t>(2 * n));
  const double low = c.ub / 3.0, high = 2.0 * c.ub / 3.0;
  const double tein = onTime(c, r1, r2, c1), taus = kTiming * r2 * c1;
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
  for (int i = 1; i < n; ++i) {
    const double t = taus * i / (n - 1);
    out.push_back({tein + t, high * std::exp2(-t / taus)});
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
  if (f.rSumPerVolt > 0.0 && r1 + r2 > f.rSumPerVolt * c.ub) {
    out.push_back(resistorAbove("R1+R2", f, c.ub));
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
  if (f.rSumPerVolt > 0.0 && r > f.rSumPerVolt * ub) out.push_back(resistorAbove("R", f, ub));
  if (c1 < f.c1Min) out.push_back(capacitorBelow(f));
  return out;
}

}  // namespace kippwerk
