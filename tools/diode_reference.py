#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Kippwerk authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reference values of t-EIN with a real diode across R2, worked out apart from the program.

The capacitor voltage v runs from Ub/3 to 2 Ub/3. At each v the current i into C1 solves
Ub - v = R1 * i + vd with i = Is * (exp(vd / (n Vt)) - 1) + vd / R2; the diode voltage vd is
found by bisection. The charge takes T = C1 * integral of dv / i(v), integrated here over v by
adaptive Simpson quadrature, and t-EIN = 0.69 / ln 2 * T, as the program's 0.69 stands for
ln 2. The discharge from 2 Ub/3 to Ub/3 runs through R2 and the reverse-biased diode, which
carries Is * (1 - exp(-v / (n Vt))): t-AUS = 0.69 / ln 2 * C1 * integral of dv / i(v) with
i = v / R2 + that reverse current. Prints the rows the core's test tables hold.

    python3 tools/diode_reference.py
"""
import math

VT = 1.380649e-23 * 300.15 / 1.602176634e-19
DIODES = {"1N4148": (2.52e-9, 1.752), "1N4001": (14.11e-9, 1.984),
          "1N5817": (31.7e-6, 1.373), "ideal": (0.0, 1.0)}


def current(v, ub, r1, r2, is_, n):
    if is_ == 0.0:
        return (ub - v) / r1  # no forward voltage: R2 is bridged
    def excess(vd):
        i = is_ * math.expm1(vd / (n * VT)) + vd / r2
        return vd + r1 * i - (ub - v)
    lo, hi = 0.0, ub - v
    for _ in range(200):
        mid = 0.5 * (lo + hi)
        if mid in (lo, hi):
            break
        if excess(mid) > 0:
            hi = mid
        else:
            lo = mid
    vd = 0.5 * (lo + hi)
    return (ub - v - vd) / r1


def simpson(f, a, b, tol, whole=None, depth=60):
    c = 0.5 * (a + b)
    fa, fb, fc = f(a), f(b), f(c)
    def rec(a, b, fa, fb, fc, whole, tol, depth):
        c = 0.5 * (a + b)
        d, e = 0.5 * (a + c), 0.5 * (c + b)
        fd, fe = f(d), f(e)
        left = (c - a) / 6 * (fa + 4 * fd + fc)
        right = (b - c) / 6 * (fc + 4 * fe + fb)
        if depth <= 0 or abs(left + right - whole) <= 15 * tol:
            return left + right + (left + right - whole) / 15
        return (rec(a, c, fa, fc, fd, left, tol / 2, depth - 1) +
                rec(c, b, fc, fb, fe, right, tol / 2, depth - 1))
    return rec(a, b, fa, fb, fc, (b - a) / 6 * (fa + 4 * fc + fb), tol, depth)


def t_ein(ub, r1, r2, c1, diode):
    is_, n = DIODES[diode]
    guess = 0.69 * (r1 + r2) * c1
    t = simpson(lambda v: c1 / current(v, ub, r1, r2, is_, n), ub / 3, 2 * ub / 3, guess * 1e-13)
    return 0.69 / math.log(2) * t


def t_aus(ub, r2, c1, diode):
    is_, n = DIODES[diode]
    def i(v):
        return v / r2 - is_ * math.expm1(-v / (n * VT))
    guess = 0.69 * r2 * c1
    t = simpson(lambda v: c1 / i(v), ub / 3, 2 * ub / 3, guess * 1e-13)
    return 0.69 / math.log(2) * t


if __name__ == "__main__":
    for diode in DIODES:
        print(f"{diode:8s} Ub 5 V, 820 k, 1 M, 1 uF: t-EIN = {t_ein(5, 820e3, 1e6, 1e-6, diode):.12g} s")
    print(f"1N5817   Ub 9 V, 1 M, 10 M, 100 nF: t-EIN = {t_ein(9, 1e6, 10e6, 100e-9, '1N5817'):.12g} s")
    print(f"1N4148   Ub 12 V, 10 k, 4.7 k, 10 nF: t-EIN = {t_ein(12, 10e3, 4.7e3, 10e-9, '1N4148'):.12g} s")
    for diode, ub, r2 in (("1N4148", 9, 68e3), ("1N5817", 9, 68e3), ("1N5817", 9, 680e3),
                          ("1N4001", 5, 1e6), ("1N5817", 0.5, 10e3)):
        t = t_aus(ub, r2, 1e-6, diode)
        print(f"{diode:8s} Ub {ub:g} V, R2 {r2:g}, 1 uF: t-AUS = {t:.12g} s "
              f"({(t / (0.69 * r2 * 1e-6) - 1) * 100:+.3f} %)")
