#include "graphs/record_times.h"

#include <array>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <optional>

namespace halvane {

namespace {

using std::chrono::year_month_day;

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The numbers of a text such as "2013/08/09" or "10:20:31": `count` groups of digits split by
// `separator`, nothing else.
template <std::size_t count>
std::optional<std::array<int, count>> Numbers(std::string_view text, char separator) {
  std::array<int, count> numbers{};
  const char* at = text.data();
  const char* end = text.data() + text.size();
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0 && (at == end || *at++ != separator)) {
      return std::nullopt;
    }
    const auto [next, error] = std::from_chars(at, end, numbers[i]);
    if (error != std::errc() || next == at || numbers[i] < 0) {
      return std::nullopt;
    }
    at = next;
  }
  return at == end ? std::optional(numbers) : std::nullopt;
}

std::optional<year_month_day> Date(std::string_view text) {
  const auto numbers = Numbers<3>(text, '/');
  if (!numbers) {
    return std::nullopt;
  }
  const year_month_day date{std::chrono::year((*numbers)[0]),
                            std::chrono::month(static_cast<unsigned>((*numbers)[1])),
                            std::chrono::day(static_cast<unsigned>((*numbers)[2]))};
  return date.ok() ? std::optional(date) : std::nullopt;
}

std::optional<int> SecondsOfDay(std::string_view text) {
  const auto numbers = Numbers<3>(text, ':');
  if (!numbers || (*numbers)[0] > 23 || (*numbers)[1] > 59 || (*numbers)[2] > 59) {
    return std::nullopt;
  }
  return ((*numbers)[0] * 60 + (*numbers)[1]) * 60 + (*numbers)[2];
}

std::string IsoText(year_month_day date, int seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                seconds / 3600, seconds / 60 % 60, seconds % 60);
  return text;
}

}  // namespace

std::vector<RecordTime> RecordDateTimes(std::string_view start_time,
                                        std::span<const std::string> cells) {
  const std::string_view start = Trimmed(start_time);
  const std::size_t blank = start.find(' ');
  std::optional<year_month_day> day = Date(start.substr(0, blank));
  // The time of day of the record before, -1 while unknown.
  int previous =
      blank == std::string_view::npos ? -1 : SecondsOfDay(start.substr(blank + 1)).value_or(-1);
  std::vector<RecordTime> times;
  times.reserve(cells.size());
  for (const std::string& cell : cells) {
    const std::string_view text = Trimmed(cell);
    const std::size_t space = text.find(' ');
    const bool time_alone = space == std::string_view::npos;
    const std::optional<year_month_day> date =
        time_alone ? std::nullopt : Date(text.substr(0, space));
    const std::optional<int> seconds = SecondsOfDay(time_alone ? text : text.substr(space + 1));
    if (seconds && date) {
      day = date;
    } else if (seconds && time_alone && day && *seconds < previous) {
      day = std::chrono::sys_days(*day) + std::chrono::days(1);
    }
    if (seconds && day && (time_alone || date)) {
      previous = *seconds;
      const auto midnight = std::chrono::sys_days(*day).time_since_epoch();
      times.push_back(
          {IsoText(*day, *seconds),
           std::chrono::duration_cast<std::chrono::seconds>(midnight).count() + *seconds});
    } else {
      times.push_back({std::string(text), std::nullopt});
    }
  }
  return times;
}

std::string DurationText(std::int64_t seconds) {
  const std::int64_t span = seconds < 0 ? -seconds : seconds;
  const std::int64_t days = span / 86400;
  char text[48];
  std::snprintf(text, sizeof text, "%s%s%lld:%02lld:%02lld", seconds < 0 ? "-" : "",
                days > 0 ? (std::to_string(days) + " d ").c_str() : "",
                static_cast<long long>(span % 86400 / 3600),
                static_cast<long long>(span % 3600 / 60), static_cast<long long>(span % 60));
  return text;
}

}  // namespace halvane
