#pragma once
// What the graphs export as comma-separated values: the cursor graph's item over the records,
// the bar graph's band levels of one record. Numbers are written in the C locale; a value that
// is not a number is left empty. Rows end with CR LF.

#include <span>
#include <string>
#include <string_view>

#include "graphs/bar_graph.h"
#include "graphs/record_times.h"

namespace halvane {

// A header row naming the item and its unit, then one row per record with its number, its date
// and time (as RecordDateTimes gives them) and its value.
std::string ItemCsvText(std::string_view item_name, std::span<const std::string> values,
                        std::span<const RecordTime> date_times);

// A header row, then one row per band: the record's number and date and time, the band, its
// width and its level.
std::string BandLevelsCsvText(std::uint64_t record, std::string_view date_time,
                              std::span<const BandLevel> levels);

}  // namespace halvane
