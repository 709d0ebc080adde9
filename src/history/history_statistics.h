#pragma once
// Statistics of the 160 ms readings on the PC over a span of the history and since the window
// opened, each of one quantity only, and the exceedances of a limit level.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "acoustics/level_tally.h"
#include "history/level_history.h"

namespace halvane {

// The statistics of one channel's readings of one quantity.
struct HistoryStatistics {
  std::optional<ChannelQuantity> quantity;  // what the figures are of; none before a reading
  bool mixed = false;          // readings of other quantities were there and are left out
  std::size_t readings = 0;    // of `quantity`; gaps are not readings
  std::size_t left_out = 0;    // of them, those that showed "---.-"
  double covered_seconds = 0;  // the time the readings with a number stand for
  LevelStatistics levels;      // Leq and L_N only where the quantity is a sound level
};

// The readings of one quantity: their levels with the time each stands for, and the "---.-".
class QuantityTally {
 public:
  void Add(TenthsDb level, std::int64_t step_ms);
  void Remove(TenthsDb level, std::int64_t step_ms);
  HistoryStatistics Statistics(const ChannelQuantity& quantity, bool mixed) const;

 private:
  LevelTally levels_;
  std::size_t left_out_ = 0;
};

// The statistics of both channels over a span, by HistoryChannel, of the quantity each shows at
// the span's end, kept from one call to the next: the samples that enter the span are added and
// those that leave it are taken back, so following the newest sample costs the same for a span
// of a minute as for the whole day.
class SpanStatisticsTracker {
 public:
  // To be called before each append: a full history drops its oldest sample, which leaves the
  // span before it is gone. Without the call the next span is counted afresh.
  void BeforeAppend(const LevelHistory& history);
  std::array<HistoryStatistics, 2> Compute(const LevelHistory& history, std::int64_t from_ms,
                                           std::int64_t to_ms);

 private:
  struct Channel {
    std::optional<ChannelQuantity> quantity;
    QuantityTally tally;
    std::size_t others = 0;  // readings of other quantities
  };
  // Samples [from, to) by number into the tallies or out of them.
  void Change(const LevelHistory& history, std::uint64_t from, std::uint64_t to, bool in);

  std::array<Channel, 2> channels_;
  // The samples counted, by number: [first_, end_). Never the newest held, since the time it
  // stands for is known only once the next comes; Compute counts it for the moment.
  std::uint64_t first_ = 0;
  std::uint64_t end_ = 0;
};

// The statistics of every reading since the window opened, however long ago, of each quantity
// apart.
class SinceOpeningStatistics {
 public:
  // To be called after each append.
  void Add(const LevelHistory& history);
  // Of the quantity `channel` showed last.
  HistoryStatistics Current(HistoryChannel channel) const;

 private:
  struct Quantity {
    ChannelQuantity quantity;
    QuantityTally tally;
  };
  // Where a reading went: the quantity's index and its level by channel. The newest stands for
  // one poll until the next comes.
  struct Counted {
    std::array<std::size_t, 2> quantity;
    std::array<TenthsDb, 2> levels;
    std::int64_t time_ms;
  };

  std::array<std::vector<Quantity>, 2> quantities_;
  std::optional<Counted> newest_;
  std::array<std::optional<std::size_t>, 2> current_;
};

// Runs of consecutive readings of one quantity with a number above the limit level in a span.
struct LimitExceedances {
  std::size_t count = 0;
  double seconds = 0;
  std::optional<std::int64_t> last_crossing_wall_ms;  // when the latest run began
};

LimitExceedances FindLimitExceedances(const LevelHistory& history, HistoryChannel channel,
                                      const ChannelQuantity& quantity, std::int64_t from_ms,
                                      std::int64_t to_ms, double limit_db);

}  // namespace halvane
