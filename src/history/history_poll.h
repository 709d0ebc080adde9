#pragma once
// One poll of the meter as the level history keeps it: the PC time, whether the meter was
// measuring, the two plotted levels and what they were a level of.

#include <cstdint>
#include <string>

#include "live/live_reply.h"

namespace halvane {

// A level in tenths of a dB as the meter sends it; 0 is shown as "---.-" and has no number.
using TenthsDb = std::uint16_t;
constexpr double Db(TenthsDb level) {
  return level / 10.0;
}
inline constexpr TenthsDb kNoLevel = 0;

// What the plotted levels mean; a change of any of it is marked on the time axis.
struct HistoryQuantity {
  int display_mode = 0;
  std::string main_label;  // MainItemLabel
  std::string sub_label;   // the sub channel's Lp: "L" + its weighting letters

  bool operator==(const HistoryQuantity&) const = default;
};

struct HistoryPoll {
  std::int64_t pc_time_ms = 0;  // milliseconds since the epoch
  // False when the meter did not answer or was in "Non-Measurement Mode": a gap.
  bool measuring = false;
  TenthsDb main = kNoLevel;  // the main channel's current value
  TenthsDb sub = kNoLevel;   // the sub channel's Lp
  HistoryQuantity quantity;
};

// The poll at `pc_time_ms` from the decoded reply, or a gap when there was none.
HistoryPoll HistoryPollFromReading(std::int64_t pc_time_ms, const LiveReading* reading);

}  // namespace halvane
