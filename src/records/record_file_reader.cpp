#include "records/record_file_reader.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "text/number_text.h"

namespace halvane {

namespace {

constexpr std::size_t kHeaderLines = 10;

// The last characters of a header line's value, the text after its label's colon; a line whose
// value is empty (a time-stamped record's Interval and Period) gives an empty text, never the end
// of its label.
std::string Last(std::string_view line, std::size_t count) {
  if (const std::size_t colon = line.find(':'); colon != std::string_view::npos) {
    line.remove_prefix(std::min(line.find_first_not_of(' ', colon + 1), line.size()));
  }
  return std::string(line.substr(line.size() > count ? line.size() - count : 0));
}

std::string From(std::string_view line, std::size_t character) {
  return character <= line.size() ? std::string(line.substr(character - 1)) : std::string();
}

std::uint64_t Count(double value) {
  if (!(value > 0)) {
    return 0;
  }
  return value >= 1.8e19 ? UINT64_MAX : static_cast<std::uint64_t>(value);
}

std::optional<RecordFileInfo> ParseHeader(const std::array<std::string, kHeaderLines>& lines) {
  if (!lines[0].starts_with("Start Time : ") || !lines[7].starts_with("Mode : ") ||
      !lines[8].starts_with("Range : ") || !lines[9].starts_with("Records : ")) {
    return std::nullopt;
  }
  RecordFileInfo info;
  info.start_time = Last(lines[0], 19);
  info.time = Last(lines[1], 8);
  info.period = Last(lines[2], 8);
  info.RecordMainFreqWeighting = Last(lines[3], 1);
  info.RecordMainTimeWeighting = Last(lines[4], 1);
  info.RecordSubFreqWeighting = Last(lines[5], 1);
  info.RecordSubTimeWeighting = Last(lines[6], 1);
  info.RecordMode = From(lines[7], 8);
  // The bottom is read up to the dash, so that a three-digit bottom is read whole.
  const std::string_view range = lines[8];
  const std::size_t dash = range.find('-');
  info.RecordRangeBottom =
      ReadNumber(range.substr(8, dash == std::string_view::npos ? dash : dash - 8));
  info.RecordRangeTop = dash == std::string_view::npos ? 0 : ReadNumber(range.substr(dash + 1));
  info.RecordCount = Count(ReadNumber(From(lines[9], 11)));
  return info;
}

}  // namespace

RecordFileReader::RecordFileReader(std::istream& in) : lines_(in) {
  std::array<std::string, kHeaderLines> lines;
  for (std::string& line : lines) {
    if (!lines_.Next(line)) {
      return;
    }
  }
  header_ = ParseHeader(lines);
  // Lines 11 to 16: the trigger, the channel labels, the column heads and the dash rule.
  for (std::size_t line = kHeaderLines + 1; line < kFirstRecordLine; ++line) {
    if (!lines_.Next(line_)) {
      return;
    }
  }
}

void SplitRecordFields(std::string_view line, std::vector<std::string_view>& fields) {
  fields.clear();
  if (!line.empty() && line.back() == '\t') {
    line.remove_suffix(1);
  }
  while (true) {
    const std::size_t tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) {
      return;
    }
    line.remove_prefix(tab + 1);
  }
}

bool RecordFileReader::NextRecord(std::vector<std::string_view>& fields) {
  fields.clear();
  if (!header_ || !lines_.Next(line_)) {
    return false;
  }
  SplitRecordFields(line_, fields);
  return true;
}

}  // namespace halvane
