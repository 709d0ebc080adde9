#pragma once
// One live poll as named values in a fixed order: the same names for every display mode, so a
// CSV keeps its columns and a JSON line its keys. A value the mode does not carry is absent.

#include <chrono>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "live/live_reply.h"

namespace halvane {

using LiveValue = std::variant<std::monostate, bool, std::int64_t, double, std::string>;

struct LiveField {
  std::string name;
  LiveValue value;
};

struct LiveSample {
  std::string pc_time;          // ISO 8601 with milliseconds, UTC
  std::int64_t pc_time_ns = 0;  // since 1970, UTC
  LiveReading reading;
};

// The sample of `reading` polled at PC time `time`.
LiveSample LiveSampleAt(std::chrono::system_clock::time_point time, const LiveReading& reading);

std::vector<LiveField> LiveFields(const LiveSample& sample);

}  // namespace halvane
