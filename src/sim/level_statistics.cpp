#include "sim/level_statistics.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace halvane {

namespace {

// The level exceeded `percent` per cent of the time in an ascending history.
double LevelExceeded(const std::vector<double>& ascending, double percent) {
  const double position = (100.0 - percent) / 100.0 * static_cast<double>(ascending.size() - 1);
  return ascending[static_cast<std::size_t>(std::lround(position))];
}

}  // namespace

void LevelStatistics::Add(double level_db) {
  last_ = level_db;
  energy_sum_ += std::pow(10.0, level_db / 10.0);
  max_ = count_ == 0 ? level_db : std::max(max_, level_db);
  min_ = count_ == 0 ? level_db : std::min(min_, level_db);
  ++count_;
  history_.push_back(level_db);
  if (history_.size() > kHistoryLength) {
    history_.pop_front();
  }
}

ChannelItems LevelStatistics::Items() const {
  if (count_ == 0) {
    return {};
  }
  const double polls = static_cast<double>(count_);
  const double leq = 10.0 * std::log10(energy_sum_ / polls);
  std::vector<double> ascending(history_.begin(), history_.end());
  std::sort(ascending.begin(), ascending.end());
  return {last_,
          leq,
          leq + 10.0 * std::log10(polls * kPollSeconds),
          max_,
          min_,
          LevelExceeded(ascending, 5),
          LevelExceeded(ascending, 10),
          LevelExceeded(ascending, 50),
          LevelExceeded(ascending, 90),
          LevelExceeded(ascending, 95)};
}

}  // namespace halvane
