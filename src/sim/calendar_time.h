#pragma once
// Calendar fields of a point in time, for the meter's clock.

#include <chrono>
#include <optional>

namespace halvane {

struct CalendarTime {
  int year = 0;  // four digits
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The fields of a time point counted as UTC, whole seconds.
CalendarTime CalendarTimeAt(std::chrono::system_clock::time_point time);

// The time point of the fields counted as UTC; nothing when they name no real date and time.
std::optional<std::chrono::sys_seconds> TimePointOf(const CalendarTime& time);

// How far the PC's local time is ahead of UTC at this moment.
std::chrono::seconds LocalTimeOffset(std::chrono::system_clock::time_point time);

}  // namespace halvane
