#pragma once
// Composes a set as the meter keeps it on its SD card: a text of one byte per character,
// characters numbered from 1. The header (fields at fixed character positions, its first four
// characters the set length as a 32-bit number, high byte first) is followed by one fixed-length
// line per record: its time text, then every value as five characters and a space, then CR LF.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "sim/logged_levels.h"

namespace halvane {

enum class SdTrigger { Off, External, Level, Time };

struct SdSetDescription {
  LoggedMode mode = LoggedMode::Slm;
  bool integrated = false;          // integrated values; false: values sampled at an interval
  std::string time = "00:00:01";    // integration or interval time; also the step of the records
  std::string period = "00:10:00";  // measurement period
  std::string start_date = "2013/08/09";
  std::string start_time = "10:15:00";
  // Main frequency, main time, sub frequency, sub time weighting.
  std::array<char, 4> weightings{'A', 'F', 'C', 'S'};
  int range_bottom = 40;
  int range_top = 130;
  SdTrigger trigger = SdTrigger::Off;
  std::string trigger_level = "85 dB";    // with a level trigger
  std::string trigger_band = "1k Hz";     // with a level trigger
  std::string trigger_time = "12:00:00";  // with a time trigger
  int records = 10;
  std::uint32_t seed = 1;  // of the levels
};

// Characters before the first record: 824 and 14 for each band of a record.
std::size_t SdSetHeaderLength(LoggedMode mode);
// Characters of one record, its final CR LF included.
std::size_t SdSetRecordLength(LoggedMode mode);

// A set text's length field: its first four bytes, high byte first; missing bytes count as 0.
std::size_t SdSetLengthField(std::string_view text);

// The header and `records` records; the length field holds the text's length minus 2, so that
// (length + 2 - header length) div record length is the number of records.
// Record r's time text is the start time plus r steps, as hh:mm:ss on a 24-hour clock; a time
// that is no hh:mm:ss steps by one second. The mode text reads "SLM", "1/1 Octave",
// "1/3 Octave" or "1/1 & 1/3 Octave"; the trigger mode text "OFF", "EXT", "Level" or "Time".
std::string ComposeSdSetText(const SdSetDescription& set);

}  // namespace halvane
