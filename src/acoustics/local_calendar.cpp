#include "acoustics/local_calendar.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "files/calendar_time.h"

namespace halvane {

namespace {

std::tm LocalTm(WallMs time) {
  const std::time_t seconds = static_cast<std::time_t>(time / kSecondMs - (time % kSecondMs < 0));
  return LocalCalendar(seconds);
}

WallMs FromLocal(std::tm local) {
  local.tm_isdst = -1;  // let the zone say whether summer time is in force then
  return static_cast<WallMs>(std::mktime(&local)) * kSecondMs;
}

WallMs FloorMod(WallMs value, WallMs modulus) {
  const WallMs rest = value % modulus;
  return rest < 0 ? rest + modulus : rest;
}

}  // namespace

WallMs UtcOffsetMs(WallMs time) {
  // The local clock's fields read as if they were UTC, less the instant itself: what tm_gmtoff
  // says where the C library has it, and Windows' has not.
  const std::tm local = LocalTm(time);
  const std::chrono::sys_days day{std::chrono::year{local.tm_year + 1900} / (local.tm_mon + 1) /
                                  local.tm_mday};
  const WallMs local_seconds = static_cast<WallMs>(day.time_since_epoch().count()) * 86400 +
                               local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
  return local_seconds * kSecondMs - (time - FloorMod(time, kSecondMs));
}

WallMs PeriodStart(WallMs time, WallMs period_ms) {
  return time - FloorMod(time + UtcOffsetMs(time), period_ms);
}

WallMs LocalDayStart(WallMs time) {
  std::tm local = LocalTm(time);
  local.tm_hour = local.tm_min = local.tm_sec = 0;
  return FromLocal(local);
}

WallMs LocalDayEnd(WallMs day_start) {
  std::tm local = LocalTm(day_start);
  ++local.tm_mday;
  local.tm_hour = local.tm_min = local.tm_sec = 0;
  return FromLocal(local);
}

int LocalHour(WallMs time) {
  return LocalTm(time).tm_hour;
}

std::string LocalIsoTime(WallMs time) {
  const std::tm local = LocalTm(time);
  const long offset_minutes = static_cast<long>(UtcOffsetMs(time) / (60 * kSecondMs));
  const int milliseconds = static_cast<int>(FloorMod(time, kSecondMs));
  std::array<char, 48> text{};
  std::size_t length = std::strftime(text.data(), text.size(), "%Y-%m-%dT%H:%M:%S", &local);
  if (milliseconds != 0) {
    length += static_cast<std::size_t>(
        std::snprintf(text.data() + length, text.size() - length, ".%03d", milliseconds));
  }
  std::snprintf(text.data() + length, text.size() - length, "%c%02ld:%02ld",
                offset_minutes < 0 ? '-' : '+', std::labs(offset_minutes) / 60,
                std::labs(offset_minutes) % 60);
  return text.data();
}

std::string LocalDate(WallMs time) {
  const std::tm local = LocalTm(time);
  std::array<char, 16> text{};
  std::strftime(text.data(), text.size(), "%Y-%m-%d", &local);
  return text.data();
}

}  // namespace halvane
