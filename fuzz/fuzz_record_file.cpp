// Feeds arbitrary bytes as a record file through the header reader, the item reader with the
// CSV export and span statistics of one item, and the bar graph's record reader and drawing.
// The last byte picks the item, the record and the band cursor, so that an input costs what a
// user's choice costs: one pass over the file for each reader.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "graphs/bar_graph.h"
#include "graphs/item_csv.h"
#include "graphs/span_statistics.h"
#include "records/plot_selection.h"
#include "records/record_file_reader.h"
#include "text/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const std::uint8_t pick = data[size - 1];
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::istringstream in(text);
  const halvane::RecordFileReader reader(in);
  if (!reader.Header()) {
    return 0;
  }
  const halvane::RecordFileInfo& info = *reader.Header();
  const halvane::RecordMode mode = halvane::ItemListMode(info.RecordMode);
  if (const auto field = halvane::ItemField(mode, pick % halvane::ItemEntries(mode).size())) {
    std::istringstream items(text);
    const halvane::ItemColumn column = halvane::ReadItemColumn(items, *field, info.RecordCount);
    halvane::ItemCsvText("item", column.values,
                         halvane::RecordDateTimes(info.start_time, column.date_times));
    std::vector<std::optional<double>> levels;
    for (const std::string& value : column.values) {
      levels.push_back(halvane::ReadWholeNumber(value));
    }
    halvane::ComputeSpanStatistics(levels, 1, static_cast<std::int64_t>(levels.size()), true);
  }
  halvane::Canvas canvas(halvane::kBarGraphWidthUnits, halvane::kBarGraphHeightUnits);
  std::istringstream lines(text);
  const auto fields = halvane::ReadRecordFields(lines, pick % 4);
  halvane::DrawBarGraph(canvas, info, fields ? &*fields : nullptr, pick % 34);
  return 0;
}
