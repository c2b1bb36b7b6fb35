// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The data sheet of a design: one A4 page (a second only when the hints need it) to put beside
// the board, drawn by one piece of painting code for the PDF file and the printer. Everything
// is laid out in points on the page the device gives, with fonts set in points; the circuit is
// drawn as lines, every text as text, so a PDF can be searched and holds no bitmap.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "core/result.h"
#include "ui/pictures/circuitdrawing.h"
#include "ui/pictures/histogram.h"
#include "ui/pictures/measurepicture.h"
#include "ui/pictures/pulsepicture.h"
#include "ui/pictures/signalpicture.h"

class QPagedPaintDevice;
class QPrinter;

namespace kippwerk::ui {

struct SheetPart {
  QString part, value, series, tolerance, kind;  // kind: the type or the dielectric
};

struct DataSheet {
  QString title;          // "Astabile Kippstufe – Normwerte"
  QString file;           // the design's file name, or "Unbenannt"
  QString date, program;  // "9. Dezember 2026", "Kippwerk 1.3.0"
  CircuitValues circuit;
  std::vector<SheetPart> parts;
  QStringList times;     // desired and predicted times and the frequency
  QStringList measured;  // Nachmessen: what was measured and what it says
  QStringList spread;    // the worst cases, the pass rate, the largest contributor
  std::optional<Deviations> histogram;
  std::optional<Signal> signal;
  std::optional<Pulse> pulse;
  std::optional<Measurement> measurement;
  QStringList hints;  // the hints and what the model leaves out
};

// The sheet on a paged device (a PDF writer or a printer), from its page rectangle on.
void paintDataSheet(QPagedPaintDevice& device, const DataSheet& sheet);

// The sheet as a PDF file's bytes, A4 portrait, drawn in memory.
QByteArray dataSheetPdf(const DataSheet& sheet);

}  // namespace kippwerk::ui
