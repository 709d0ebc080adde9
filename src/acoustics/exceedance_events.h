#pragma once
// Exceedances of a limit by one channel's Lp: each run of readings above the limit that lasts
// at least the minimum duration, with its Lmax and its sound exposure level
// SEL = Leq + 10 lg(T / 1 s). A gap or a change of quantity ends a run.

#include <optional>
#include <string>
#include <vector>

#include "acoustics/channel_level.h"
#include "acoustics/level_tally.h"
#include "acoustics/local_calendar.h"

namespace halvane {

struct ExceedanceEvent {
  std::string channel;
  std::string quantity;
  WallMs start_ms = 0;
  WallMs end_ms = 0;
  double leq = 0;
  double lmax = 0;
  double sel = 0;
};

struct EventLimit {
  double level_db = 0;
  WallMs min_duration_ms = 0;
};

class EventDetector {
 public:
  EventDetector(std::string channel, EventLimit limit);

  // A reading that stands for [from, to); readings come in time order.
  void Add(WallMs from, WallMs to, const ChannelLevel& level, std::vector<ExceedanceEvent>& done);
  // Ends a run under way: a gap, or the end of the run of the program.
  void Interrupt(std::vector<ExceedanceEvent>& done);

 private:
  struct Run {
    std::string quantity;
    WallMs start_ms = 0;
    WallMs end_ms = 0;
    LevelTally levels;
  };

  std::string channel_;
  EventLimit limit_;
  std::optional<Run> run_;
};

}  // namespace halvane
