#pragma once
// Reads a record text file back: the header values of lines 1 to 10 and the record lines from
// line 17 on, split into their TAB-separated fields. Lines may end in CR LF, LF or CR, a UTF-8
// byte-order mark may open the file, and a line past TextLineReader's length limit ends it.

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/text_lines.h"

namespace halvane {

inline constexpr std::size_t kFirstRecordLine = 17;

// The header values the graphs start from.
struct RecordFileInfo {
  std::string start_time;  // the last 19 characters of line 1
  std::string time;        // the last 8 characters of line 2: integration or interval time
  std::string period;      // the last 8 characters of line 3
  std::string RecordMainFreqWeighting;
  std::string RecordMainTimeWeighting;
  std::string RecordSubFreqWeighting;
  std::string RecordSubTimeWeighting;
  std::string RecordMode;  // line 8 from its 8th character
  double RecordRangeBottom = 0;
  double RecordRangeTop = 0;
  std::uint64_t RecordCount = 0;  // as line 10 states it; the file may hold more or fewer
};

// Splits a record line into its TAB-separated fields; the empty field behind the line's final
// TAB is not counted. The views point into `line`.
void SplitRecordFields(std::string_view line, std::vector<std::string_view>& fields);

class RecordFileReader {
 public:
  // Reads lines 1 to 16. The header is absent when the text is not a record file: fewer than
  // ten lines, or lines 1, 8, 9 or 10 without their labels.
  explicit RecordFileReader(std::istream& in);

  const std::optional<RecordFileInfo>& Header() const { return header_; }

  // The fields of the next record line, field 1 the record number and field 2 the date/time
  // cell; the empty field behind a line's final TAB is not counted. False at the end of the
  // file. The views stay valid until the next call.
  bool NextRecord(std::vector<std::string_view>& fields);

  const TextLineReader& Lines() const { return lines_; }

 private:
  TextLineReader lines_;
  std::string line_;
  std::optional<RecordFileInfo> header_;
};

}  // namespace halvane
