#pragma once
// The statistics of one channel per period of the clock (a minute, a quarter, an hour): Leq,
// Lmax, Lmin and the levels exceeded for 5 to 95 % of the time, from the time-weighted levels
// only, each reading weighted by the time it stands for. A period that crosses a change of
// what the channel shows is split at the change; the time without readings is counted as
// missing.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "acoustics/channel_level.h"
#include "acoustics/level_statistics.h"
#include "acoustics/level_tally.h"
#include "acoustics/local_calendar.h"

namespace halvane {

struct PeriodResult {
  std::string channel;
  WallMs period_ms = 0;  // the length of the clock period
  WallMs start_ms = 0;   // the part of the period this result covers: all of it, or up to or
  WallMs end_ms = 0;     // from a change of quantity, or up to the end of the run
  std::string quantity;
  std::string note;            // why there are no statistics; empty when there are
  LevelStatistics statistics;  // of the Lp readings, weighted by the time each stands for
  std::int64_t samples = 0;
  WallMs covered_ms = 0;
  WallMs missing_ms = 0;
};

class PeriodAccumulator {
 public:
  // `owed_from_ms`: where the results given before end. The results go on from there, with the
  // periods up to the first reading empty, unless that is more than a day before it.
  PeriodAccumulator(std::string channel, WallMs period_ms,
                    std::optional<WallMs> owed_from_ms = std::nullopt);

  // A reading of the channel that stands for [from, to); readings come in time order.
  void Add(WallMs from, WallMs to, const ChannelLevel& level, std::vector<PeriodResult>& done);
  // The clock has reached `now`: the periods that ended by then are done, with or without
  // readings.
  void Advance(WallMs now, std::vector<PeriodResult>& done);
  // Ends the open period at `now`, as the run ends.
  void Close(WallMs now, std::vector<PeriodResult>& done);
  // The open period as it stands at `now`, for a table of the day so far.
  std::optional<PeriodResult> SoFar(WallMs now) const;

 private:
  struct Segment {
    WallMs start_ms = 0;
    ChannelLevel shows;  // its quantity; the level is not used
    LevelTally levels;
    std::int64_t samples = 0;
    WallMs covered_ms = 0;
  };
  PeriodResult ResultUpTo(WallMs end_ms) const;
  void Finish(WallMs end_ms, std::vector<PeriodResult>& done);
  void AddPart(WallMs from, WallMs to, const ChannelLevel& level, bool counts_sample);

  std::string channel_;
  WallMs period_ms_;
  std::optional<WallMs> owed_from_ms_;
  std::optional<Segment> open_;
  WallMs period_end_ = 0;  // of the open segment's period
};

}  // namespace halvane
