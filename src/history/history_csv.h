#pragma once
// A span of the level history as comma-separated values: one row per poll with its PC time
// (UTC, ISO 8601 with milliseconds), and for each channel what was measured and its level.

#include <cstdint>
#include <string>

#include "history/level_history.h"

namespace halvane {

// A poll without an answer has empty cells after its time; a "---.-" reading an empty level.
// Numbers are written in the C locale; rows end with CR LF.
std::string HistoryCsvText(const LevelHistory& history, std::int64_t from_ms, std::int64_t to_ms);

}  // namespace halvane
