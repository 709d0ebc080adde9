#pragma once
// One poll of the meter as the level history keeps it: when it was made, whether the meter was
// measuring, the two plotted levels and what each is a level of.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "acoustics/tenths_db.h"
#include "live/live_reply.h"

namespace halvane {

// 0 is shown as "---.-" and has no number.
inline constexpr TenthsDb kNoLevel = 0;

enum class HistoryChannel { kMain = 0, kSub = 1 };

// A poll is read against two clocks: the monotonic clock orders the polls and measures
// durations, whatever happens to the PC's clock; the wall clock only labels them.
struct PollTime {
  std::int64_t monotonic_ms = 0;
  std::int64_t wall_ms = 0;  // milliseconds since the epoch
};
using PollClock = std::function<PollTime()>;
PollTime SystemPollTime();

// What one channel's plotted level is a level of; readings of two different quantities are
// never joined by a line or counted together.
struct ChannelQuantity {
  int display_mode = 0;
  std::string label;  // MainItemLabel, or the sub channel's Lp: "L" + its weighting letters
  // A time-weighted sound level (Lp, "LAF"): only its energy mean and L_N mean something, not
  // those of an Leq, LE, Lmax, Lmin or percentile item.
  bool sound_level = false;

  bool operator==(const ChannelQuantity&) const = default;
};

struct HistoryQuantity {
  std::array<ChannelQuantity, 2> channels;  // by HistoryChannel

  const ChannelQuantity& Of(HistoryChannel channel) const {
    return channels[static_cast<std::size_t>(channel)];
  }
  bool operator==(const HistoryQuantity&) const = default;
};

struct HistoryPoll {
  PollTime time;
  // False when the meter did not answer or was in "Non-Measurement Mode": a gap.
  bool measuring = false;
  bool answered = false;     // the meter answered the poll, measuring or not
  TenthsDb main = kNoLevel;  // the main channel's current value
  TenthsDb sub = kNoLevel;   // the sub channel's Lp
  HistoryQuantity quantity;
};

// The poll at `time` from the decoded reading, or a gap when there was none.
HistoryPoll HistoryPollFromReading(PollTime time, const LiveReading* reading);

}  // namespace halvane
