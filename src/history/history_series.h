#pragma once
// The points a chart draws for one channel over a span of PC time: the samples themselves
// when they fit the width, otherwise the minimum and maximum of each pixel column. A NaN level
// breaks the line, so gaps and "---.-" readings are never joined across.

#include <cstdint>
#include <vector>

#include "history/level_history.h"

namespace halvane {

struct HistorySeries {
  std::vector<double> seconds;  // PC time, seconds since the epoch
  std::vector<double> levels;   // dB, NaN where the line breaks
};

HistorySeries BuildHistorySeries(const LevelHistory& history, HistoryChannel channel,
                                 std::int64_t from_ms, std::int64_t to_ms, int columns);

}  // namespace halvane
