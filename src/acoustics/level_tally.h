#pragma once
// Levels counted per 0.1 dB with the time each lasts: adding or taking back a reading costs the
// same however many there are, and the statistics come from the counts without sorting, so a
// tally of a whole day costs what one of a minute costs.

#include <cstdint>
#include <limits>
#include <vector>

#include "acoustics/level_statistics.h"
#include "acoustics/tenths_db.h"

namespace halvane {

class LevelTally {
 public:
  void Add(TenthsDb level, std::int64_t duration_ms);
  // Takes back a level added before with the same duration.
  void Remove(TenthsDb level, std::int64_t duration_ms);

  // The levels held, and the time they last together. A level that lasts no time is counted
  // but has no part in the statistics.
  std::size_t Count() const { return count_; }
  std::int64_t DurationMs() const { return duration_ms_; }
  LevelStatistics Statistics() const;

 private:
  std::vector<std::int64_t> ms_;  // by level, as far as the loudest level added
  std::size_t count_ = 0;
  std::int64_t duration_ms_ = 0;
  // Bounds of the levels added, so that the statistics walk only that part of the counts; a
  // level taken back may leave them wider than they need be.
  TenthsDb lowest_ = std::numeric_limits<TenthsDb>::max();
  TenthsDb highest_ = 0;
};

}  // namespace halvane
