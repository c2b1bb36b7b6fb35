#pragma once

// The output of the astable circuit over two periods: the selected set's signal as a solid line,
// the desired one dashed over it, both to the same time scale with a labelled axis, and the
// band in which each edge of the set may lie with the parts' tolerances. Drawn with vectors,
// so it is sharp at any device pixel ratio.

#include <QFrame>
#include <array>
#include <optional>

#include "core/tolerance.h"

namespace kippwerk::ui {

struct Signal {
  double tein = 0.0, taus = 0.0;          // what the set gives, seconds
  double wantTein = 0.0, wantTaus = 0.0;  // what was asked for
  // Earliest and latest position of each edge after the first rising one, over the parts'
  // tolerances: drawn as shaded bands.
  std::optional<std::array<Spread, 4>> edges;
};

class SignalPicture : public QFrame {
 public:
  explicit SignalPicture(QWidget* parent = nullptr);

  void setSignal(std::optional<Signal> signal);
  const std::optional<Signal>& signal() const { return signal_; }

  QSize sizeHint() const override { return {600, 150}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<Signal> signal_;
};

}  // namespace kippwerk::ui
