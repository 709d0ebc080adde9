#pragma once
// Record files of every mode laid out by the record file writer, for the graph tests.

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "records/record_file_layout.h"

namespace halvane::test {

// The level text of record r (from 1) in level column c (from 1).
using LevelText = std::function<std::string(std::size_t record, std::size_t column)>;

// Each cell tells where it stands: record 2, column 13 reads "2.13".
inline std::string WhereText(std::size_t record, std::size_t column) {
  return std::to_string(record) + "." + std::to_string(column);
}

// A record file of `mode` whose line 10 states `stated` records and which holds `held` record
// lines, range 40 - 130, weightings A F (main) and C S (sub). It starts two seconds before
// midnight, with one record a second: record 2 is the first of the next day.
inline std::string RecordFile(RecordMode mode, std::uint64_t stated, std::size_t held,
                              const LevelText& level = WhereText, std::string range_top = "130") {
  // Built whole rather than field by field: GCC 12 at -O3 misreads the assignments of short
  // literals, once inlined here, as overlapping copies (-Wrestrict).
  const RecordFileHeader header{.start_time = "2013/08/09 23:59:58",
                                .time_line = "Integrated Time : 00:00:01",
                                .period = "00:10:00",
                                .main_freq_weighting = "A",
                                .main_time_weighting = "F",
                                .sub_freq_weighting = "C",
                                .sub_time_weighting = "S",
                                .mode_name = std::string(RecordModeName(mode)),
                                .range_bottom = "40",
                                .range_top = std::move(range_top),
                                .record_count = stated,
                                .trigger_mode = "OFF",
                                .trigger_line_1 = "",
                                .trigger_line_2 = ""};
  RecordFileText file;
  file.AddOpeningLines(header);
  file.AddSetLines(header);
  file.AddTableHead(mode);
  for (std::size_t record = 1; record <= held; ++record) {
    std::vector<std::string> levels;
    for (std::size_t column = 1; column <= LevelColumnCount(mode); ++column) {
      levels.push_back(level(record, column));
    }
    const std::size_t second = (86398 + record) % 86400;
    char time[16];
    std::snprintf(time, sizeof time, "%02zu:%02zu:%02zu", second / 3600 % 24, second / 60 % 60,
                  second % 60);
    file.AddRecordLine(record, std::string(9, ' ') + time, levels);
  }
  return file.Take();
}

}  // namespace halvane::test
