#pragma once
// The record text file as both writers lay it out: sixteen header lines, then one line per
// record. Cells are padded on the left to their width and followed by TAB; a longer text is
// written whole. Lines end with CR LF.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "records/record_mode.h"

namespace halvane {

inline constexpr std::size_t kRecordNumberWidth = 12;
inline constexpr std::size_t kDateTimeWidth = 17;
inline constexpr std::size_t kLevelWidth = 6;

// Called after each record line with the records written so far and their total.
using RecordProgress = std::function<void(std::uint64_t written, std::uint64_t total)>;

// Lines 1 to 13, as each writer fills them.
struct RecordFileHeader {
  std::string start_time;  // date, one blank, time of day
  std::string time_line;   // line 2 whole: its label and the time
  std::string period;
  std::string main_freq_weighting;
  std::string main_time_weighting;
  std::string sub_freq_weighting;
  std::string sub_time_weighting;
  std::string mode_name;  // empty when the mode is unknown
  std::string range_bottom;
  std::string range_top;
  std::uint64_t record_count = 0;
  std::string trigger_mode;
  std::string trigger_line_1;  // band or time; may be empty
  std::string trigger_line_2;  // level; may be empty
};

class RecordFileText {
 public:
  explicit RecordFileText(std::size_t expected_size = 0) { text_.reserve(expected_size); }

  void AddLine(std::string_view line);
  // Lines 1 to 7: start, time, period and the four weighting letters.
  void AddOpeningLines(const RecordFileHeader& header);
  // Lines 8 to 13: mode, range, records and the trigger.
  void AddSetLines(const RecordFileHeader& header);
  // Lines 14 to 16: the channel labels, the column heads and the dash rule.
  void AddTableHead(RecordMode mode);
  // One record line: its number, the date/time cell and the level cells in column order.
  void AddRecordLine(std::uint64_t record, std::string_view date_time_cell,
                     std::span<const std::string> levels);

  const std::string& Text() const { return text_; }
  std::string Take() { return std::move(text_); }

 private:
  void AddCell(std::string_view text, std::size_t width);
  void EndLine();

  std::string text_;
};

// The characters a file of `records` lines of this mode takes, roughly; for reserving.
std::size_t ExpectedRecordFileSize(RecordMode mode, std::uint64_t records);

}  // namespace halvane
