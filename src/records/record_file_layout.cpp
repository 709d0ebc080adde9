#include "records/record_file_layout.h"
#include "records/concat.h"

#include <vector>

#include "live/band_labels.h"

namespace halvane {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kTabStop = 8;
constexpr std::size_t kHeaderBytes = 2048;

constexpr std::array<std::string_view, kChannelValues> kChannelHeads{
    "LP", "Leq", "Le", "Lmax", "Lmin", "L05", "L10", "L50", "L90", "L95"};

// The band column heads: a lone band group carries its unit on its first head.
std::vector<std::string> BandHeads(RecordMode mode) {
  std::vector<std::string> heads;
  const bool both = mode == RecordMode::OctaveAndThirdOctave;
  for (std::size_t band = 0; band < OctaveBandCount(mode); ++band) {
    heads.emplace_back(OctaveBandLabels[band]);
  }
  for (std::size_t band = 0; band < ThirdOctaveBandCount(mode); ++band) {
    heads.emplace_back(ThirdOctaveBandLabels[band]);
  }
  if (!both && !heads.empty()) {
    heads.front().insert(0, "Hz");
  }
  return heads;
}

// The label line's cell texts after the number and date/time cells; each group's label stands
// in its first column.
std::vector<std::string_view> ChannelLabels(RecordMode mode) {
  std::vector<std::string_view> cells{" (Main)"};
  cells.resize(kChannelValues);
  if (mode == RecordMode::OctaveAndThirdOctave) {
    cells.push_back("1/1OCT");
    cells.resize(cells.size() + kOctaveBands - 1);
    cells.push_back("1/3OCT");
    cells.resize(cells.size() + kThirdOctaveBands - 1);
  } else {
    cells.resize(cells.size() + BandCount(mode));
  }
  cells.push_back(" (Sub)");
  if (mode != RecordMode::Slm) {
    cells.resize(cells.size() + kChannelValues - 1);
  }
  return cells;
}

}  // namespace

void RecordFileText::AddLine(std::string_view line) {
  text_ += line;
  EndLine();
}

void RecordFileText::AddOpeningLines(const RecordFileHeader& header) {
  AddLine(Concat({"Start Time : ", header.start_time}));
  AddLine(header.time_line);
  AddLine(Concat({"Period : ", header.period}));
  AddLine(Concat({"Frequency Weight : ", header.main_freq_weighting}));
  AddLine(Concat({"Time Weight : ", header.main_time_weighting}));
  AddLine(Concat({"Sub Frequency Weight : ", header.sub_freq_weighting}));
  AddLine(Concat({"Sub Time Weight : ", header.sub_time_weighting}));
}

void RecordFileText::AddSetLines(const RecordFileHeader& header) {
  AddLine(Concat({"Mode : ", header.mode_name}));
  AddLine(Concat({"Range : ", header.range_bottom, " - ", header.range_top}));
  AddLine(Concat({"Records : ", std::to_string(header.record_count)}));
  AddLine(Concat({"Trigger Mode : ", header.trigger_mode}));
  AddLine(header.trigger_line_1);
  AddLine(header.trigger_line_2);
}

void RecordFileText::AddTableHead(RecordMode mode) {
  // Channel labels; on an SLM line nothing follows the sub channel's label.
  text_ += "-";
  AddCell("", kRecordNumberWidth - 1);
  AddCell("", kDateTimeWidth);
  const std::vector<std::string_view> labels = ChannelLabels(mode);
  for (const std::string_view label : labels) {
    AddCell(label, kLevelWidth);
  }
  if (mode == RecordMode::Slm) {
    text_.pop_back();
  }
  EndLine();

  text_ += "-";
  AddCell("No.s", kRecordNumberWidth - 1);
  AddCell("Date Time", kDateTimeWidth);
  for (const std::string_view head : kChannelHeads) {
    AddCell(head, kLevelWidth);
  }
  for (const std::string& head : BandHeads(mode)) {
    AddCell(head, kLevelWidth);
  }
  for (const std::string_view head : kChannelHeads) {
    AddCell(head, kLevelWidth);
  }
  EndLine();

  // As wide as the table when TAB stops are every eight columns.
  const std::size_t dashes = 40 + kTabStop * LevelColumnCount(mode) - 2;
  text_.append(dashes, '-');
  EndLine();
}

void RecordFileText::AddRecordLine(std::uint64_t record, std::string_view date_time_cell,
                                   std::span<const std::string> levels) {
  AddCell(std::to_string(record), kRecordNumberWidth);
  AddCell(date_time_cell, kDateTimeWidth);
  for (const std::string& level : levels) {
    AddCell(level, kLevelWidth);
  }
  EndLine();
}

void RecordFileText::AddCell(std::string_view text, std::size_t width) {
  if (text.size() < width) {
    text_.append(width - text.size(), ' ');
  }
  text_ += text;
  text_ += '\t';
}

void RecordFileText::EndLine() {
  text_ += kLineEnd;
}

std::size_t ExpectedRecordFileSize(RecordMode mode, std::uint64_t records) {
  const std::size_t line = kRecordNumberWidth + kDateTimeWidth + 4 +
                           (kLevelWidth + 1) * LevelColumnCount(mode) + kLineEnd.size();
  return kHeaderBytes + line * static_cast<std::size_t>(records);
}

}  // namespace halvane
