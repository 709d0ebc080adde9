#pragma once
// The cursor graph's item as comma-separated values: a header row naming the item and its
// unit, then one row per record with its number, its date and time and its value.

#include <span>
#include <string>
#include <string_view>

#include "graphs/record_times.h"

namespace halvane {

// `date_times` as RecordDateTimes gives them. Numbers are written in the C locale; a value that
// is not a number is left empty. Rows end with CR LF.
std::string ItemCsvText(std::string_view item_name, std::span<const std::string> values,
                        std::span<const RecordTime> date_times);

}  // namespace halvane
