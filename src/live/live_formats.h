#pragma once
// The line formats of `live`: JSON lines, CSV and the line protocol of time-series databases.
// Each line ends with a newline.

#include <string>

#include "live/live_fields.h"

namespace halvane {

enum class LiveFormat { JsonLines, Csv, Influx };

// What one poll adds to an output in `format`: its line, after the CSV header when the output
// holds nothing yet. Absent values are null in JSON, empty in CSV and left out of the line
// protocol. The line protocol's tags are the text values but the meter's clock; its time stamp
// is the PC's.
std::string LiveOutputLines(LiveFormat format, const LiveSample& sample, bool output_empty);

// Lines of any named values, as the live lines are written: a JSON object, a CSV row and the
// CSV header of the names.
std::string JsonLine(const std::vector<LiveField>& fields);
std::string CsvLine(const std::vector<LiveField>& fields);
std::string CsvHeaderLine(const std::vector<LiveField>& fields);

}  // namespace halvane
