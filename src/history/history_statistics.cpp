#include "history/history_statistics.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace halvane {

namespace {

constexpr int kTenthsLevels = std::numeric_limits<TenthsDb>::max() + 1;


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

LevelTally::LevelTally() : counts_(kTenthsLevels) {}

void LevelTally::Add(const HistorySample& sample, HistoryChannel channel) {
  if (sample.measuring) {
    Add(sample.levels[static_cast<std::size_t>(channel)]);
  }
}

void LevelTally::Add(TenthsDb level) {
  if (level == kNoLevel) {
    ++left_out_;
    return;
  }
  ++counts_[level];
  ++numbered_;
  lowest_ = std::min(lowest_, level);
  highest_ = std::max(highest_, level);
}

void LevelTally::Remove(TenthsDb level) {
  if (level == kNoLevel) {
    --left_out_;
    return;
  }
  --counts_[level];
  --numbered_;
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

void SpanStatisticsTracker::Tally(const LevelHistory& history, std::uint64_t number, bool in) {
  const HistorySample& sample = history.Numbered(number);
  if (!sample.measuring) {
    return;
  }
  for (std::size_t channel = 0; channel < tallies_.size(); ++channel) {
    if (in) {
      tallies_[channel].Add(sample.levels[channel]);
    } else {
      tallies_[channel].Remove(sample.levels[channel]);
    }
  }
}

void SpanStatisticsTracker::Cover(const LevelHistory& history, std::uint64_t number, bool in) {
  const HistorySample& sample = history.Numbered(number);
  const std::int64_t step_ms = history.StepMs(number);
  for (std::size_t channel = 0; channel < covered_ms_.size(); ++channel) {
    if (sample.Level(static_cast<HistoryChannel>(channel))) {
      covered_ms_[channel] += in ? step_ms : -step_ms;
    }
  }
}

void SpanStatisticsTracker::BeforeAppend(const LevelHistory& history) {
  if (history.Size() == history.Capacity() && first_ == history.OldestNumber() && first_ < end_) {
    DropFirst(history);
  }
}

void SpanStatisticsTracker::DropFirst(const LevelHistory& history) {
  Tally(history, first_, false);
  if (first_ + 1 < end_) {
    Cover(history, first_, false);
  }
  ++first_;
}

std::array<HistoryStatistics, 2> SpanStatisticsTracker::Compute(const LevelHistory& history,
                                                                std::int64_t from_ms,
                                                                std::int64_t to_ms) {
  const std::uint64_t oldest = history.OldestNumber();
  const std::uint64_t first = oldest + history.FirstAtOrAfter(from_ms);
  const std::uint64_t end = std::max(first, oldest + history.FirstAtOrAfter(to_ms));
  const auto distance = [](std::uint64_t a, std::uint64_t b) { return a > b ? a - b : b - a; };
  const bool overlaps = first < end_ && first_ < end;
  if (first_ < oldest || end_ > history.EndNumber() || !overlaps ||
      distance(first, first_) + distance(end, end_) > end - first) {
    *this = SpanStatisticsTracker();
    first_ = end_ = first;
  }
  for (; end_ < end; ++end_) {
    if (end_ > first_) {
      Cover(history, end_ - 1, true);
    }
    Tally(history, end_, true);
  }
  while (first_ > first) {
    --first_;
    Tally(history, first_, true);
    if (first_ + 1 < end_) {
      Cover(history, first_, true);
    }
  }
  while (first_ < first) {
    DropFirst(history);
  }
  while (end_ > end) {
    --end_;
    Tally(history, end_, false);
    if (end_ > first_) {
      Cover(history, end_ - 1, false);
    }
  }
  std::array<HistoryStatistics, 2> statistics;
  for (std::size_t channel = 0; channel < tallies_.size(); ++channel) {
    std::int64_t covered_ms = covered_ms_[channel];
    if (end_ > first_ && history.Numbered(end_ - 1).Level(static_cast<HistoryChannel>(channel))) {
      covered_ms += history.StepMs(end_ - 1);
    }
    statistics[channel].levels = tallies_[channel].Statistics();
    statistics[channel].covered_seconds = static_cast<double>(covered_ms) / 1000.0;
  }
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
  // The lowest level above the limit, so that each sample costs one comparison of tenths.
  auto lowest_above =
      static_cast<int>(std::clamp(std::ceil(limit_db * 10), 0.0, double{kTenthsLevels}));
  while (lowest_above > 0 && Db(static_cast<TenthsDb>(lowest_above - 1)) > limit_db) {
    --lowest_above;
  }
  while (lowest_above < kTenthsLevels && !(Db(static_cast<TenthsDb>(lowest_above)) > limit_db)) {
    ++lowest_above;
  }
  LimitExceedances exceedances;
  std::int64_t above_ms = 0;
  bool above = false;
  history.ForEach(history.FirstAtOrAfter(from_ms), history.FirstAtOrAfter(to_ms),
                  [&](const HistorySample& sample, std::int64_t step_ms) {
                    const TenthsDb level = sample.levels[static_cast<std::size_t>(channel)];
                    const bool now_above =
                        sample.measuring && level != kNoLevel && level >= lowest_above;
                    if (now_above && !above) {
                      ++exceedances.count;
                      exceedances.last_crossing_ms = sample.pc_time_ms;
                    }
                    above_ms += now_above ? step_ms : 0;
                    above = now_above;
                  });
  exceedances.seconds = static_cast<double>(above_ms) / 1000.0;
  return exceedances;
}

}  // namespace halvane
