#include "sim/flash_record.h"

#include <chrono>

#include "sim/bcd.h"

namespace halvane {

namespace {

constexpr std::size_t kTimeStampBytes = 6;
constexpr int kTimeStampedTriggerMode = 2;
constexpr std::uint8_t kIntervalFlag = 0x02;


void AppendBigEndian(std::uint32_t value, int bytes, std::vector<std::uint8_t>& image) {
  for (int byte = bytes - 1; byte >= 0; --byte) {
    image.push_back(static_cast<std::uint8_t>(value >> (8 * byte)));
  }
}

void AppendPlainTime(const HoursMinutesSeconds& time, std::vector<std::uint8_t>& image) {
  image.insert(image.end(), {Byte(time.hours), Byte(time.minutes), Byte(time.seconds)});
}

void AppendBcdDate(const CalendarTime& time, std::vector<std::uint8_t>& image) {
  image.insert(image.end(), {ToBcd(time.year % 100), ToBcd(time.month), ToBcd(time.day)});
}

void AppendBcdTimeOfDay(const CalendarTime& time, std::vector<std::uint8_t>& image) {
  image.insert(image.end(), {ToBcd(time.hour), ToBcd(time.minute), ToBcd(time.second)});
}

void AppendHeader(const FlashRecordDescription& record, std::vector<std::uint8_t>& image) {
  image.insert(image.end(), {0x00, 0x55, 0xAA, 0x00});
  AppendBigEndian(record.samples, 4, image);
  image.push_back(record.sampled_at_interval ? kIntervalFlag : 0);
  image.insert(image.end(), {Byte(record.main_freq_weighting), Byte(record.main_time_weighting),
                             Byte(static_cast<int>(record.mode)), Byte(record.range_top), 0});
  AppendBcdDate(record.start, image);
  AppendBcdTimeOfDay(record.start, image);
  AppendPlainTime(record.interval, image);
  AppendPlainTime(record.period, image);
  image.insert(image.end(), {Byte(record.sub_freq_weighting), Byte(record.sub_time_weighting), 0});
  AppendPlainTime(record.integration_time, image);
  image.insert(image.end(), {0, Byte(record.trigger_mode), Byte(record.trigger_band),
                             Byte(record.trigger_level)});
  AppendPlainTime(record.trigger_time, image);
}

std::chrono::seconds Seconds(const HoursMinutesSeconds& time) {
  return std::chrono::seconds{time.hours * 3600 + time.minutes * 60 + time.seconds};
}

}  // namespace

std::size_t FlashSampleSize(LoggedMode mode, int trigger_mode) {
  return (trigger_mode == kTimeStampedTriggerMode ? kTimeStampBytes : 0) + 2 * ValueCount(mode);
}

std::size_t FlashRecordLength(const FlashRecordDescription& record) {
  return kFlashHeaderLength + record.samples * FlashSampleSize(record.mode, record.trigger_mode);
}

void AppendFlashRecord(const FlashRecordDescription& record, std::vector<std::uint8_t>& image) {
  image.reserve(image.size() + FlashRecordLength(record));
  AppendHeader(record, image);
  const bool time_stamped = record.trigger_mode == kTimeStampedTriggerMode;
  const auto start =
      TimePointOf(record.start)
          .value_or(std::chrono::sys_days{std::chrono::year{2000} / std::chrono::January / 1});
  const auto step = Seconds(record.sampled_at_interval ? record.interval : record.integration_time);
  LoggedLevels levels(record.seed);
  for (std::uint32_t sample = 1; sample <= record.samples; ++sample) {
    if (time_stamped) {
      const CalendarTime stamp = CalendarTimeAt(start + sample * step);
      AppendBcdDate(stamp, image);
      AppendBcdTimeOfDay(stamp, image);
    }
    for (const int tenths : levels.Next(record.mode)) {
      AppendBigEndian(static_cast<std::uint32_t>(tenths), 2, image);
    }
  }
}

}  // namespace halvane
