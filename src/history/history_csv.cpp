#include "history/history_csv.h"

#include <chrono>
#include <cstdio>

namespace halvane {

namespace {

std::string UtcTime(std::int64_t wall_ms) {
  using namespace std::chrono;
  const sys_time<milliseconds> time{milliseconds(wall_ms)};
  const sys_days day = floor<days>(time);
  const year_month_day date(day);
  const hh_mm_ss<milliseconds> clock(time - day);
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02lld:%02lld:%02lld.%03lldZ",
                static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                static_cast<unsigned>(date.day()), static_cast<long long>(clock.hours().count()),
                static_cast<long long>(clock.minutes().count()),
                static_cast<long long>(clock.seconds().count()),
                static_cast<long long>(clock.subseconds().count()));
  return text;
}

std::string Level(const HistorySample& sample, HistoryChannel channel) {
  const std::optional<TenthsDb> level = sample.Level(channel);
  if (!level) {
    return {};
  }
  return std::to_string(*level / 10) + "." + std::to_string(*level % 10);
}

}  // namespace

std::string HistoryCsvText(const LevelHistory& history, std::int64_t from_ms, std::int64_t to_ms) {
  std::string text = "PC Time (UTC),Main Item,Main [dB],Sub Item,Sub [dB]\r\n";
  history.ForEachRun(history.FirstAtOrAfter(from_ms), history.FirstAtOrAfter(to_ms),
                     [&](std::size_t run_from, std::size_t run_to, const HistorySegment& segment) {
                       for (std::size_t index = run_from; index < run_to; ++index) {
                         const HistorySample& sample = history.At(index);
                         text += UtcTime(history.WallMsAt(index));
                         if (sample.measuring) {
                           text += "," + segment.quantity->Of(HistoryChannel::kMain).label + "," +
                                   Level(sample, HistoryChannel::kMain) + "," +
                                   segment.quantity->Of(HistoryChannel::kSub).label + "," +
                                   Level(sample, HistoryChannel::kSub);
                         } else {
                           text += ",,,,";
                         }
                         text += "\r\n";
                       }
                     });
  return text;
}

}  // namespace halvane
