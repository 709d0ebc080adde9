#pragma once
// The texts the "History" window shows beside its chart and on its change marks.

#include <cstdint>
#include <string>

#include "history/history_series.h"
#include "history/history_statistics.h"

namespace halvane {

// A duration as "h:mm:ss.s".
std::string DurationText(double seconds);

// One channel's statistics: what they are of and the time the readings cover, whether readings
// of other quantities were left out, then the levels; no Leq or L_N but of a sound level.
std::string ChannelStatisticsText(const HistoryStatistics& statistics);

// The limit's exceedances by readings of `label`, with the time of day of the last crossing.
std::string LimitText(const std::string& label, double limit_db,
                      const LimitExceedances& exceedances, const std::string& last_crossing_clock);

// What changed where `segment` begins: "LAF / LCS" for new quantities, and "PC clock set back
// 1:00:00.0" where the clock was set; empty for neither.
std::string SegmentLabel(const HistorySegment& segment);

// "meter away" over a gap in which the meter did not answer, "not measuring" otherwise.
std::string GapLabel(const HistoryGap& gap);

}  // namespace halvane
