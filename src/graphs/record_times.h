#pragma once
// The date and time of each record of a record file, as ISO 8601. Most files give a record
// only its time of day ("         10:20:31"); flash records with time stamps give the date as
// well ("2013/08/09 10:20:31"). Without the date, records after midnight could not be told
// from those before.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace halvane {

// "2013-08-09T10:20:31" for each of `cells`, the records' date/time cells. A cell of a time of
// day alone takes the date of the file's `start_time` ("2013/08/09 10:20:30"), a day later
// each time the time of day runs back, starting from the start's. A cell that is neither is
// kept as it stands, without its blanks.
std::vector<std::string> RecordDateTimes(std::string_view start_time,
                                         std::span<const std::string> cells);

}  // namespace halvane
