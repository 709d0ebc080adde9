#include "sim/calendar_time.h"

#include <ctime>

namespace halvane {

using std::chrono::floor;
using std::chrono::seconds;
using std::chrono::system_clock;

CalendarTime CalendarTimeAt(system_clock::time_point time) {
  const auto whole_seconds = floor<seconds>(time);
  const auto day_start = floor<std::chrono::days>(whole_seconds);
  const std::chrono::year_month_day date{day_start};
  const std::chrono::hh_mm_ss time_of_day{whole_seconds - day_start};
  return CalendarTime{.year = int(date.year()),
                      .month = int(unsigned(date.month())),
                      .day = int(unsigned(date.day())),
                      .hour = int(time_of_day.hours().count()),
                      .minute = int(time_of_day.minutes().count()),
                      .second = int(time_of_day.seconds().count())};
}

std::optional<std::chrono::sys_seconds> TimePointOf(const CalendarTime& time) {
  const std::chrono::year_month_day date{std::chrono::year{time.year},
                                         std::chrono::month{unsigned(time.month)},
                                         std::chrono::day{unsigned(time.day)}};
  if (!date.ok() || time.hour < 0 || time.hour > 23 || time.minute < 0 || time.minute > 59 ||
      time.second < 0 || time.second > 59) {
    return std::nullopt;
  }
  return std::chrono::sys_days{date} + std::chrono::hours{time.hour} +
         std::chrono::minutes{time.minute} + seconds{time.second};
}

seconds LocalTimeOffset(system_clock::time_point time) {
  const std::time_t utc = system_clock::to_time_t(time);
  const std::tm local = *std::localtime(&utc);
  const std::chrono::sys_days local_day =
      std::chrono::year{local.tm_year + 1900} / (local.tm_mon + 1) / local.tm_mday;
  const auto local_as_utc = local_day + std::chrono::hours{local.tm_hour} +
                            std::chrono::minutes{local.tm_min} + seconds{local.tm_sec};
  return local_as_utc - floor<seconds>(system_clock::from_time_t(utc));
}

}  // namespace halvane
