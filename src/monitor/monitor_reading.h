#pragma once
// What one answered poll gives the monitor's statistics: the time-weighted level of each
// channel where the meter shows one, and the band levels of the octave screens.
// Of the sound level meter screen only two values are an Lp: the sub list's first entry, the
// sub channel's Lp whatever item is shown, and the main channel's current value while its
// item is Lp. The octave screens show the levels of their bands.

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "acoustics/channel_level.h"
#include "acoustics/local_calendar.h"
#include "live/live_fields.h"

namespace halvane {

inline constexpr std::array<const char*, 2> kChannelNames{"main", "sub"};

struct MonitorReading {
  WallMs time_ms = 0;
  std::array<ChannelLevel, 2> channels;  // main, sub
  // The bands the screen shows, by their live field names ("oct_1k", "third_1.25k").
  std::vector<std::pair<std::string, ChannelLevel>> bands;
};

MonitorReading MonitorReadingOf(const LiveSample& sample);

}  // namespace halvane
