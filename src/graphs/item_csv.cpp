#include "graphs/item_csv.h"

#include <charconv>
#include <cmath>

#include "records/csv_cell.h"
#include "text/number_text.h"

namespace halvane {

namespace {

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
                        std::span<const RecordTime> date_times) {
  std::string text = "Record,Date Time," + CsvCell(std::string(item_name) + " [dB]") + "\r\n";
  for (std::size_t index = 0; index < values.size(); ++index) {
    const std::string_view date_time =
        index < date_times.size() ? std::string_view(date_times[index].text) : std::string_view();
    text +=
        std::to_string(index + 1) + "," + CsvCell(date_time) + "," + Number(values[index]) + "\r\n";
  }
  return text;
}

std::string BandLevelsCsvText(std::uint64_t record, std::string_view date_time,
                              std::span<const BandLevel> levels) {
  const std::string record_cells = std::to_string(record) + "," + CsvCell(date_time) + ",";
  std::string text = "Record,Date Time,Band [Hz],Bandwidth,Level [dB]\r\n";
  for (const BandLevel& level : levels) {
    text += record_cells + CsvCell(level.band) + "," + std::string(level.bandwidth) + "," +
            Number(level.level) + "\r\n";
  }
  return text;
}

}  // namespace halvane
