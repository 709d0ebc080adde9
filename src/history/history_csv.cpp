#include "history/history_csv.h"

#include <chrono>
#include <cstdio>

namespace halvane {

namespace {

std::string UtcTime(std::int64_t pc_time_ms) {
  using namespace std::chrono;
  const sys_time<milliseconds> time{milliseconds(pc_time_ms)};
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
  const std::size_t end = history.FirstAtOrAfter(to_ms);
  for (std::size_t index = history.FirstAtOrAfter(from_ms); index < end; ++index) {
    const HistorySample& sample = history.At(index);
    text += UtcTime(sample.pc_time_ms);
    const HistoryMark* mark = history.MarkAt(sample.pc_time_ms);
    if (sample.measuring && mark != nullptr) {
      text += "," + mark->quantity.main_label + "," + Level(sample, HistoryChannel::kMain) + "," +
              mark->quantity.sub_label + "," + Level(sample, HistoryChannel::kSub);
    } else {
      text += ",,,,";
    }
    text += "\r\n";
  }
  return text;
}

}  // namespace halvane
