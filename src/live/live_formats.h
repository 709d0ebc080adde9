#pragma once
// The line formats of `live`: JSON lines, CSV and the line protocol of time-series databases.
// Each line ends with a newline.

#include <filesystem>
#include <memory>
#include <string>

#include "live/line_log.h"
#include "live/live_fields.h"

namespace halvane {

enum class LiveFormat { JsonLines, Csv, Influx };

// What one poll adds to an output in `format`: its line, after the CSV header when the output
// holds nothing yet. Absent values are null in JSON, empty in CSV and left out of the line
// protocol. The line protocol's tags are the text values but the meter's clock; its time stamp
// is the PC's.
std::string LiveOutputLines(LiveFormat format, const LiveSample& sample, bool output_empty);

// `path` opened to append lines of `format`; null, with the reason in `error`, when it cannot be
// opened or already holds lines of another format (another CSV header, say), which the new
// lines would make unreadable.
std::unique_ptr<LineLog> OpenLiveLog(const std::filesystem::path& path, LiveFormat format,
                                     std::string& error);

// Lines of any named values, as the live lines are written: a JSON object, a CSV row and the
// CSV header of the names.
std::string JsonLine(const std::vector<LiveField>& fields);
std::string CsvLine(const std::vector<LiveField>& fields);
std::string CsvHeaderLine(const std::vector<LiveField>& fields);

}  // namespace halvane
