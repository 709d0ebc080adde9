#pragma once
// The points a chart draws for one channel over a span of the time axis: the samples themselves
// when they fit the width, otherwise the minimum and maximum of each pixel column. A NaN level
// breaks the line, so gaps, "---.-" readings and the start of a segment (another quantity, the
// PC's clock set) are never joined across.

#include <cstdint>
#include <vector>

#include "history/level_history.h"

namespace halvane {

struct HistorySeries {
  std::vector<double> seconds;  // time axis, seconds
  std::vector<double> levels;   // dB, NaN where the line breaks
  std::vector<bool> shown;      // whether the point is a reading of `shown`
};

// A run of polls without a reading: the meter away (no answer) or not measuring.
struct HistoryGap {
  // The first poll of the run; of a run begun before the span, its last poll before the span.
  std::int64_t from_ms = 0;
  std::int64_t to_ms = 0;  // the next reading, or one poll interval after the newest poll
  bool answered = false;

  bool operator==(const HistoryGap&) const = default;
};

// The gaps that reach into [from_ms, to_ms), oldest first.
std::vector<HistoryGap> FindHistoryGaps(const LevelHistory& history, std::int64_t from_ms,
                                        std::int64_t to_ms);

HistorySeries BuildHistorySeries(const LevelHistory& history, HistoryChannel channel,
                                 const std::optional<ChannelQuantity>& shown, std::int64_t from_ms,
                                 std::int64_t to_ms, int columns);

}  // namespace halvane
