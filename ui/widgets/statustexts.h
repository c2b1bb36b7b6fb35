// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The German sentences the windows that pick standard parts write into their status lines:
// what is wrong with a box, and what keeps the best result from the desired time.

#include <QString>

#include "core/eseries.h"
#include "core/monoflop.h"
#include "core/standardsearch.h"

namespace kippwerk::ui {

// "C1" or "R2".
QString fixedPartName(FixedPart part);

// "R min ist größer als R max.", or that the series has no value between them.
QString emptyRangeText(const char* part, double min, double max, Series series);

// "Der Wert bei „R max“ liegt …", or with `where` "von R2".
QString outOfRangeText(const QString& where);

// What the number reader left unread of the box `name`'s text `typed`: "Bitte bei „t-EIN“ den
// Dezimalpunkt verwenden: 1.5 statt 1,5." where a point for each comma makes it a number,
// else what was not understood.
QString unreadText(const QString& name, const QString& typed, const QString& rest);

// Why there are no sets, or no pairs, as one German sentence.
QString searchStatusText(SearchError error, const StandardSearch& q);
QString pulseStatusText(PulseError error, const PulseSearch& q);

// Why the best result still misses a desired time by more than 10 %, or nothing. `pulse`: the
// monostable window's one time t; `fixed`: the part the astable search keeps.
QString shortfallText(const Shortfall& s, bool pulse, FixedPart fixed = FixedPart::None);

}  // namespace kippwerk::ui
