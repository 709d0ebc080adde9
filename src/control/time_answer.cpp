#include "control/time_answer.h"

#include <algorithm>

#include "text/number_text.h"

namespace halvane {

namespace {

std::optional<int> ReadField(std::string_view field, double limit) {
  if (field.find('-') != std::string_view::npos) {
    return std::nullopt;
  }
  const double value = std::min(ReadNumber(field), limit);
  return static_cast<int>(RoundHalfEven(value));
}

}  // namespace

std::optional<TimeFields> ParseTimeAnswer(std::string_view answer) {
  const std::size_t first = answer.find(':');
  if (first == std::string_view::npos) {
    return std::nullopt;
  }
  const std::size_t second = answer.find(':', first + 1);
  if (second == std::string_view::npos) {
    return std::nullopt;
  }
  const auto hours = ReadField(answer.substr(0, first), 23);
  const auto minutes = ReadField(answer.substr(first + 1, second - first - 1), 59);
  const auto seconds = ReadField(answer.substr(second + 1, 2), 59);
  if (!hours || !minutes || !seconds) {
    return std::nullopt;
  }
  return TimeFields{*hours, *minutes, *seconds};
}

std::string TimeDefaultText(int hours, int minutes, int seconds) {
  return TwoDigitDecimal(hours) + ":" + TwoDigitDecimal(minutes) + ":" + TwoDigitDecimal(seconds);
}

}  // namespace halvane
