#include "records/sd_set.h"
#include "records/concat.h"

#include <array>
#include <charconv>
#include <cmath>

#include "text/number_text.h"

namespace halvane {

namespace {

// Header fields: character position (from 1) and length.
struct Field {
  std::size_t position;
  std::size_t length;
};

constexpr Field kStartDate{66, 10};
constexpr Field kStartTime{77, 8};
constexpr Field kMainFreq{107, 1};
constexpr Field kMainTime{130, 1};
constexpr Field kSubFreq{152, 1};
constexpr Field kSubTime{174, 1};
constexpr Field kRangeBottom{217, 3};
constexpr Field kRangeTop{224, 3};
constexpr Field kModeText{244, 16};
constexpr Field kIntegratedMarker{267, 1};
constexpr Field kTime{280, 8};
constexpr Field kPeriod{307, 8};
constexpr Field kTriggerMode{334, 15};
constexpr Field kTriggerLevelOrTime{368, 8};
constexpr Field kTriggerBand{394, 8};

constexpr std::size_t kRecordTimeLength = 8;
constexpr std::size_t kFirstValueColumn = 10;
constexpr std::size_t kValueStride = 6;
constexpr std::size_t kValueLength = 5;
constexpr std::size_t kBaseHeaderLength = 824;
constexpr std::size_t kHeaderPerBand = 14;
constexpr std::size_t kRecordSlack = 11;  // a record's time text, blanks and line end
constexpr std::size_t kFirstBandValue = 21;
constexpr std::size_t kFirstSubValue = 11;

std::string_view Take(std::string_view text, Field field) {
  if (field.position > text.size()) {
    return {};
  }
  return text.substr(field.position - 1, field.length);
}

// The mode whose text the mode field holds; the combined mode is looked for before the
// single-band ones since its text contains theirs.
std::optional<RecordMode> ModeOfText(std::string_view text) {
  static constexpr std::array<std::pair<std::string_view, RecordMode>, 4> kModes{{
      {"SLM", RecordMode::Slm},
      {"1/1 & 1/3 Octave", RecordMode::OctaveAndThirdOctave},
      {"1/1 Octave", RecordMode::Octave},
      {"1/3 Octave", RecordMode::ThirdOctave},
  }};
  for (const auto& [name, mode] : kModes) {
    if (text.find(name) != std::string_view::npos) {
      return mode;
    }
  }
  return std::nullopt;
}

// A range field as a number, written without a decimal point when it is whole.
std::string NumberText(std::string_view field) {
  const double value = ReadNumber(field);
  if (value == std::floor(value) && std::abs(value) < 1e15) {
    return std::to_string(static_cast<long long>(value));
  }
  std::array<char, 32> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), result.ptr);
}

RecordFileHeader HeaderLines(std::string_view text) {
  RecordFileHeader lines;
  lines.start_time = Concat({Take(text, kStartDate), " ", Take(text, kStartTime)});
  lines.time_line =
      Concat({Take(text, kIntegratedMarker) == "g" ? "Integrated Time : " : "Interval Time : ",
              Take(text, kTime)});
  lines.period = std::string(Take(text, kPeriod));
  lines.main_freq_weighting = std::string(Take(text, kMainFreq));
  lines.main_time_weighting = std::string(Take(text, kMainTime));
  lines.sub_freq_weighting = std::string(Take(text, kSubFreq));
  lines.sub_time_weighting = std::string(Take(text, kSubTime));
  lines.range_bottom = NumberText(Take(text, kRangeBottom));
  lines.range_top = NumberText(Take(text, kRangeTop));

  const std::string_view trigger = Take(text, kTriggerMode);
  lines.trigger_mode = std::string(trigger);
  const auto contains = [trigger](std::string_view word) {
    return trigger.find(word) != std::string_view::npos;
  };
  if (contains("OFF") || contains("EXT")) {
    return lines;
  }
  if (contains("Time")) {
    lines.trigger_line_1 = Concat({"Trigger Time : ", Take(text, kTriggerLevelOrTime)});
  } else {
    // The meter's own program has always spelled this line so; files are read by it.
    lines.trigger_line_1 = Concat({"TriggerBand : ", Take(text, kTriggerBand)});
    lines.trigger_line_2 = Concat({"TriggerLevle : ", Take(text, kTriggerLevelOrTime)});
  }
  return lines;
}

// Value number c (from 1) of each level column, in column order: the main channel's values,
// the bands, the sub channel's values.
std::vector<std::size_t> ValueNumbersInColumnOrder(RecordMode mode) {
  std::vector<std::size_t> numbers;
  for (std::size_t c = 1; c <= kChannelValues; ++c) {
    numbers.push_back(c);
  }
  for (std::size_t band = 0; band < BandCount(mode); ++band) {
    numbers.push_back(kFirstBandValue + band);
  }
  for (std::size_t c = 0; c < kChannelValues; ++c) {
    numbers.push_back(kFirstSubValue + c);
  }
  return numbers;
}

}  // namespace

std::uint64_t PageCount(std::uint64_t length) {
  return length / kPageBytes + (length % kPageBytes != 0 ? 1 : 0);
}

std::uint32_t SetLengthField(std::string_view set_text) {
  std::uint32_t length = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    const auto byte = i < set_text.size() ? static_cast<unsigned char>(set_text[i]) : 0U;
    length = length << 8 | byte;
  }
  return length;
}

SdSetHeader ParseSetHeader(std::string_view set_text, std::uint32_t set_length) {
  SdSetHeader header;
  header.lines = HeaderLines(set_text);
  header.mode = ModeOfText(Take(set_text, kModeText));
  if (!header.mode) {
    return header;
  }
  const std::size_t values = LevelColumnCount(*header.mode);
  header.header_length = kBaseHeaderLength + kHeaderPerBand * BandCount(*header.mode);
  header.record_length = kRecordSlack + kValueStride * values;
  // As many records as the length promises, but never one that starts beyond the text.
  const std::uint64_t usable = std::min<std::uint64_t>(std::uint64_t{set_length} + 2,
                                                       set_text.size() + header.record_length - 1);
  header.record_count =
      usable > header.header_length ? (usable - header.header_length) / header.record_length : 0;
  header.lines.mode_name = RecordModeName(*header.mode);
  header.lines.record_count = header.record_count;
  return header;
}

SdSet SdSetOfFirstPage(std::uint16_t position, std::string_view first_page) {
  const std::uint32_t length = SetLengthField(first_page);
  const RecordFileHeader lines = ParseSetHeader(first_page, length).lines;
  return {position, length, lines.start_time,
          lines.main_freq_weighting + lines.main_time_weighting};
}

std::string SdSetSummary(std::size_t number, const SdSet& set) {
  return "Set " + std::to_string(number) + ": started " + set.start_time + ", L" +
         set.main_weighting + ", " + std::to_string(set.length) + " bytes";
}

std::string SdRecordFileText(std::string_view set_text, std::uint32_t set_length,
                             const RecordProgress& progress) {
  const SdSetHeader header = ParseSetHeader(set_text, set_length);
  if (!header.mode) {
    RecordFileText file;
    file.AddOpeningLines(header.lines);
    return file.Take();
  }
  RecordFileText file(ExpectedRecordFileSize(*header.mode, header.record_count));
  file.AddOpeningLines(header.lines);
  file.AddSetLines(header.lines);
  file.AddTableHead(*header.mode);

  const std::vector<std::size_t> numbers = ValueNumbersInColumnOrder(*header.mode);
  std::vector<std::string> levels(numbers.size());
  for (std::uint64_t r = 1; r <= header.record_count; ++r) {
    const std::size_t start = header.header_length + (r - 1) * header.record_length;
    const std::string_view record =
        start < set_text.size() ? set_text.substr(start, header.record_length) : std::string_view{};
    for (std::size_t column = 0; column < numbers.size(); ++column) {
      const Field value{kFirstValueColumn + (numbers[column] - 1) * kValueStride, kValueLength};
      levels[column] = Take(record, value);
    }
    const std::string cell = Concat({"         ", Take(record, {1, kRecordTimeLength})});
    file.AddRecordLine(r, cell, levels);
    if (progress) {
      progress(r, header.record_count);
    }
  }
  return file.Take();
}

}  // namespace halvane
