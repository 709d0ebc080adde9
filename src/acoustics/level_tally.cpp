#include "acoustics/level_tally.h"

#include <algorithm>

namespace halvane {

void LevelTally::Add(TenthsDb level, std::int64_t duration_ms) {
  if (level >= ms_.size()) {
    ms_.resize(std::size_t{level} + 1);
  }
  ms_[level] += duration_ms;
  ++count_;
  duration_ms_ += duration_ms;
  lowest_ = std::min(lowest_, level);
  highest_ = std::max(highest_, level);
}

void LevelTally::Remove(TenthsDb level, std::int64_t duration_ms) {
  ms_[level] -= duration_ms;
  --count_;
  duration_ms_ -= duration_ms;
}

LevelStatistics LevelTally::Statistics() const {
  LoudestFirst statistics(static_cast<double>(duration_ms_));
  if (duration_ms_ > 0) {
    for (std::size_t level = std::size_t{highest_} + 1; level-- > lowest_;) {
      if (ms_[level] > 0) {
        statistics.Add(Db(static_cast<TenthsDb>(level)), static_cast<double>(ms_[level]));
      }
    }
  }
  return statistics.Result();
}

}  // namespace halvane
