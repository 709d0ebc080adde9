#pragma once
// The date and time of each record of a record file, as ISO 8601. Most files give a record
// only its time of day ("         10:20:31"); flash records with time stamps give the date as
// well ("2013/08/09 10:20:31"). Without the date, records after midnight could not be told
// from those before.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace halvane {

struct RecordTime {
  std::string text;                     // "2013-08-09T10:20:31", or the cell as it stands
  std::optional<std::int64_t> seconds;  // since 1970-01-01 on the file's clock, with the text
};

// The time of each of `cells`, the records' date/time cells. A cell of a time of day alone
// takes the date of the file's `start_time` ("2013/08/09 10:20:30"), a day later each time the
// time of day runs back, starting from the start's. A cell that is neither, or one without a
// date to take, is kept as it stands, without its blanks, and has no seconds.
std::vector<RecordTime> RecordDateTimes(std::string_view start_time,
                                        std::span<const std::string> cells);

// A span of time as "0:00:04", or "2 d 1:00:00" from a day on; a negative span with a "-".
std::string DurationText(std::int64_t seconds);

}  // namespace halvane
