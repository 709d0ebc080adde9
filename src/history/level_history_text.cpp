#include "history/level_history_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "acoustics/level_statistics_text.h"

#include "text/number_text.h"

namespace halvane {

std::string DurationText(double seconds) {
  const auto tenths = static_cast<long long>(std::llround(seconds * 10));
  char text[48];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%lld", tenths / 36000, tenths / 600 % 60,
                tenths / 10 % 60, tenths % 10);
  return text;
}

std::string ChannelStatisticsText(const HistoryStatistics& statistics) {
  if (!statistics.quantity) {
    return "No readings";
  }
  const ChannelQuantity& quantity = *statistics.quantity;
  std::string text = quantity.label + " over " + DurationText(statistics.covered_seconds);
  if (statistics.mixed) {
    text += ", mixed quantities: figures of " + quantity.label + " only";
  }
  text += "\nReadings " + std::to_string(statistics.readings) + " (" +
          std::to_string(statistics.left_out) + " without a level)\n" +
          LevelStatisticsText(statistics.levels, quantity.sound_level);
  if (!quantity.sound_level) {
    text += "\nNo Leq or L_N: " + quantity.label + " is no time-weighted sound level (Lp)";
  }
  return text;
}

std::string LimitText(const std::string& label, double limit_db,
                      const LimitExceedances& exceedances, const std::string& last_crossing_clock) {
  std::string text = label + " above " + LevelText(limit_db) + " dB " +
                     std::to_string(exceedances.count) +
                     (exceedances.count == 1 ? " time, " : " times, ") +
                     DurationText(exceedances.seconds) + " in all";
  if (exceedances.last_crossing_wall_ms) {
    text += ", last crossing at " + last_crossing_clock;
  }
  return text;
}

std::string SegmentLabel(const HistorySegment& segment) {
  std::string label;
  if (segment.new_quantity) {
    label = segment.quantity->Of(HistoryChannel::kMain).label + " / " +
            segment.quantity->Of(HistoryChannel::kSub).label;
  }
  if (segment.clock_jump_ms != 0) {
    label += (label.empty() ? "PC clock set " : "\nPC clock set ") +
             std::string(segment.clock_jump_ms < 0 ? "back " : "forward ") +
             DurationText(static_cast<double>(std::llabs(segment.clock_jump_ms)) / 1000.0);
  }
  return label;
}

std::string GapLabel(const HistoryGap& gap) {
  return gap.answered ? "not measuring" : "meter away";
}

}  // namespace halvane
