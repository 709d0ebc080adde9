#include "history/history_series.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace halvane {

namespace {

constexpr double kBreak = std::numeric_limits<double>::quiet_NaN();

class SeriesBuilder {
 public:
  void Point(std::int64_t pc_time_ms, double level) {
    series_.seconds.push_back(static_cast<double>(pc_time_ms) / 1000.0);
    series_.levels.push_back(level);
  }
  void Break(std::int64_t pc_time_ms) {
    if (!series_.levels.empty() && !std::isnan(series_.levels.back())) {
      Point(pc_time_ms, kBreak);
    }
  }
  HistorySeries Take() { return std::move(series_); }

 private:
  HistorySeries series_;
};


// Every sample from one before the span to one after it, so the line reaches both edges.
HistorySeries EachSample(const LevelHistory& history, HistoryChannel channel, std::size_t from,
                         std::size_t to) {
  SeriesBuilder builder;
  std::int64_t previous_ms = 0;
  for (std::size_t index = from > 0 ? from - 1 : 0; index < std::min(to + 1, history.Size());
       ++index) {
    const HistorySample& sample = history.At(index);
    const std::optional<TenthsDb> level = sample.Level(channel);
    if (!level || (index > 0 && sample.pc_time_ms - previous_ms > LevelHistory::kLongestStepMs)) {
      builder.Break(sample.pc_time_ms);
    }
    if (level) {
      builder.Point(sample.pc_time_ms, Db(*level));
    }
    previous_ms = sample.pc_time_ms;
  }
  return builder.Take();
}

}  // namespace

HistorySeries BuildHistorySeries(const LevelHistory& history, HistoryChannel channel,
                                 std::int64_t from_ms, std::int64_t to_ms, int columns) {
  const std::size_t from = history.FirstAtOrAfter(from_ms);
  const std::size_t to = history.FirstAtOrAfter(to_ms);
  if (columns <= 0 || to_ms <= from_ms || to - from <= 2 * static_cast<std::size_t>(columns)) {
    return EachSample(history, channel, from, to);
  }
  SeriesBuilder builder;
  const double column_ms = static_cast<double>(to_ms - from_ms) / columns;
  std::size_t column_first = from;
  for (int column = 0; column < columns; ++column) {
    const auto column_end_ms = from_ms + static_cast<std::int64_t>((column + 1) * column_ms);
    const std::size_t column_end = history.FirstAtOrAfter(column_end_ms);
    const auto middle_ms = from_ms + static_cast<std::int64_t>((column + 0.5) * column_ms);
    const LevelExtremes extremes = history.Extremes(channel, column_first, column_end);
    if (extremes.broken || column_first == column_end) {
      builder.Break(middle_ms);
    }
    if (extremes.min) {
      builder.Point(middle_ms, Db(*extremes.min));
      builder.Point(middle_ms, Db(*extremes.max));
    }
    if (extremes.broken) {
      builder.Break(middle_ms);
    }
    column_first = column_end;
  }
  return builder.Take();
}

}  // namespace halvane
