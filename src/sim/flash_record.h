#pragma once
// Composes records as the meter keeps them in its flash memory: a 39-byte header (signature
// 00 55 AA 00, sample count, flags, weightings, mode, range, start in packed BCD, times as plain
// hours, minutes and seconds, trigger) followed by the samples. A sample is a time stamp of six
// packed BCD bytes (yy mm dd hh mm ss) when the trigger mode is 2, then two bytes per value in
// the record file's column order: tenths of a dB, high byte first.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/calendar_time.h"
#include "sim/logged_levels.h"

namespace halvane {

// The size of the meter's flash area for records.
inline constexpr std::size_t kFlashCapacity = 1015807;
inline constexpr std::size_t kFlashHeaderLength = 39;

struct HoursMinutesSeconds {
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
};

struct FlashRecordDescription {
  LoggedMode mode = LoggedMode::Slm;
  bool sampled_at_interval = true;  // flags bit 1; false: integrated values
  // Frequency weighting codes 0 A, 1 C, 2 Z; time weighting codes 0 F, 1 S, 2 t, 3 I.
  int main_freq_weighting = 0;
  int main_time_weighting = 0;
  int sub_freq_weighting = 1;
  int sub_time_weighting = 1;
  int range_top = 130;
  CalendarTime start{.year = 2013, .month = 8, .day = 9, .hour = 10, .minute = 15, .second = 0};
  HoursMinutesSeconds interval{0, 0, 1};
  HoursMinutesSeconds period{0, 10, 0};
  HoursMinutesSeconds integration_time{0, 0, 1};
  // 0 off, 1 level 1, 2 level 2 (time-stamped samples), 3 external, 4 time.
  int trigger_mode = 0;
  int trigger_band = 17;  // 0 to 10 the octave bands, 11 to 44 the third-octave bands and AP
  int trigger_level = 85;
  HoursMinutesSeconds trigger_time{12, 0, 0};
  std::uint32_t samples = 10;
  std::uint32_t seed = 1;  // of the levels
};

// Bytes per sample: 6 time stamp bytes with trigger mode 2, then 2 per value.
std::size_t FlashSampleSize(LoggedMode mode, int trigger_mode);
// Header and samples.
std::size_t FlashRecordLength(const FlashRecordDescription& record);

// Appends the record's bytes to `image`. Sample r's time stamp is the start plus r steps, the
// step being the interval when sampled at an interval and the integration time otherwise;
// a start that is no real date and time counts from 2000-01-01 00:00:00.
void AppendFlashRecord(const FlashRecordDescription& record, std::vector<std::uint8_t>& image);

}  // namespace halvane
