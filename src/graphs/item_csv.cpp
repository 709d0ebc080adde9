#include "graphs/item_csv.h"

#include <charconv>
#include <cmath>

#include "text/number_text.h"

namespace halvane {

namespace {

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A cell quoted when it holds a comma, a quote or a line break, its quotes doubled.
std::string Cell(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    return std::string(text);
  }
  std::string quoted = "\"";
  for (char c : text) {
    quoted += c;
    if (c == '"') {
      quoted += '"';
    }
  }
  return quoted + "\"";
}

std::string Number(std::string_view text) {
  const std::optional<double> value = ReadWholeNumber(text);
  if (!value || !std::isfinite(*value)) {
    return {};
  }
  char digits[32];
  const auto result = std::to_chars(digits, digits + sizeof digits, *value);
  return std::string(digits, result.ptr);
}

}  // namespace

std::string ItemCsvText(std::string_view item_name, std::span<const std::string> values,
                        std::span<const std::string> date_times) {
  std::string text = "Record,Date Time," + Cell(std::string(item_name) + " [dB]") + "\r\n";
  for (std::size_t index = 0; index < values.size(); ++index) {
    const std::string_view date_time =
        index < date_times.size() ? std::string_view(date_times[index]) : std::string_view();
    text += std::to_string(index + 1) + "," + Cell(Trimmed(date_time)) + "," +
            Number(values[index]) + "\r\n";
  }
  return text;
}

}  // namespace halvane
