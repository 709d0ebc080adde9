#pragma once
// The names under which downloads are kept, the same in the window program and in halvane-cli:
// what was downloaded, its number and when it started, digits only.

#include <cstddef>
#include <string>
#include <string_view>

#include "records/logger_image.h"

namespace halvane {

// "record-007-20250114-093000.txt": flash record 7, started 2025/01/14 09:30:00.
std::string KeptRecordName(std::size_t number, const LoggerRecord& record);

// "set-002-20130809-102030.txt": SD set 2 of the last scan, whose header gives its start.
std::string KeptSetName(std::size_t number, std::string_view set_text, std::uint32_t set_length);

}  // namespace halvane
