// Feeds arbitrary bytes as a record file through the header reader, the item reader of every
// list entry and the bar graph's record reader and drawing.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "control/typed_number.h"
#include "graphs/bar_graph.h"
#include "graphs/item_csv.h"
#include "graphs/span_statistics.h"
#include "records/plot_selection.h"
#include "records/record_file_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::istringstream in(text);
  const halvane::RecordFileReader reader(in);
  if (!reader.Header()) {
    return 0;
  }
  const halvane::RecordFileInfo& info = *reader.Header();
  const halvane::RecordMode mode = halvane::ItemListMode(info.RecordMode);
  for (std::size_t position = 0; position < halvane::ItemEntries(mode).size(); ++position) {
    const auto field = halvane::ItemField(mode, position);
    if (!field) {
      continue;
    }
    std::istringstream items(text);
    const halvane::ItemColumn column = halvane::ReadItemColumn(items, *field, info.RecordCount);
    halvane::ItemCsvText("item", column.values, column.date_times);
    std::vector<std::optional<double>> levels;
    for (const std::string& value : column.values) {
      levels.push_back(halvane::ReadWholeNumber(value));
    }
    halvane::ComputeSpanStatistics(levels, 1, static_cast<std::int64_t>(levels.size()), true);
  }
  halvane::Canvas canvas(halvane::kBarGraphWidthUnits, halvane::kBarGraphHeightUnits);
  for (const std::int64_t record : {std::int64_t{0}, std::int64_t{1}, std::int64_t{3}}) {
    std::istringstream lines(text);
    const auto fields = halvane::ReadRecordFields(lines, record);
    for (const int cursor : {0, 4, 32}) {
      halvane::DrawBarGraph(canvas, info, fields ? &*fields : nullptr, cursor);
    }
  }
  return 0;
}
