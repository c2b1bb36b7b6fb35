// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/files/datasheet.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <algorithm>

namespace kippwerk::ui {
namespace {

// Draws from the top of the page down, in points; a block that does not fit starts a new page.
class SheetPainter {
 public:
  explicit SheetPainter(QPagedPaintDevice& device)
      : device_(device), painter_(&device), scale_(device.logicalDpiY() / 72.0) {
    painter_.scale(scale_, scale_);
    width_ = device.width() / scale_;
    height_ = device.height() / scale_;
    painter_.setPen(Qt::black);
  }

  QPainter& painter() { return painter_; }
  double width() const { return width_; }
  double y() const { return y_; }
  void down(double points) { y_ += points; }
  // The point size of a font one point high on the page.
  double fontUnit() const { return 1.0 / scale_; }

  // A font `points` high on the page.
  QFont font(double points, bool bold = false) const {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPointSizeF(points * fontUnit());
    f.setBold(bold);
    return f;
  }

  // Room for `height` points, on a new page if need be.
  void need(double height) {
    if (y_ + height <= height_ || y_ == 0.0) return;
    device_.newPage();
    y_ = 0.0;
  }

  // Lines of text across `width` (all of it when 0) from x, wrapped; returns their height.
  double text(const QStringList& lines, double points, bool bold = false, double x = 0.0,
              double width = 0.0, bool advance = true) {
    if (lines.isEmpty()) return 0.0;
    const QFont f = font(points, bold);
    painter_.setFont(f);
    const double w = width > 0.0 ? width : width_ - x;
    double total = 0.0;
    for (const QString& line : lines) {
      const QRectF room(x, 0.0, w, 1e6);
      const QRectF used =
          painter_.boundingRect(room, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, line);
      const double h = std::max(used.height(), points * 1.2);
      if (advance) need(h);
      painter_.drawText(QRectF(x, y_ + (advance ? 0.0 : total), w, h),
                        Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, line);
      if (advance) {
        y_ += h;
      } else {
        total += h;
      }
    }
    return total;
  }

  // A picture of the windows, drawn as vectors into `box`.
  void picture(QWidget& widget, const QRectF& box) {
    QPicture recorded;
    widget.render(&recorded, QPoint(), QRegion(), QWidget::DrawChildren);
    painter_.save();
    painter_.translate(box.topLeft());
    painter_.scale(box.width() / widget.width(), box.height() / widget.height());
    // The recording keeps its own resolution, which playing it back scales to the device's.
    const double resolution = static_cast<double>(recorded.logicalDpiX()) / device_.logicalDpiX();
    painter_.scale(resolution, resolution);
    painter_.drawPicture(0, 0, recorded);
    painter_.restore();
  }

 private:
  QPagedPaintDevice& device_;
  QPainter painter_;
  double scale_;
  double width_ = 0.0, height_ = 0.0, y_ = 0.0;
};

// The parts list: a row of headings, then a row per part.
void partsTable(SheetPainter& s, const std::vector<SheetPart>& parts, double x, double width) {
  const double widths[] = {0.13, 0.22, 0.12, 0.17, 0.36};
  auto row = [&](const QStringList& cells, bool bold) {
    double left = x;
    double height = 0.0;
    const double top = s.y();
    for (int i = 0; i < cells.size(); ++i) {
      const double w = widths[i] * width;
      s.down(top - s.y());
      height = std::max(height, s.text({cells[i]}, 8.5, bold, left, w - 4.0, false));
      left += w;
    }
    s.down(top - s.y() + height + 1.5);
  };
  row({QStringLiteral("Bauteil"), QStringLiteral("Wert"), QStringLiteral("Reihe"),
       QStringLiteral("Toleranz"), QStringLiteral("Art")},
      true);
  for (const SheetPart& p : parts) row({p.part, p.value, p.series, p.tolerance, p.kind}, false);
}

}  // namespace

void paintDataSheet(QPagedPaintDevice& device, const DataSheet& sheet) {
  SheetPainter s(device);
  s.text({sheet.title}, 16, true);
  s.down(2);
  s.text({QStringLiteral("%1 · %2 · %3").arg(sheet.file, sheet.date, sheet.program)}, 9);
  s.down(8);

  // The circuit on the left, the parts beside it.
  const double top = s.y();
  const double circuitWidth = 0.48 * s.width();
  const QRectF circuit(0, top, circuitWidth, circuitWidth * 0.72);
  paintCircuit(s.painter(), circuit, sheet.circuit, s.fontUnit());
  partsTable(s, sheet.parts, circuitWidth + 12, s.width() - circuitWidth - 12);
  s.down(std::max(0.0, circuit.bottom() - s.y()) + 8);

  s.text(sheet.times, 9.5);
  if (!sheet.measured.isEmpty()) {
    s.down(4);
    s.text(sheet.measured, 9.5);
  }
  s.down(6);

  if (sheet.signal || sheet.pulse || sheet.measurement) {
    const double h = 0.3 * s.width();
    s.need(h);
    const QRectF box(0, s.y(), s.width(), h);
    if (sheet.signal) {
      SignalPicture picture;
      picture.resize(640, 240);
      picture.setSignal(sheet.signal);
      s.picture(picture, box);
    } else if (sheet.pulse) {
      PulsePicture picture;
      picture.resize(640, 240);
      picture.setPulse(sheet.pulse);
      s.picture(picture, box);
    } else {
      MeasurePicture picture;
      picture.resize(640, 240);
      picture.setMeasurement(sheet.measurement);
      s.picture(picture, box);
    }
    s.down(h + 8);
  }

  // The spread beside its histogram.
  if (!sheet.spread.isEmpty() || sheet.histogram) {
    const double h = sheet.histogram ? 0.3 * s.width() : 0.0;
    s.need(std::max(h, 60.0));
    const double start = s.y();
    const double textWidth = sheet.histogram ? 0.5 * s.width() - 8 : s.width();
    const double used = s.text(sheet.spread, 8.5, false, 0.0, textWidth, false);
    if (sheet.histogram) {
      DeviationHistogram picture;
      picture.resize(440, 240);
      picture.setDeviations(sheet.histogram);
      s.picture(picture, QRectF(0.5 * s.width(), start, 0.5 * s.width(), h));
    }
    s.down(std::max(used, h) + 8);
  }

  s.text(sheet.hints, 8.5);
}

QByteArray dataSheetPdf(const DataSheet& sheet) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(18, 15, 18, 15), QPageLayout::Millimeter));
    writer.setTitle(sheet.title);
    writer.setCreator(sheet.program);
    paintDataSheet(writer, sheet);
  }
  return buffer.data();
}

}  // namespace kippwerk::ui
