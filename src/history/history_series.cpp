#include "history/history_series.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace halvane {

namespace {

constexpr double kBreak = std::numeric_limits<double>::quiet_NaN();

class SeriesBuilder {
 public:
  void Point(std::int64_t time_ms, double level, bool shown) {
    series_.seconds.push_back(static_cast<double>(time_ms) / 1000.0);
    series_.levels.push_back(level);
    series_.shown.push_back(shown);
  }
  void Break(std::int64_t time_ms) {
    if (!series_.levels.empty() && !std::isnan(series_.levels.back())) {
      Point(time_ms, kBreak, false);
    }
  }
  HistorySeries Take() { return std::move(series_); }

 private:
  HistorySeries series_;
};

bool Shows(const HistorySegment& segment, HistoryChannel channel,
           const std::optional<ChannelQuantity>& shown) {
  return shown && segment.quantity && segment.quantity->Of(channel) == *shown;
}

// Every sample from one before the span to one after it, so the line reaches both edges.
HistorySeries EachSample(const LevelHistory& history, HistoryChannel channel,
                         const std::optional<ChannelQuantity>& shown, std::size_t from,
                         std::size_t to) {
  SeriesBuilder builder;
  history.ForEachRun(
      from > 0 ? from - 1 : 0, to + 1,
      [&](std::size_t run_from, std::size_t run_to, const HistorySegment& segment) {
        const bool of_shown = Shows(segment, channel, shown);
        for (std::size_t index = run_from; index < run_to; ++index) {
          const HistorySample& sample = history.At(index);
          const std::optional<TenthsDb> level = sample.Level(channel);
          if (!level || index == run_from ||
              sample.time_ms - history.At(index - 1).time_ms > LevelHistory::kLongestStepMs) {
            builder.Break(sample.time_ms);
          }
          if (level) {
            builder.Point(sample.time_ms, Db(*level), of_shown);
          }
        }
      });
  return builder.Take();
}

}  // namespace

HistorySeries BuildHistorySeries(const LevelHistory& history, HistoryChannel channel,
                                 const std::optional<ChannelQuantity>& shown, std::int64_t from_ms,
                                 std::int64_t to_ms, int columns) {
  const std::size_t from = history.FirstAtOrAfter(from_ms);
  const std::size_t to = history.FirstAtOrAfter(to_ms);
  if (columns <= 0 || to_ms <= from_ms || to - from <= 2 * static_cast<std::size_t>(columns)) {
    return EachSample(history, channel, shown, from, to);
  }
  SeriesBuilder builder;
  const double column_ms = static_cast<double>(to_ms - from_ms) / columns;
  std::size_t column_first = from;
  for (int column = 0; column < columns; ++column) {
    const auto column_end_ms = from_ms + static_cast<std::int64_t>((column + 1) * column_ms);
    const std::size_t column_end = history.FirstAtOrAfter(column_end_ms);
    const auto middle_ms = from_ms + static_cast<std::int64_t>((column + 0.5) * column_ms);
    if (column_first == column_end) {
      builder.Break(middle_ms);
    }
    history.ForEachRun(
        column_first, column_end,
        [&](std::size_t run_from, std::size_t run_to, const HistorySegment& segment) {
          const LevelExtremes extremes = history.Extremes(channel, run_from, run_to);
          if (extremes.broken || history.OldestNumber() + run_from == segment.first) {
            builder.Break(middle_ms);
          }
          if (extremes.min) {
            const bool of_shown = Shows(segment, channel, shown);
            builder.Point(middle_ms, Db(*extremes.min), of_shown);
            builder.Point(middle_ms, Db(*extremes.max), of_shown);
          }
          if (extremes.broken) {
            builder.Break(middle_ms);
          }
        });
    column_first = column_end;
  }
  return builder.Take();
}

std::vector<HistoryGap> FindHistoryGaps(const LevelHistory& history, std::int64_t from_ms,
                                        std::int64_t to_ms) {
  std::vector<HistoryGap> gaps;
  const std::size_t first = history.FirstAtOrAfter(from_ms);
  const std::size_t end = history.FirstAtOrAfter(to_ms);
  bool in_gap = false;
  // One sample before the span, so that a gap begun before it is found too.
  for (std::size_t index = first > 0 ? first - 1 : 0; index < end; ++index) {
    const HistorySample& sample = history.At(index);
    if (in_gap && (sample.measuring || sample.answered != gaps.back().answered)) {
      gaps.back().to_ms = sample.time_ms;
      in_gap = false;
    }
    if (!sample.measuring && !in_gap) {
      gaps.push_back({sample.time_ms, sample.time_ms, sample.answered});
      in_gap = true;
    }
  }
  if (in_gap) {
    gaps.back().to_ms = end < history.Size()
                            ? history.At(end).time_ms
                            : history.At(history.Size() - 1).time_ms + LevelHistory::kPollMs;
  }
  std::erase_if(gaps, [from_ms](const HistoryGap& gap) { return gap.to_ms <= from_ms; });
  return gaps;
}

}  // namespace halvane
