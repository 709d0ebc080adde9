#pragma once
// The C library's calendar of an instant, local or UTC, under one name: POSIX calls it
// localtime_r/gmtime_r, Windows localtime_s/gmtime_s with the arguments the other way round.

#include <ctime>

namespace halvane {

inline std::tm LocalCalendar(std::time_t seconds) {
  std::tm fields{};
#ifdef _WIN32
  localtime_s(&fields, &seconds);
#else
  localtime_r(&seconds, &fields);
#endif
  return fields;
}

inline std::tm UtcCalendar(std::time_t seconds) {
  std::tm fields{};
#ifdef _WIN32
  gmtime_s(&fields, &seconds);
#else
  gmtime_r(&seconds, &fields);
#endif
  return fields;
}

}  // namespace halvane
