#pragma once
// Local time as the monitor's tables see it: periods aligned to the clock on the wall, the
// local day from midnight to midnight (23 or 25 hours when the clock changes), and ISO 8601
// text with the UTC offset, so that the two 02:00 hours of an autumn night stay apart.
// Times are milliseconds since 1970, UTC; the zone is the process's (TZ).

#include <cstdint>
#include <string>

namespace halvane {

using WallMs = std::int64_t;

inline constexpr WallMs kSecondMs = 1000;
inline constexpr WallMs kHourMs = 3600 * kSecondMs;

// The local clock's offset from UTC at `time`, in milliseconds.
WallMs UtcOffsetMs(WallMs time);
// The start of the period of `period_ms` (a divisor of an hour) that holds `time`, aligned to
// the local clock: 15 minutes start at :00, :15, :30 and :45 local time.
WallMs PeriodStart(WallMs time, WallMs period_ms);
// The local midnight that starts the day holding `time`, and the one that ends it.
WallMs LocalDayStart(WallMs time);
WallMs LocalDayEnd(WallMs day_start);
// The hour of the local clock, 0 to 23, at `time`.
int LocalHour(WallMs time);
// "2026-03-29T03:00:00+02:00"; milliseconds are shown when there are any.
std::string LocalIsoTime(WallMs time);
// "2026-03-29"
std::string LocalDate(WallMs time);

}  // namespace halvane
