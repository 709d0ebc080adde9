#include "live/meter.h"
#include "records/concat.h"
#include "records/logger_image.h"
#include "text/number_text.h"

namespace halvane {

namespace {

constexpr std::uint64_t kSecondsPerDay = 24 * 3600;
constexpr std::string_view kEdgeBand = "---.-";

RecordFileHeader HeaderLines(const LoggerRecord& record) {
  RecordFileHeader lines;
  lines.start_time = Concat({record.start_date, " ", record.start_time});
  lines.time_line = record.SampledAtInterval()
                        ? Concat({"Interval : ", record.interval})
                        : Concat({"Integrated Time : ", record.integration_time});
  lines.period = record.period;
  lines.main_freq_weighting = record.main_freq_weighting;
  lines.main_time_weighting = record.main_time_weighting;
  lines.sub_freq_weighting = record.sub_freq_weighting;
  lines.sub_time_weighting = record.sub_time_weighting;
  if (record.mode) {
    lines.mode_name = RecordModeName(*record.mode);
  }
  lines.range_bottom = std::to_string(record.range_lower);
  lines.range_top = std::to_string(record.range_upper);
  lines.record_count = record.samples_held;
  lines.trigger_mode = record.trigger_mode_text;
  lines.trigger_line_1 = record.trigger_band_text;
  lines.trigger_line_2 = record.trigger_level_text;
  return lines;
}

// The columns whose bands lie at the edges of the meter's range; their values are not shown.
std::vector<bool> EdgeBandColumns(RecordMode mode) {
  std::vector<bool> edge(LevelColumnCount(mode), false);
  std::size_t column = kChannelValues;
  const std::size_t octaves = OctaveBandCount(mode);
  if (octaves > 0) {
    edge[column] = edge[column + octaves - 1] = true;
    column += octaves;
  }
  const std::size_t thirds = ThirdOctaveBandCount(mode);
  if (thirds > 0) {
    for (const std::size_t band :
         {std::size_t{0}, std::size_t{1}, std::size_t{2}, thirds - 3, thirds - 2, thirds - 1}) {
      edge[column + band] = true;
    }
  }
  return edge;
}

// Seconds since midnight of an hh:mm:ss text; a part that is not two decimal digits counts 0.
std::uint64_t SecondsOfDay(std::string_view time) {
  const auto part = [time](std::size_t at) -> std::uint64_t {
    if (at + 2 > time.size() || !IsTwoDecimalDigits(time.substr(at, 2))) {
      return 0;
    }
    return static_cast<std::uint64_t>((time[at] - '0') * 10 + (time[at + 1] - '0'));
  };
  return (part(0) * 3600 + part(3) * 60 + part(6)) % kSecondsPerDay;
}

std::string TimeOfDayText(std::uint64_t seconds) {
  const auto two = [](std::uint64_t value) {
    return std::string{static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
  };
  return Concat({two(seconds / 3600), ":", two(seconds / 60 % 60), ":", two(seconds % 60)});
}

// The date/time cell of sample r: its own time stamp when it carries one, else the time of
// day of the record's start plus r steps.
std::string DateTimeCell(const LoggerRecord& record, std::span<const std::uint8_t> sample,
                         std::uint64_t r) {
  if (record.extra_bytes_per_sample > 0) {
    return Concat({"20", TwoDigitHex(sample[0]), "/", TwoDigitHex(sample[1]), "/",
                   TwoDigitHex(sample[2]), " ", TwoDigitHex(sample[3]), ":", TwoDigitHex(sample[4]),
                   ":", TwoDigitHex(sample[5])});
  }
  const std::uint64_t elapsed = (r % kSecondsPerDay) * (record.step_seconds % kSecondsPerDay);
  return Concat(
      {"         ", TimeOfDayText((SecondsOfDay(record.start_time) + elapsed) % kSecondsPerDay)});
}

}  // namespace

std::string FlashRecordFileText(std::span<const std::uint8_t> image, const LoggerRecord& record,
                                const RecordProgress& progress) {
  const RecordFileHeader lines = HeaderLines(record);
  if (!record.mode) {
    RecordFileText file;
    file.AddOpeningLines(lines);
    file.AddSetLines(lines);
    return file.Take();
  }
  const RecordMode mode = *record.mode;
  RecordFileText file(ExpectedRecordFileSize(mode, record.samples_held));
  file.AddOpeningLines(lines);
  file.AddSetLines(lines);
  file.AddTableHead(mode);

  const std::vector<bool> edge = EdgeBandColumns(mode);
  std::vector<std::string> levels(edge.size());
  const std::size_t sample_size = record.SampleSize();
  const std::uint64_t first_sample = record.offset + kLoggerHeaderLength;
  for (std::uint64_t r = 1; r <= record.samples_held; ++r) {
    const std::uint64_t start = first_sample + sample_size * (r - 1);
    if (start + sample_size > image.size()) {
      break;
    }
    const auto sample = image.subspan(static_cast<std::size_t>(start), sample_size);
    const auto values = sample.subspan(record.extra_bytes_per_sample);
    for (std::size_t c = 0; c < levels.size(); ++c) {
      levels[c] = edge[c] ? std::string(kEdgeBand) : FormatLevel(values[2 * c], values[2 * c + 1]);
    }
    file.AddRecordLine(r, DateTimeCell(record, sample, r), levels);
    if (progress) {
      progress(r, record.samples_held);
    }
  }
  return file.Take();
}

}  // namespace halvane
