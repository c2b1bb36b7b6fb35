// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The share of boards built at random that hold a limit over their surroundings, and the
// order of sets by it. Each board has its parts drawn once (uniform within their ranges; the
// diode's saturation current log-uniform within its spread between parts), and is tried at
// the four corners of its surroundings (T min and T max, each with the supply at both ends).
//
// Most boards lie far from the limit. Per set and corner the logarithm of each time is first
// fitted as a quadratic in the board's parts (secants, bends and mixed differences across the
// parts' ranges); the corners of the parts' box and the first boards are worked out exactly to
// measure how far the fit strays, and every board the fit cannot place beyond twice that
// margin on one side of the limit is worked out exactly too. A set on which the fit strays
// more than a little is worked out board by board.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/realspread.h"

namespace kippwerk {

// `deviations` holds per board the deviation farthest from 0, with its sign; where the fit
// placed a board, its own estimate.
struct PassRate {
  double rate = 0.0;  // fraction of the boards
  std::vector<double> deviations;
};
inline constexpr int kBoards = 10000;
inline constexpr std::uint64_t kBoardSeed = 20261208;

enum class Boards { Screened, EachWorkedOut };

struct BoardRun {
  int boards = kBoards;
  std::uint64_t seed = kBoardSeed;
  const std::atomic<bool>* cancel = nullptr;  // looked at every 64 boards
  Boards how = Boards::Screened;
  // Each board's deviation for the histogram; without, a board is left at its first corner
  // that fails.
  bool deviations = true;
};

// Nothing when `cancel` was set while it ran, or a time is not above 0.
std::optional<PassRate> passRate(const TimerDesign& design, const Surroundings& around,
                                 double wantTein, double wantTaus, double limit,
                                 const BoardRun& run = {});

// The order in which sets listed by deviation stand by pass rate: the highest first, equal
// rates in their given order; the first `count` of them.
std::vector<std::size_t> byPassRate(const std::vector<double>& rates, std::size_t count);

}  // namespace kippwerk
