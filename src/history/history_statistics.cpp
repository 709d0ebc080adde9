#include "history/history_statistics.h"

#include <cmath>
#include <limits>

namespace halvane {

namespace {

double Db(TenthsDb level) {
  return level / 10.0;
}

// The level exceeded by `percent` of the `total` counted readings: nearest rank from the top,
// as the cursor graph's span statistics take it.
double Exceeded(const std::vector<std::uint32_t>& counts, TenthsDb highest, std::size_t total,
                double percent) {
  const double rank = std::max(1.0, std::ceil(percent / 100.0 * static_cast<double>(total)));
  double seen = 0;
  for (std::size_t level = std::size_t{highest} + 1; level-- > 0;) {
    seen += counts[level];
    if (seen >= rank) {
      return Db(static_cast<TenthsDb>(level));
    }
  }
  return 0;
}

}  // namespace

LevelTally::LevelTally() : counts_(std::numeric_limits<TenthsDb>::max() + 1) {}

void LevelTally::Add(const HistorySample& sample, HistoryChannel channel) {
  if (!sample.measuring) {
    return;
  }
  const TenthsDb level = sample.levels[static_cast<std::size_t>(channel)];
  if (level == kNoLevel) {
    ++left_out_;
    return;
  }
  ++counts_[level];
  ++numbered_;
  lowest_ = std::min(lowest_, level);
  highest_ = std::max(highest_, level);
}

SpanStatistics LevelTally::Statistics() const {
  SpanStatistics statistics;
  statistics.records = numbered_ + left_out_;
  statistics.left_out = left_out_;
  if (numbered_ == 0) {
    return statistics;
  }
  double energy = 0;
  for (std::size_t level = lowest_; level <= highest_; ++level) {
    if (counts_[level] != 0) {
      energy += counts_[level] * std::pow(10.0, Db(static_cast<TenthsDb>(level)) / 10.0);
    }
  }
  statistics.leq = 10.0 * std::log10(energy / static_cast<double>(numbered_));
  statistics.lmax = Exceeded(counts_, highest_, numbered_, 0);
  statistics.lmin = Exceeded(counts_, highest_, numbered_, 100);
  statistics.l10 = Exceeded(counts_, highest_, numbered_, 10);
  statistics.l50 = Exceeded(counts_, highest_, numbered_, 50);
  statistics.l90 = Exceeded(counts_, highest_, numbered_, 90);
  return statistics;
}

HistoryStatistics ComputeHistoryStatistics(const LevelHistory& history, HistoryChannel channel,
                                           std::int64_t from_ms, std::int64_t to_ms) {
  HistoryStatistics statistics;
  LevelTally tally;
  history.ForEach(history.FirstAtOrAfter(from_ms), history.FirstAtOrAfter(to_ms),
                  [&](const HistorySample& sample, double seconds) {
                    tally.Add(sample, channel);
                    if (sample.Level(channel)) {
                      statistics.covered_seconds += seconds;
                    }
                  });
  statistics.levels = tally.Statistics();
  return statistics;
}

void RunningStatistics::Add(const HistorySample& sample, HistoryChannel channel) {
  if (numbered_since_ms_) {
    const std::int64_t step = sample.pc_time_ms - *numbered_since_ms_;
    covered_seconds_ += static_cast<double>(std::min(step, LevelHistory::kLongestStepMs)) / 1000.0;
  }
  tally_.Add(sample, channel);
  numbered_since_ms_.reset();
  if (sample.Level(channel)) {
    numbered_since_ms_ = sample.pc_time_ms;
  }
}

HistoryStatistics RunningStatistics::Current() const {
  HistoryStatistics statistics;
  statistics.levels = tally_.Statistics();
  statistics.covered_seconds =
      covered_seconds_ +
      (numbered_since_ms_ ? static_cast<double>(LevelHistory::kPollMs) / 1000.0 : 0.0);
  return statistics;
}

LimitExceedances FindLimitExceedances(const LevelHistory& history, HistoryChannel channel,
                                      std::int64_t from_ms, std::int64_t to_ms, double limit_db) {
  LimitExceedances exceedances;
  bool above = false;
  history.ForEach(history.FirstAtOrAfter(from_ms), history.FirstAtOrAfter(to_ms),
                  [&](const HistorySample& sample, double seconds) {
                    const std::optional<TenthsDb> level = sample.Level(channel);
                    const bool now_above = level && Db(*level) > limit_db;
                    if (now_above && !above) {
                      ++exceedances.count;
                      exceedances.last_crossing_ms = sample.pc_time_ms;
                    }
                    if (now_above) {
                      exceedances.seconds += seconds;
                    }
                    above = now_above;
                  });
  return exceedances;
}

}  // namespace halvane
