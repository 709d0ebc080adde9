#pragma once
// What the cursor graph says beside its first cursor's readout: where the second cursor stands,
// what lies between the two, and the graph's title.

#include <span>
#include <string>
#include <string_view>

#include "graphs/record_times.h"

namespace halvane {

// A cursor's place: the record it stands on (a whole number) and its level.
struct CursorAt {
  double record = 0;
  double level = 0;
};

// "No.s 5   dB 60.0"
std::string SecondCursorText(CursorAt cursor);

// "2 - 1: 4 records, 0:00:04, +2.5 dB": the second cursor's distance from the first in
// records, in time (when both records have one in `times`, index 0 = record 1) and in level.
std::string BetweenCursorsText(CursorAt first, CursorAt second, std::span<const RecordTime> times);

// "LP(Sub) of record.txt: records 1 to 200, 2013-08-09T23:59:59 to 2013-08-10T00:03:18".
std::string GraphTitle(std::string_view item, std::string_view file_name,
                       std::span<const RecordTime> times);

}  // namespace halvane
