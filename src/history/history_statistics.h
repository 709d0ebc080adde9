#pragma once
// Statistics of the 160 ms readings on the PC over a span of the history, since the window
// opened, and the exceedances of a limit level.

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "graphs/span_statistics.h"
#include "history/level_history.h"

namespace halvane {

// `levels.records` counts the readings (gaps are not readings); `levels.left_out` those that
// showed "---.-". `covered_seconds` is the time the readings with a number stand for.
struct HistoryStatistics {
  SpanStatistics levels;
  double covered_seconds = 0;
};

// The levels of readings counted in tenths of a dB: adding one costs the same however many
// there are, and the statistics come from the counts without sorting, so that a span of a
// whole day or every reading since opening stays cheap.
class LevelTally {
 public:
  LevelTally();
  void Add(const HistorySample& sample, HistoryChannel channel);
  // A reading's level, kNoLevel for one that showed "---.-"; Remove takes one back.
  void Add(TenthsDb level);
  void Remove(TenthsDb level);
  SpanStatistics Statistics() const;

 private:
  std::vector<std::uint32_t> counts_;  // by level in tenths of a dB
  std::size_t numbered_ = 0;
  std::size_t left_out_ = 0;
  // Bounds of the levels counted, so that the statistics walk only that part of the counts;
  // a level taken back may leave them wider than they need be.
  TenthsDb lowest_ = std::numeric_limits<TenthsDb>::max();
  TenthsDb highest_ = 0;
};

// The statistics of both channels over a span, by HistoryChannel, kept from one call to the
// next: the samples that enter the span are added and those that leave it are taken back, so
// following the newest sample costs the same for a span of a minute as for the whole day.
class SpanStatisticsTracker {
 public:
  // To be called before each append: a full history drops its oldest sample, which leaves the
  // span before it is gone. Without the call the next span is counted afresh.
  void BeforeAppend(const LevelHistory& history);
  std::array<HistoryStatistics, 2> Compute(const LevelHistory& history, std::int64_t from_ms,
                                           std::int64_t to_ms);

 private:
  // Sample `number` in or out of the tallies, and the time it stands for in or out of the
  // covered time (the newest sample of the span is covered only when the span is computed).
  void Tally(const LevelHistory& history, std::uint64_t number, bool in);
  void Cover(const LevelHistory& history, std::uint64_t number, bool in);
  // The span's oldest sample out of it.
  void DropFirst(const LevelHistory& history);

  std::array<LevelTally, 2> tallies_;
  std::array<std::int64_t, 2> covered_ms_{};  // by every sample in the span but the newest
  std::uint64_t first_ = 0;                   // the span's sample numbers: [first_, end_)
  std::uint64_t end_ = 0;
};

// The statistics of every reading of one channel since it was created, however long ago.
class RunningStatistics {
 public:
  void Add(const HistorySample& sample, HistoryChannel channel);
  HistoryStatistics Current() const;

 private:
  LevelTally tally_;
  double covered_seconds_ = 0;
  std::optional<std::int64_t> numbered_since_ms_;  // the latest reading, when it had a number
};

// Runs of consecutive readings with a number above the limit level in a span.
struct LimitExceedances {
  std::size_t count = 0;
  double seconds = 0;
  std::optional<std::int64_t> last_crossing_ms;  // when the latest run began
};

LimitExceedances FindLimitExceedances(const LevelHistory& history, HistoryChannel channel,
                                      std::int64_t from_ms, std::int64_t to_ms, double limit_db);

}  // namespace halvane
