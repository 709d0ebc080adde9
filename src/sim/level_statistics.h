#pragma once
// Running statistics of one channel's level, fed once per poll, as the meter shows them: the
// energy mean and exposure since the start, the extremes, and the levels exceeded for N % of the
// time over the recent history.

#include <array>
#include <cstddef>
#include <deque>

#include "acoustics/energy_mean.h"

namespace halvane {

// One channel's levels in dB by item code: 0 Lp, 1 Leq, 2 LE, 3 Lmax, 4 Lmin, 5 L05, 6 L10,
// 7 L50, 8 L90, 9 L95.
using ChannelItems = std::array<double, 10>;

class ChannelLevelStatistics {
 public:
  static constexpr double kPollSeconds = 0.16;
  static constexpr std::size_t kHistoryLength = 625;  // the last 100 s of polls

  void Add(double level_db);
  // The items after the last Add; all 0 before the first.
  ChannelItems Items() const;

 private:
  double last_ = 0.0;
  EnergyMean energy_;
  std::size_t count_ = 0;
  double max_ = 0.0;
  double min_ = 0.0;
  std::deque<double> history_;
};

}  // namespace halvane
