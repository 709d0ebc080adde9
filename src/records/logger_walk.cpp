#include <array>

#include "live/band_labels.h"
#include "live/meter.h"
#include "records/concat.h"
#include "records/logger_image.h"
#include "text/number_text.h"

namespace halvane {

namespace {

constexpr std::array<std::uint8_t, 4> kSignature{0x00, 0x55, 0xAA, 0x00};
constexpr std::size_t kTimeStampBytes = 6;
constexpr int kStampedTriggerMode = 2;
constexpr std::size_t kAllPassEntry = 33;

constexpr std::array<std::string_view, 5> kTriggerModeTexts{"Off", "Trigger Level1",
                                                            "Trigger Level2", "External", "Time"};

// Hours, minutes and seconds as plain byte values, two decimal digits each at least.
std::string PlainTime(std::span<const std::uint8_t> bytes) {
  const auto two = [](int value) { return Concat({value < 10 ? "0" : "", std::to_string(value)}); };
  return Concat({two(bytes[0]), ":", two(bytes[1]), ":", two(bytes[2])});
}

std::uint32_t PlainSeconds(std::span<const std::uint8_t> bytes) {
  return 3600U * bytes[0] + 60U * bytes[1] + bytes[2];
}

// The label of a trigger band code: 0 to 10 the octave bands by the third-octave entry of the
// same centre, 11 to 44 the third-octave entries; empty for a code beyond the table.
std::string TriggerBandText(int code) {
  std::size_t entry = 0;
  if (code <= 10) {
    entry = 3 * static_cast<std::size_t>(code) + 1;
  } else if (code - 11 < static_cast<int>(ThirdOctaveBandLabels.size())) {
    entry = static_cast<std::size_t>(code - 11);
  } else {
    return "TriggerBand :  Hz";
  }
  return Concat(
      {"TriggerBand : ", ThirdOctaveBandLabels[entry], entry != kAllPassEntry ? " Hz" : ""});
}

std::size_t ValueCount(const std::optional<RecordMode>& mode) {
  return mode ? LevelColumnCount(*mode) : 0;
}

LoggerRecord DecodeHeader(std::span<const std::uint8_t, kLoggerHeaderLength> h) {
  LoggerRecord record;
  record.sample_count =
      std::uint32_t{h[4]} << 24 | std::uint32_t{h[5]} << 16 | std::uint32_t{h[6]} << 8 | h[7];
  record.flags = h[8];
  record.main_freq_weighting = FreqWeightingLetter(h[9] & 0x0F);
  record.main_time_weighting = TimeWeightingLetter(h[10] & 0x0F);
  record.mode_code = h[11];
  record.mode = RecordModeFromCode(h[11]);
  record.range_upper = h[12];
  record.range_lower = h[12] >= 120 ? h[12] - 90 : 20;
  record.start_date =
      Concat({"20", TwoDigitHex(h[14]), "/", TwoDigitHex(h[15]), "/", TwoDigitHex(h[16])});
  record.start_time =
      Concat({TwoDigitHex(h[17]), ":", TwoDigitHex(h[18]), ":", TwoDigitHex(h[19])});
  record.interval = PlainTime(h.subspan<20, 3>());
  record.period = PlainTime(h.subspan<23, 3>());
  record.sub_freq_weighting = FreqWeightingLetter(h[26] & 0x0F);
  record.sub_time_weighting = TimeWeightingLetter(h[27] & 0x0F);
  record.byte_28 = h[28];
  record.integration_time = PlainTime(h.subspan<29, 3>());
  record.byte_32 = h[32];
  record.step_seconds = record.SampledAtInterval() ? PlainSeconds(h.subspan<20, 3>())
                                                   : PlainSeconds(h.subspan<29, 3>());

  record.trigger_mode = h[33];
  if (record.trigger_mode < static_cast<int>(kTriggerModeTexts.size())) {
    record.trigger_mode_text = kTriggerModeTexts[static_cast<std::size_t>(record.trigger_mode)];
  }
  if (record.trigger_mode == 1 || record.trigger_mode == kStampedTriggerMode) {
    record.trigger_band_text = TriggerBandText(h[34]);
    record.trigger_level_text = Concat({"TriggerLevel : ", std::to_string(h[35]), " dB"});
  } else if (record.trigger_mode == 4) {
    record.trigger_band_text = Concat({"Trigger Time : ", PlainTime(h.subspan<36, 3>())});
  }
  if (record.trigger_mode == kStampedTriggerMode) {
    record.extra_bytes_per_sample = kTimeStampBytes;
    record.interval.clear();
    record.period.clear();
  }
  record.length = std::uint64_t{record.sample_count} * record.SampleSize() + kLoggerHeaderLength;
  return record;
}

}  // namespace

std::size_t LoggerRecord::SampleSize() const {
  return extra_bytes_per_sample + 2 * ValueCount(mode);
}

LoggerRecordTable WalkLoggerImage(std::span<const std::uint8_t> image, std::uint32_t used_size) {
  const std::uint64_t end = std::min<std::uint64_t>(image.size(), used_size);
  LoggerRecordTable table;
  std::uint64_t position = 0;
  while (position + kSignature.size() <= end) {
    const auto at = image.subspan(static_cast<std::size_t>(position));
    if (!std::equal(kSignature.begin(), kSignature.end(), at.begin()) ||
        position + kLoggerHeaderLength > end) {
      break;
    }
    LoggerRecord record = DecodeHeader(at.first<kLoggerHeaderLength>());
    record.offset = position;
    record.samples_held = record.sample_count;
    const bool cut_short = position + record.length > end;
    if (cut_short) {
      // Its samples take room, so SampleSize() is not 0 here.
      record.samples_held =
          static_cast<std::uint32_t>((end - position - kLoggerHeaderLength) / record.SampleSize());
    }
    position += record.length;
    table.push_back(std::move(record));
    if (cut_short) {
      break;
    }
  }
  return table;
}

std::string GridRowText(std::size_t number, const LoggerRecord& record) {
  const std::string held = std::to_string(record.samples_held);
  return Concat({std::to_string(number), "\t", record.start_date, " ", record.start_time, "\tL",
                 record.main_freq_weighting, record.main_time_weighting, "\t", held,
                 record.CutShort() ? Concat({" of ", std::to_string(record.sample_count)}) : ""});
}

}  // namespace halvane
