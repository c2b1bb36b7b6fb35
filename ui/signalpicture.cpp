#include "ui/signalpicture.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <functional>

#include "core/normtext.h"
#include "ui/reading.h"

namespace kippwerk::ui {
namespace {

const QColor kSetColour(0, 70, 160);
const QColor kWantColour(200, 40, 40);

// Two periods of a signal that starts high, up to the rising edge of the third.
QPainterPath twoPeriods(double tein, double taus, double scale, double x0, double high,
                        double low) {
  QPainterPath path(QPointF(x0, low));
  double t = 0.0;
  path.lineTo(x0, high);
  for (int period = 0; period < 2; ++period) {
    t += tein;
    path.lineTo(x0 + t * scale, high);
    path.lineTo(x0 + t * scale, low);
    t += taus;
    path.lineTo(x0 + t * scale, low);
    path.lineTo(x0 + t * scale, high);  // the rising edge that begins the next period
  }
  return path;
}

QString axisLabel(double t) {
  return fromCore(unitText(scaledText(t, timeUnits, 3, false), timeUnits));
}

// A step of 1, 2 or 5 times a power of ten that cuts `span` into about `parts` pieces.
double axisStep(double span, int parts) {
  const double raw = span / parts;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  const double norm = raw / magnitude;
  const double nice = norm < 1.5 ? 1.0 : norm < 3.5 ? 2.0 : norm < 7.5 ? 5.0 : 10.0;
  return nice * magnitude;
}

}  // namespace

SignalPicture::SignalPicture(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  // White inside; the frame keeps the window's shades, so all four edges show.
  QPalette white = palette();
  white.setColor(QPalette::Base, Qt::white);
  setPalette(white);
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
}

void SignalPicture::setSignal(std::optional<Signal> signal) {
  signal_ = signal;
  update();
}

void SignalPicture::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  if (!signal_) return;
  const Signal& s = *signal_;
  QPainter p(this);
  // Every line is level or upright: drawn without antialiasing they stay crisp, and fast.
  const QFontMetrics fm(font());
  const QRectF area = QRectF(contentsRect()).adjusted(12, fm.height() + 10, -16, -fm.height() - 14);
  double span = 2.0 * std::max(s.tein + s.taus, s.wantTein + s.wantTaus);
  if (s.edges) span = std::max(span, (*s.edges)[3].high);
  if (!(span > 0.0) || !std::isfinite(span)) return;
  const double scale = area.width() / span;
  const double high = area.top() + 2, low = area.bottom() - 2;

  // Time axis with its ticks and labels.
  const double axisY = area.bottom() + 6;
  p.setPen(QPen(Qt::black, 1));
  p.drawLine(QPointF(area.left(), axisY), QPointF(area.right(), axisY));
  const double step = axisStep(span, 6);
  for (int i = 0; i * step <= span * (1 + 1e-9); ++i) {
    const double x = area.left() + i * step * scale;
    p.drawLine(QPointF(x, axisY), QPointF(x, axisY + 4));
    const QString label = i == 0 ? QStringLiteral("0") : axisLabel(i * step);
    const double w = fm.horizontalAdvance(label);
    const double left = std::clamp(x - w / 2, double(contentsRect().left() + 2),
                                   double(contentsRect().right() - 2) - w);
    p.drawText(QPointF(left, axisY + 6 + fm.ascent()), label);
  }

  QColor band = kSetColour;
  band.setAlpha(55);
  if (s.edges) {
    for (const Spread& e : *s.edges) {
      const double from = area.left() + e.low * scale, to = area.left() + e.high * scale;
      p.fillRect(QRectF(from, high, std::max(to - from, 1.0), low - high), band);
    }
  }

  QPen setPen(kSetColour, 2);
  setPen.setJoinStyle(Qt::MiterJoin);
  p.setPen(setPen);
  p.drawPath(twoPeriods(s.tein, s.taus, scale, area.left(), high, low));
  QPen wantPen(kWantColour, 1.5, Qt::DashLine);
  p.setPen(wantPen);
  p.drawPath(twoPeriods(s.wantTein, s.wantTaus, scale, area.left(), high, low));

  // The legend above the signal, right-aligned: a sample of each drawing and its name.
  const double y = contentsRect().top() + 4 + fm.ascent();
  const double middle = y - fm.ascent() / 2.5;
  double x = contentsRect().right() - 8;
  auto entry = [&](const QString& text, const std::function<void(double)>& sample) {
    x -= fm.horizontalAdvance(text);
    p.setPen(Qt::black);
    p.drawText(QPointF(x, y), text);
    sample(x - 28);
    x -= 40;
  };
  entry(QStringLiteral("gewünschte Zeiten"), [&](double left) {
    p.setPen(wantPen);
    p.drawLine(QPointF(left, middle), QPointF(left + 22, middle));
  });
  entry(QStringLiteral("gewählte Bauteile"), [&](double left) {
    p.setPen(setPen);
    p.drawLine(QPointF(left, middle), QPointF(left + 22, middle));
  });
  if (s.edges) {
    entry(QStringLiteral("Toleranzbereich"),
          [&](double left) { p.fillRect(QRectF(left + 4, middle - 5, 14, 10), band); });
  }
}

}  // namespace kippwerk::ui
