#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Kippwerk authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reference times of the astable and monostable timer, worked out apart from the program.

The circuit: R1 from Ub to pin 7, R2 (and a diode across it) from pin 7 to C1. While the output
is high, pin 7's switch is open: R1's current less pin 7's leakage flows on into C1, through R2
and the forward-biased diode (i = Is (exp(vd / n Vt) - 1) + vd / R2). While it is low, the
switch holds pin 7 at Voff + Rs I, I being R1's current and C1's; C1 discharges through R2 and
the reverse-biased diode. The threshold input draws its current out of C1 from 2 Ub/3 - 0.1 V
up, the trigger input feeds its current in up to Ub/3 + 0.1 V. Each comparator switches a delay
after C1 crosses its level.

Two ways, each apart from the program's (which integrates over the diode's voltage):

  quadrature: C1's current at each voltage by bisection (the diode's voltage, pin 7's voltage),
              adaptive Simpson over C1's voltage, the levels and window edges as the ends of
              the pieces; the delays' overshoot found by bisection on the integral;
  stepping:   C1's voltage stepped through time by the classic Runge-Kutta method, each level
              and window edge met exactly by bisection on the last step, the delays counted
              off, through two periods; the second is the steady state.

    python3 tools/chip_reference.py
"""
import math

VT = 1.380649e-23 * 300.15 / 1.602176634e-19
DIODES = {"none": None, "1N4148": (2.52e-9, 1.752), "1N4001": (14.11e-9, 1.984),
          "1N5817": (31.7e-6, 1.373), "ideal": (0.0, 1.0)}
# switch volts, ohms at 5 V, ohms at 15 V, delay, threshold, trigger, leakage
CHIPS = {"ideal": (0, 0, 0, 0, 0, 0, 0),
         "NE555": (0.08 - 4.5e-3 * 0.1 / 10.5e-3, 0.1 / 10.5e-3, 0.1 / 10.5e-3, 0.5e-6,
                   30e-9, 0.25e-6, 20e-9),
         "7555": (0, 0.2 / 15e-3, 0.2 / 15e-3, 0.39e-6, 0, 0, 0),
         "TLC555": (0, 14.0, 7.7, 0.145e-6, 0, 0, 0)}
WINDOW = 0.1


def bisect(f, lo, hi, n=200):
    """The root of a rising f between lo and hi."""
    for _ in range(n):
        mid = 0.5 * (lo + hi)
        if mid in (lo, hi):
            break
        if f(mid) > 0:
            hi = mid
        else:
            lo = mid
    return 0.5 * (lo + hi)


class Timer:
    def __init__(self, ub, r1, r2, diode, chip):
        self.ub, self.r1, self.r2 = ub, r1, r2
        self.diode = DIODES[diode]
        voff, rs5, rs15, td, ithr, itrig, ileak = CHIPS[chip]
        x = min(max((ub - 5) / 10, 0), 1)
        self.voff, self.rs = voff, rs5 + (rs15 - rs5) * x
        self.td, self.ithr, self.itrig, self.ileak = td, ithr, itrig, ileak
        self.lo, self.hi = ub / 3, 2 * ub / 3

    def windows(self, v, charging):
        i = (self.itrig if v <= self.lo + WINDOW else 0) - (self.ithr if v >= self.hi - WINDOW else 0)
        return i if charging else -i

    def branch(self, x):
        """Current through R2 and the diode with x volts across them, from pin 7 to C1."""
        i = x / self.r2
        if self.diode is not None and self.diode[0] > 0:
            is_, n = self.diode
            i += is_ * math.expm1(x / (n * VT))
        return i

    def charge(self, v):
        """The current into C1 while the switch is open, windows left out."""
        drive = self.ub - v - self.r1 * self.ileak
        if self.diode is not None and self.diode[0] == 0:
            return drive / self.r1  # the ideal diode bridges R2
        if self.diode is None:  # R2 alone: a straight line
            return drive / (self.r1 + self.r2)
        # pin 7 at v + x: (Ub - v - x) / R1 - leakage = branch(x)
        x = bisect(lambda x: x + self.r1 * self.branch(x) - drive, min(0, drive), max(0, drive))
        return self.branch(x)

    def discharge(self, v):
        """The current out of C1 while the switch is closed, windows left out."""
        if self.diode is None or self.diode[0] == 0:  # R2 alone: a straight line
            v7 = (self.voff + self.rs * (self.ub / self.r1 + v / self.r2)) / (
                1 + self.rs / self.r1 + self.rs / self.r2)
            return (v - v7) / self.r2
        def excess(v7):  # rises with v7
            return v7 - self.voff - self.rs * ((self.ub - v7) / self.r1 - self.branch(v7 - v))
        v7 = bisect(excess, -1.0, self.ub + 1.0)
        return -self.branch(v7 - v)

    def current(self, v, charging, side=None):
        """dC1v/dt times C1: the current into C1; the windows' current as at `side` if given,
        so that a step starting on a window edge takes the side it runs into."""
        w = self.windows(v if side is None else side, charging)
        if charging:
            return self.charge(v) + w
        return -(self.discharge(v) + w)


def simpson(f, a, b, tol):
    def rec(a, b, fa, fb, fc, whole, tol, depth):
        c = 0.5 * (a + b)
        d, e = 0.5 * (a + c), 0.5 * (c + b)
        fd, fe = f(d), f(e)
        left = (c - a) / 6 * (fa + 4 * fd + fc)
        right = (b - c) / 6 * (fc + 4 * fe + fb)
        # the tolerance halves with each level, but not below what doubles can tell apart
        if depth <= 0 or abs(left + right - whole) <= 15 * max(tol, 1e-15 * abs(whole)):
            return left + right + (left + right - whole) / 15
        return (rec(a, c, fa, fc, fd, left, tol / 2, depth - 1) +
                rec(c, b, fc, fb, fe, right, tol / 2, depth - 1))
    c = 0.5 * (a + b)
    fa, fb, fc = f(a), f(b), f(c)
    return rec(a, b, fa, fb, fc, (b - a) / 6 * (fa + 4 * fc + fb), tol, 50)


def phase_time(t, v1, v2, charging, scale):
    """Seconds per farad from v1 to v2, split at the window edges."""
    cuts = sorted({v1, v2} | {e for e in (t.lo + WINDOW, t.hi - WINDOW) if min(v1, v2) < e < max(v1, v2)})
    total = 0.0
    for a, b in zip(cuts, cuts[1:]):
        total += simpson(lambda v: 1 / abs(t.current(v, charging)), a, b, scale * 1e-11)
    return total


def quadrature(ub, r1, r2, c1, diode, chip):
    t = Timer(ub, r1, r2, diode, chip)
    scale = (r1 + r2)
    tau = t.td / c1

    def overshoot(level, charging):
        if tau == 0:
            return level
        # C1 runs on toward where its current vanishes, never beyond
        sign = 1 if charging else -1
        far = bisect(lambda w: -sign * t.current(sign * w, charging), sign * level,
                     t.ub if charging else 0.0)
        return sign * bisect(lambda w: phase_time(t, level, sign * w, charging, scale) - tau,
                             sign * level, far)
    vb, va = overshoot(t.hi, True), overshoot(t.lo, False)
    tein = c1 * phase_time(t, va, t.hi, True, scale) + t.td
    taus = c1 * phase_time(t, vb, t.lo, False, scale) + t.td
    return tein, taus


def stepping(ub, r1, r2, c1, diode, chip, steps=4000):
    t = Timer(ub, r1, r2, diode, chip)

    def rk4(v, h, charging, side):
        f = lambda x: t.current(x, charging, side) / c1
        k1 = f(v)
        k2 = f(v + h / 2 * k1)
        k3 = f(v + h / 2 * k2)
        k4 = f(v + h * k3)
        return v + h / 6 * (k1 + 2 * k2 + 2 * k3 + k4)

    def until(v, level, charging, h):
        """Steps until C1 reaches level; the time taken and the voltage."""
        elapsed = 0.0
        side = 0.5 * (v + level)  # no window edge lies between
        before = lambda x: x < level if charging else x > level
        while True:
            nxt = rk4(v, h, charging, side)
            if before(nxt):
                v, elapsed = nxt, elapsed + h
                continue
            s = bisect(lambda s: (rk4(v, s, charging, side) - level) * (1 if charging else -1), 0.0, h)
            return elapsed + s, level

    def run(v, duration, charging, h):
        n = max(1, math.ceil(duration / h))
        side = v + (1e-3 if charging else -1e-3)
        for _ in range(n):
            v = rk4(v, duration / n, charging, side)
        return v

    def phase(v, charging, h):
        """From v to the level, through each window edge, then on for the delay."""
        level = t.hi if charging else t.lo
        edges = [e for e in (t.lo + WINDOW, t.hi - WINDOW) if (v < e < level if charging else level < e < v)]
        edges.sort(reverse=not charging)
        elapsed = 0.0
        for e in edges + [level]:
            dt, v = until(v, e, charging, h)
            elapsed += dt
        if t.td > 0:
            # beyond the level no window edge lies ahead for these supplies
            v = run(v, t.td, charging, h)
        return elapsed + t.td, v

    guess = 0.69 * (r1 + r2) * c1
    h = guess / steps
    v = t.lo
    times = []
    for _ in range(2):
        on, v = phase(v, True, h)
        off, v = phase(v, False, h)
        times.append((on, off))
    return times[-1]


def pulse(ub, r, c1, chip):
    """The monostable pulse by quadrature: from pin 7's level to 2 Ub/3, then the delay."""
    t = Timer(ub, r, 1e300, "none", chip)
    start = (t.voff + t.rs * ub / r) / (1 + t.rs / r)
    def current(v):
        return (ub - v) / r - t.ileak - (t.ithr if v >= t.hi - WINDOW else 0)
    cuts = [start, t.hi - WINDOW, t.hi] if start < t.hi - WINDOW else [start, t.hi]
    total = sum(simpson(lambda v: 1 / current(v), a, b, r * 1e-14) for a, b in zip(cuts, cuts[1:]))
    return c1 * total + t.td


CASES = [
    ("9 V, 1 k, 1 k, 10 nF", 9, 1e3, 1e3, 10e-9, "none", "NE555"),
    ("5 V, 1 k, 10 k, 10 nF", 5, 1e3, 10e3, 10e-9, "none", "NE555"),
    ("9 V, 150 k, 68 k, 4.7 uF", 9, 150e3, 68e3, 4.7e-6, "none", "NE555"),
    ("9 V, 150 k, 68 k, 4.7 uF, 1N4148", 9, 150e3, 68e3, 4.7e-6, "1N4148", "NE555"),
    ("5 V, 1 M, 1 M, 1 uF", 5, 1e6, 1e6, 1e-6, "none", "NE555"),
    ("9 V, 1 k, 2.2 k, 1 nF", 9, 1e3, 2.2e3, 1e-9, "none", "NE555"),
    ("TLC555 9 V, 1 k, 2.2 k, 1 nF", 9, 1e3, 2.2e3, 1e-9, "none", "TLC555"),
    ("7555 5 V, 470, 270, 200 pF", 5, 470, 270, 200e-12, "none", "7555"),
    ("TLC555 5 V, 470, 200, 200 pF", 5, 470, 200, 200e-12, "none", "TLC555"),
    ("NE555 12 V, 10 k, 4.7 k, 10 nF, 1N5817", 12, 10e3, 4.7e3, 10e-9, "1N5817", "NE555"),
    ("NE555 5 V, 2.2 k, 1 k, 1 nF, 1N4001", 5, 2.2e3, 1e3, 1e-9, "1N4001", "NE555"),
    ("ideal chip 5 V, 820 k, 1 M, 1 uF, 1N4148", 5, 820e3, 1e6, 1e-6, "1N4148", "ideal"),
    ("ideal chip 9 V, 150 k, 68 k, 1 uF, 1N5817", 9, 150e3, 68e3, 1e-6, "1N5817", "ideal"),
]

# The diodes alone, with the ideal chip: t-EIN with 1 uF and t-AUS (R1 takes no part then).
DIODE_CASES = [(5, 820e3, 1e6, 1e-6, d) for d in ("none", "ideal", "1N4148", "1N4001", "1N5817")] + [
    (9, 1e6, 10e6, 100e-9, "1N5817"), (12, 10e3, 4.7e3, 10e-9, "1N4148"),
    (9, 150e3, 68e3, 1e-6, "1N4148"), (9, 150e3, 68e3, 1e-6, "1N5817"),
    (9, 150e3, 680e3, 1e-6, "1N5817"), (5, 150e3, 1e6, 1e-6, "1N4001"),
    (0.5, 150e3, 10e3, 1e-6, "1N5817")]

if __name__ == "__main__":
    for ub, r1, r2, c1, diode in DIODE_CASES:
        q = quadrature(ub, r1, r2, c1, diode, "ideal")
        print(f"ideal chip {ub} V, R1 {r1:g}, R2 {r2:g}, C1 {c1:g}, {diode:7s} "
              f"t-EIN {q[0]:.12g} s, t-AUS {q[1]:.12g} s")
    for name, ub, r1, r2, c1, diode, chip in CASES:
        q = quadrature(ub, r1, r2, c1, diode, chip)
        s = stepping(ub, r1, r2, c1, diode, chip)
        worst = max(abs(q[0] / s[0] - 1), abs(q[1] / s[1] - 1))
        print(f"{name:40s} t-EIN {q[0]:.10g} s, t-AUS {q[1]:.10g} s"
              f"  (stepping {s[0]:.10g}, {s[1]:.10g}: {worst:.1e})")
    print(f"{'monoflop NE555 9 V, 910 k, 1 uF':40s} t {pulse(9, 910e3, 1e-6, 'NE555'):.10g} s")
