#pragma once
// A set the meter recorded on its SD card, as the text the meter sends: the set header at fixed
// character positions, then one fixed-length record after another.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/record_file_layout.h"
#include "records/record_mode.h"

namespace halvane {

inline constexpr std::size_t kPageBytes = 160;
// The longest set taken from the card; a longer length is refused before anything is
// allocated. Real sets run to hundreds of kilobytes.
inline constexpr std::uint32_t kMaxSdSetLength = 16U * 1024U * 1024U;

// One set the scan found: the card entry it answered under and its length in bytes, and what
// the first page of its header tells: when it started and the main channel's weightings.
struct SdSet {
  std::uint16_t position = 0;
  std::uint32_t length = 0;
  std::string start_time{};      // "2013/08/09 10:20:30"
  std::string main_weighting{};  // "AF": frequency and time weighting letters
};

// The sets of the last scan; set n (from 1) is sets[n - 1].
struct SdSetTable {
  std::vector<SdSet> sets;
  std::size_t SdSetCount() const { return sets.size(); }
};

// Pages of 160 bytes that carry `length` bytes.
std::uint64_t PageCount(std::uint64_t length);

// The 32-bit length at the start of a set text (or a first page), high byte first.
std::uint32_t SetLengthField(std::string_view set_text);

// What the set header says, with the record geometry of its mode.
struct SdSetHeader {
  std::optional<RecordMode> mode;  // from the mode text; nullopt when it names none
  std::size_t header_length = 0;   // H: characters before the first record
  std::size_t record_length = 0;   // R
  // (set length + 2 - H) div R, never negative, and no record that starts past the text.
  std::uint64_t record_count = 0;
  RecordFileHeader lines;  // lines 1 to 13 of the record file
};

// The set of a scan's answer: its first page, under card entry `position`.
SdSet SdSetOfFirstPage(std::uint16_t position, std::string_view first_page);

// "Set 2: started 2013/08/09 10:20:30, LAF, 42310 bytes", set `number` from 1.
std::string SdSetSummary(std::size_t number, const SdSet& set);

// Reads the header of a set text whose length field says `set_length`. Characters the text
// does not hold read as absent; nothing is read past the text.
SdSetHeader ParseSetHeader(std::string_view set_text, std::uint32_t set_length);

// The record file of a downloaded set: seven lines when the mode is unknown, else the header,
// the table head and one line per record.
std::string SdRecordFileText(std::string_view set_text, std::uint32_t set_length,
                             const RecordProgress& progress = {});

}  // namespace halvane
