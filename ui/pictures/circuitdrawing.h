// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The circuit drawn as lines with the chosen values written at its parts, for the data sheet:
// the astable timer (R1, R2, C1, a diode across R2 if there is one) or the monostable one (R,
// C1, the trigger input), the chip with its pin numbers, C2 at the control input. Drawn in a
// box of 100 x 72 units that the painter's transformation scales.

#include <QRectF>
#include <QString>

class QPainter;

namespace kippwerk::ui {

struct CircuitValues {
  bool monostable = false;
  bool diode = false;
  QString r1, r2, c1, diodeName, chip, ub;  // as written beside the parts; monostable: R in r1
};

// The drawing fills `box`, keeping its 100 : 72 proportions. `fontUnit` is the point size
// of a font that comes out one unit of the box high (its texts are 2.6 units).
void paintCircuit(QPainter& p, const QRectF& box, const CircuitValues& values, double fontUnit);

}  // namespace kippwerk::ui
