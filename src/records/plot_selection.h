#pragma once
// What the three plot lists of a record file offer, the record-line field that each item
// reads, and the reading of one item over all records.

#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/record_mode.h"

namespace halvane {

// `ComboNo` lists at most this many record numbers; a file that holds more offers every number
// through a number box beside it, so that no list grows with what a file holds or claims.
inline constexpr std::uint64_t kListedRecordNumbers = 1000;

// The bands the item list offers for a mode text, first match winning: "1/1 & 1/3 OCTAVE",
// "1/1 OCTAVE", "1/3 OCTAVE" anywhere in it; no bands otherwise.
RecordMode ItemListMode(std::string_view mode_text);

// `ComboItem`: the ten main channel items, the band items ("1/3 OCT " entries before "1/1 OCT "
// entries in the combined mode), the ten sub channel items, then "Exit".
std::vector<std::string> ItemEntries(RecordMode mode);
// `ComboNoItem`: "Exit", "No.s", "Item", or "Exit", "Item" for an "SLM" file.
std::vector<std::string> NoItemEntries(std::string_view mode_text);

// The field (from 1, field 1 the record number) of a record line that the item at list
// position `position` (from 0) reads; nullopt for "Exit" and past the list.
std::optional<std::size_t> ItemField(RecordMode mode, std::size_t position);

// One item over the records: index 0 is record 1.
struct ItemColumn {
  std::vector<std::string> values;      // the field's text as written, blanks included
  std::vector<std::string> date_times;  // each record's date/time cell
};

// Calls `each` with `field` and the date/time cell of each of at most `record_count` record
// lines of a record file, in order; a line without that field gives an empty value. Lines past
// `record_count` are ignored. False when the reading stopped at a line longer than a line can
// be (TextLineReader) or the text is no record file.
using ItemVisitor = std::function<void(std::string_view value, std::string_view date_time)>;
bool VisitItemColumn(std::istream& in, std::size_t field, std::uint64_t record_count,
                     const ItemVisitor& each);

// The same gathered: nothing is set aside for records the file does not hold.
ItemColumn ReadItemColumn(std::istream& in, std::size_t field, std::uint64_t record_count);

// The record lines a record file holds, at most `record_count` of them.
std::uint64_t CountRecordLines(std::istream& in, std::uint64_t record_count);

}  // namespace halvane
