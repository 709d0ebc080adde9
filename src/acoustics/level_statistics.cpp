#include "acoustics/level_statistics.h"

#include <algorithm>
#include <functional>

namespace halvane {

std::optional<double> LevelStatistics::Exceeded(int percent) const {
  const auto found = std::ranges::find(kExceededPercents, percent);
  return found == kExceededPercents.end()
             ? std::nullopt
             : exceeded[static_cast<std::size_t>(found - kExceededPercents.begin())];
}

void LoudestFirst::Add(double level_db, double duration) {
  if (!statistics_.lmax) {
    statistics_.lmax = level_db;
  }
  statistics_.lmin = level_db;
  energy_.Add(level_db, duration);
  passed_ += duration;
  for (std::size_t i = 0; i < kExceededPercents.size(); ++i) {
    // Compared as 100·passed > N·total, which is exact for durations in whole units.
    if (!statistics_.exceeded[i] && passed_ * 100 > kExceededPercents[i] * total_duration_) {
      statistics_.exceeded[i] = level_db;
    }
  }
}

LevelStatistics LoudestFirst::Result() const {
  LevelStatistics result = statistics_;
  result.leq = energy_.Leq();
  return result;
}

LevelStatistics EqualDurationStatistics(std::vector<double> levels) {
  std::ranges::sort(levels, std::greater<>());
  LoudestFirst statistics(static_cast<double>(levels.size()));
  for (const double level : levels) {
    statistics.Add(level, 1);
  }
  return statistics.Result();
}

}  // namespace halvane
