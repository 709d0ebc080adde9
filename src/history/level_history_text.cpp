#include "history/level_history_text.h"

#include <cmath>
#include <cstdio>

#include "text/number_text.h"

namespace halvane {

std::string DurationText(double seconds) {
  const auto tenths = static_cast<long long>(std::llround(seconds * 10));
  char text[48];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%lld", tenths / 36000, tenths / 600 % 60,
                tenths / 10 % 60, tenths % 10);
  return text;
}

std::string ChannelStatisticsText(const std::string& label, const HistoryStatistics& statistics) {
  return label + " over " + DurationText(statistics.covered_seconds) + "\n" +
         SpanStatisticsText(statistics.levels);
}

std::string LimitText(double limit_db, const LimitExceedances& exceedances,
                      const std::string& last_crossing_clock) {
  std::string text = "above " + FixedPointText(limit_db, 1) + " dB " +
                     std::to_string(exceedances.count) +
                     (exceedances.count == 1 ? " time, " : " times, ") +
                     DurationText(exceedances.seconds) + " in all";
  if (exceedances.last_crossing_ms) {
    text += ", last crossing at " + last_crossing_clock;
  }
  return text;
}

}  // namespace halvane
