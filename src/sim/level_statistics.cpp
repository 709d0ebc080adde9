#include "sim/level_statistics.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "acoustics/level_statistics.h"

namespace halvane {

void ChannelLevelStatistics::Add(double level_db) {
  last_ = level_db;
  energy_.Add(level_db, kPollSeconds);
  max_ = count_ == 0 ? level_db : std::max(max_, level_db);
  min_ = count_ == 0 ? level_db : std::min(min_, level_db);
  ++count_;
  history_.push_back(level_db);
  if (history_.size() > kHistoryLength) {
    history_.pop_front();
  }
}

ChannelItems ChannelLevelStatistics::Items() const {
  if (count_ == 0) {
    return {};
  }
  const double leq = *energy_.Leq();
  const LevelStatistics recent =
      EqualDurationStatistics(std::vector<double>(history_.begin(), history_.end()));
  return {last_,
          leq,
          leq + 10.0 * std::log10(static_cast<double>(count_) * kPollSeconds),
          max_,
          min_,
          *recent.Exceeded(5),
          *recent.Exceeded(10),
          *recent.Exceeded(50),
          *recent.Exceeded(90),
          *recent.Exceeded(95)};
}

}  // namespace halvane
