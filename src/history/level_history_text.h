#pragma once
// The texts the "History" window shows beside its chart.

#include <cstdint>
#include <string>

#include "history/history_statistics.h"

namespace halvane {

// A duration as "h:mm:ss.s".
std::string DurationText(double seconds);

// One channel's statistics: its label and the time the readings cover, then the levels.
std::string ChannelStatisticsText(const std::string& label, const HistoryStatistics& statistics);

// The limit's exceedances, with the time of day of the last crossing as the window shows it.
std::string LimitText(double limit_db, const LimitExceedances& exceedances,
                      const std::string& last_crossing_clock);

}  // namespace halvane
