#include "sim/sd_set_text.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

namespace halvane {

namespace {

constexpr std::size_t kFixedHeaderLength = 824;
constexpr std::size_t kHeaderPerBand = 14;
constexpr std::size_t kRecordTimeWidth = 8;
constexpr std::size_t kValueWidth = 5;
constexpr std::size_t kValueStride = kValueWidth + 1;  // each value is followed by a space
constexpr std::size_t kFirstValuePosition = 10;
constexpr int kSecondsPerDay = 24 * 3600;

// Writes `value` at character `position` (from 1) into a field of `width` characters: cut to the
// width, padded with spaces.
void PutField(std::string& text, std::size_t position, std::size_t width, std::string_view value) {
  std::string field(width, ' ');
  field.replace(0, std::min(width, value.size()), value.substr(0, width));
  text.replace(position - 1, width, field);
}

// Writes a label so that it ends just before the field at `field_position`.
void PutLabel(std::string& text, std::size_t field_position, std::string_view label) {
  text.replace(field_position - 1 - label.size(), label.size(), label);
}

std::string ThreeDigits(int number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%3d", number);
  return digits;
}

std::string TimeOfDay(int seconds) {
  const int of_day = (seconds % kSecondsPerDay + kSecondsPerDay) % kSecondsPerDay;
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", of_day / 3600, of_day / 60 % 60, of_day % 60);
  return text;
}

// The seconds of an "hh:mm:ss" text; nothing when it is no such text.
std::optional<int> SecondsOf(std::string_view text) {
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
  char tail = 0;
  const std::string copy(text);
  if (std::sscanf(copy.c_str(), "%2d:%2d:%2d%c", &hours, &minutes, &seconds, &tail) != 3) {
    return std::nullopt;
  }
  return hours * 3600 + minutes * 60 + seconds;
}

std::string_view ModeText(LoggedMode mode) {
  constexpr std::array<std::string_view, 4> kModeTexts{"SLM", "1/1 Octave", "1/3 Octave",
                                                       "1/1 & 1/3 Octave"};
  return kModeTexts[static_cast<std::size_t>(mode)];
}

std::string_view TriggerModeText(SdTrigger trigger) {
  constexpr std::array<std::string_view, 4> kTriggerTexts{"OFF", "EXT", "Level", "Time"};
  return kTriggerTexts[static_cast<std::size_t>(trigger)];
}

std::string Header(const SdSetDescription& set, std::size_t length_field) {
  std::string header(SdSetHeaderLength(set.mode), ' ');
  for (std::size_t byte = 0; byte < 4; ++byte) {
    header[byte] = static_cast<char>((length_field >> (8 * (3 - byte))) & 0xFF);
  }
  PutField(header, 5, 22, "SOUND LEVEL METER DATA");
  PutLabel(header, 66, "Start Time : ");
  PutField(header, 66, 10, set.start_date);
  PutField(header, 77, 8, set.start_time);
  PutLabel(header, 107, "Frequency Weighting : ");
  PutField(header, 107, 1, std::string(1, set.weightings[0]));
  PutLabel(header, 130, "Time Weighting : ");
  PutField(header, 130, 1, std::string(1, set.weightings[1]));
  PutLabel(header, 152, "Sub Freq Weighting : ");
  PutField(header, 152, 1, std::string(1, set.weightings[2]));
  PutLabel(header, 174, "Sub Time Weighting : ");
  PutField(header, 174, 1, std::string(1, set.weightings[3]));
  PutLabel(header, 217, "Range : ");
  PutField(header, 217, 3, ThreeDigits(set.range_bottom));
  PutField(header, 220, 4, " to ");
  PutField(header, 224, 3, ThreeDigits(set.range_top));
  PutField(header, 227, 3, " dB");
  PutLabel(header, 244, "Mode : ");
  PutField(header, 244, 16, ModeText(set.mode));
  // The fifth character of the label, at 267, is the "g" of "Integrated" or the "r" of "Interval".
  PutField(header, 263, 17, set.integrated ? "Integrated Time: " : "Interval Time  : ");
  PutField(header, 280, 8, set.time);
  PutLabel(header, 307, "Period : ");
  PutField(header, 307, 8, set.period);
  PutLabel(header, 334, "Trigger Mode : ");
  PutField(header, 334, 15, TriggerModeText(set.trigger));
  if (set.trigger == SdTrigger::Level) {
    PutLabel(header, 368, "Trigger Level : ");
    PutField(header, 368, 8, set.trigger_level);
    PutLabel(header, 394, "Trigger Band : ");
    PutField(header, 394, 8, set.trigger_band);
  } else if (set.trigger == SdTrigger::Time) {
    PutLabel(header, 368, "Trigger Time : ");
    PutField(header, 368, 8, set.trigger_time);
  }
  PutField(header, kFixedHeaderLength - 1, 2, "\r\n");
  // One line per band of a record.
  for (std::size_t band = 1; band <= BandCount(set.mode); ++band) {
    char line[32];
    std::snprintf(line, sizeof line, "     Band %2zu\r\n", band);
    PutField(header, kFixedHeaderLength + 1 + (band - 1) * kHeaderPerBand, kHeaderPerBand, line);
  }
  return header;
}

// Where value number c (from 1) of a record lies: the ten main channel items are numbers 1 to
// 10, the sub channel's 11 to 20, the bands 21 on. `column` counts in the column order of
// LoggedLevels: main items, bands, sub items.
std::size_t ValuePosition(std::size_t column, std::size_t band_count) {
  std::size_t value_number = 0;
  if (column < 10) {
    value_number = column + 1;
  } else if (column < 10 + band_count) {
    value_number = 21 + (column - 10);
  } else {
    value_number = 11 + (column - 10 - band_count);
  }
  return kFirstValuePosition + (value_number - 1) * kValueStride;
}

void AppendRecord(const SdSetDescription& set, int time_of_day, const std::vector<int>& tenths,
                  std::string& text) {
  std::string record(SdSetRecordLength(set.mode), ' ');
  PutField(record, 1, kRecordTimeWidth, TimeOfDay(time_of_day));
  for (std::size_t column = 0; column < tenths.size(); ++column) {
    char value[16];
    std::snprintf(value, sizeof value, "%3d.%d", tenths[column] / 10, tenths[column] % 10);
    PutField(record, ValuePosition(column, BandCount(set.mode)), kValueWidth, value);
  }
  PutField(record, record.size() - 1, 2, "\r\n");
  text += record;
}

}  // namespace

std::size_t SdSetHeaderLength(LoggedMode mode) {
  return kFixedHeaderLength + kHeaderPerBand * BandCount(mode);
}

std::size_t SdSetRecordLength(LoggedMode mode) {
  return kRecordTimeWidth + 1 + kValueStride * ValueCount(mode) + 2;
}

std::size_t SdSetLengthField(std::string_view text) {
  std::size_t length = 0;
  for (std::size_t byte = 0; byte < 4; ++byte) {
    length = length * 256 + (byte < text.size() ? static_cast<unsigned char>(text[byte]) : 0u);
  }
  return length;
}

std::string ComposeSdSetText(const SdSetDescription& set) {
  const std::size_t records = static_cast<std::size_t>(std::max(set.records, 0));
  const std::size_t length = SdSetHeaderLength(set.mode) + records * SdSetRecordLength(set.mode);
  std::string text = Header(set, length - 2);
  text.reserve(length);
  const int start = SecondsOf(set.start_time).value_or(0);
  const int step = SecondsOf(set.time).value_or(1);
  LoggedLevels levels(set.seed);
  for (std::size_t record = 1; record <= records; ++record) {
    AppendRecord(set, start + static_cast<int>(record) * step, levels.Next(set.mode), text);
  }
  return text;
}

}  // namespace halvane
