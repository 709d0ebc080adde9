#include "graphs/cursor_readout.h"

#include <charconv>
#include <cmath>

namespace halvane {

namespace {

std::string Tenths(double value, bool sign) {
  char digits[32];
  const auto end =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 1);
  const std::string text(digits, end.ptr);
  return sign && value >= 0 ? "+" + text : text;
}

std::string Record(double record) {
  return std::to_string(std::llround(record));
}

// The time of `record` (from 1), when the file gives it one.
const RecordTime* TimeOf(std::span<const RecordTime> times, double record) {
  const long long index = std::llround(record) - 1;
  if (index < 0 || index >= static_cast<long long>(times.size()) ||
      !times[static_cast<std::size_t>(index)].seconds) {
    return nullptr;
  }
  return &times[static_cast<std::size_t>(index)];
}

}  // namespace

std::string SecondCursorText(CursorAt cursor) {
  return "No.s " + Record(cursor.record) + "   dB " + Tenths(cursor.level, false);
}

std::string BetweenCursorsText(CursorAt first, CursorAt second, std::span<const RecordTime> times) {
  const long long records = std::llround(second.record) - std::llround(first.record);
  std::string text = "2 - 1: " + std::to_string(records) +
                     (records == 1 || records == -1 ? " record, " : " records, ");
  const RecordTime* from = TimeOf(times, first.record);
  const RecordTime* to = TimeOf(times, second.record);
  if (from != nullptr && to != nullptr) {
    text += DurationText(*to->seconds - *from->seconds) + ", ";
  }
  return text + Tenths(second.level - first.level, true) + " dB";
}

std::string GraphTitle(std::string_view item, std::string_view file_name,
                       std::span<const RecordTime> times) {
  std::string title = std::string(item) + " of " + std::string(file_name);
  if (times.empty()) {
    return title + ": no records";
  }
  title += ": records 1 to " + std::to_string(times.size());
  if (times.front().seconds && times.back().seconds) {
    title += ", " + times.front().text + " to " + times.back().text;
  }
  return title;
}

}  // namespace halvane
