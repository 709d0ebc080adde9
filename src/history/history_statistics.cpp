#include "history/history_statistics.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace halvane {

namespace {

constexpr std::size_t kChannels = 2;
constexpr int kTenthsLevels = std::numeric_limits<TenthsDb>::max() + 1;

// What each channel shows at the span that ends before sample `end`: the quantity of the
// segment of the span's last sample.
std::array<std::optional<ChannelQuantity>, kChannels> ShownQuantities(const LevelHistory& history,
                                                                      std::uint64_t end) {
  std::array<std::optional<ChannelQuantity>, kChannels> shown;
  if (history.Size() == 0) {
    return shown;
  }
  const std::uint64_t last = std::max(end, history.OldestNumber() + 1) - 1;
  const HistorySegment& segment = history.Segments()[history.SegmentIndexOf(last)];
  for (std::size_t channel = 0; channel < kChannels && segment.quantity; ++channel) {
    shown[channel] = segment.quantity->channels[channel];
  }
  return shown;
}

}  // namespace

void QuantityTally::Add(TenthsDb level, std::int64_t step_ms) {
  if (level == kNoLevel) {
    ++left_out_;
  } else {
    levels_.Add(level, step_ms);
  }
}

void QuantityTally::Remove(TenthsDb level, std::int64_t step_ms) {
  if (level == kNoLevel) {
    --left_out_;
  } else {
    levels_.Remove(level, step_ms);
  }
}

HistoryStatistics QuantityTally::Statistics(const ChannelQuantity& quantity, bool mixed) const {
  HistoryStatistics statistics;
  statistics.quantity = quantity;
  statistics.mixed = mixed;
  statistics.readings = levels_.Count() + left_out_;
  statistics.left_out = left_out_;
  statistics.covered_seconds = static_cast<double>(levels_.DurationMs()) / 1000.0;
  statistics.levels = levels_.Statistics();
  if (!quantity.sound_level) {
    statistics.levels.leq.reset();
    statistics.levels.exceeded = {};
  }
  return statistics;
}

void SpanStatisticsTracker::Change(const LevelHistory& history, std::uint64_t from,
                                   std::uint64_t to, bool in) {
  const std::uint64_t oldest = history.OldestNumber();
  history.ForEachRun(
      from - oldest, to - oldest,
      [&](std::size_t run_from, std::size_t run_to, const HistorySegment& segment) {
        std::array<bool, kChannels> counted{};
        for (std::size_t channel = 0; channel < kChannels; ++channel) {
          counted[channel] = segment.quantity &&
                             channels_[channel].quantity == segment.quantity->channels[channel];
        }
        for (std::uint64_t number = oldest + run_from; number < oldest + run_to; ++number) {
          const HistorySample& sample = history.Numbered(number);
          if (!sample.measuring) {
            continue;
          }
          const std::int64_t step_ms = history.StepMs(number);
          for (std::size_t channel = 0; channel < kChannels; ++channel) {
            Channel& counts = channels_[channel];
            if (!counted[channel]) {
              counts.others = in ? counts.others + 1 : counts.others - 1;
            } else if (in) {
              counts.tally.Add(sample.levels[channel], step_ms);
            } else {
              counts.tally.Remove(sample.levels[channel], step_ms);
            }
          }
        }
      });
}

void SpanStatisticsTracker::BeforeAppend(const LevelHistory& history) {
  if (history.Size() == history.Capacity() && first_ == history.OldestNumber() && first_ < end_) {
    Change(history, first_, first_ + 1, false);
    ++first_;
  }
}

std::array<HistoryStatistics, 2> SpanStatisticsTracker::Compute(const LevelHistory& history,
                                                                std::int64_t from_ms,
                                                                std::int64_t to_ms) {
  const std::uint64_t oldest = history.OldestNumber();
  const std::uint64_t first = oldest + history.FirstAtOrAfter(from_ms);
  const std::uint64_t end = std::max(first, oldest + history.FirstAtOrAfter(to_ms));
  const std::uint64_t newest = history.EndNumber() - std::min<std::uint64_t>(history.Size(), 1);
  const std::uint64_t settled = std::clamp(newest, first, end);
  const auto shown = ShownQuantities(history, end);
  const auto distance = [](std::uint64_t a, std::uint64_t b) { return a > b ? a - b : b - a; };
  const bool overlaps = first < end_ && first_ < settled;
  if (first_ < oldest || end_ > newest || !overlaps ||
      distance(first, first_) + distance(settled, end_) > settled - first ||
      channels_[0].quantity != shown[0] || channels_[1].quantity != shown[1]) {
    *this = SpanStatisticsTracker();
    channels_[0].quantity = shown[0];
    channels_[1].quantity = shown[1];
    first_ = end_ = first;
  }
  if (settled > end_) {
    Change(history, end_, settled, true);
  }
  if (first < first_) {
    Change(history, first, first_, true);
  }
  if (first > first_) {
    Change(history, first_, first, false);
  }
  if (settled < end_) {
    Change(history, settled, end_, false);
  }
  first_ = first;
  end_ = settled;

  const bool with_newest = settled < end;
  if (with_newest) {
    Change(history, settled, end, true);
  }
  std::array<HistoryStatistics, 2> statistics;
  for (std::size_t channel = 0; channel < kChannels; ++channel) {
    const Channel& counts = channels_[channel];
    if (counts.quantity) {
      statistics[channel] = counts.tally.Statistics(*counts.quantity, counts.others > 0);
    }
  }
  if (with_newest) {
    Change(history, settled, end, false);
  }
  return statistics;
}

void SinceOpeningStatistics::Add(const LevelHistory& history) {
  const HistorySample& sample = history.At(history.Size() - 1);
  if (newest_) {
    // The reading before stands for the time up to this one now that it is known.
    const std::int64_t step_ms =
        std::min(sample.time_ms - newest_->time_ms, LevelHistory::kLongestStepMs);
    for (std::size_t channel = 0; channel < kChannels; ++channel) {
      QuantityTally& tally = quantities_[channel][newest_->quantity[channel]].tally;
      tally.Remove(newest_->levels[channel], LevelHistory::kPollMs);
      tally.Add(newest_->levels[channel], step_ms);
    }
    newest_.reset();
  }
  if (!sample.measuring) {
    return;
  }
  const HistoryQuantity& quantity = *history.Segments().back().quantity;
  Counted counted{{}, sample.levels, sample.time_ms};
  for (std::size_t channel = 0; channel < kChannels; ++channel) {
    std::vector<Quantity>& seen = quantities_[channel];
    const auto found = std::ranges::find(seen, quantity.channels[channel], &Quantity::quantity);
    counted.quantity[channel] = static_cast<std::size_t>(found - seen.begin());
    if (found == seen.end()) {
      seen.push_back({quantity.channels[channel], {}});
    }
    seen[counted.quantity[channel]].tally.Add(sample.levels[channel], LevelHistory::kPollMs);
    current_[channel] = counted.quantity[channel];
  }
  newest_ = counted;
}

HistoryStatistics SinceOpeningStatistics::Current(HistoryChannel channel) const {
  const auto index = static_cast<std::size_t>(channel);
  if (!current_[index]) {
    return {};
  }
  const Quantity& shown = quantities_[index][*current_[index]];
  return shown.tally.Statistics(shown.quantity, quantities_[index].size() > 1);
}

LimitExceedances FindLimitExceedances(const LevelHistory& history, HistoryChannel channel,
                                      const ChannelQuantity& quantity, std::int64_t from_ms,
                                      std::int64_t to_ms, double limit_db) {
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
  std::optional<std::size_t> last_crossing;
  history.ForEachRun(
      history.FirstAtOrAfter(from_ms), history.FirstAtOrAfter(to_ms),
      [&](std::size_t run_from, std::size_t run_to, const HistorySegment& segment) {
        if (!segment.quantity || segment.quantity->Of(channel) != quantity) {
          above = false;  // a reading of another quantity ends a run
          return;
        }
        std::size_t index = run_from;
        history.ForEach(run_from, run_to, [&](const HistorySample& sample, std::int64_t step_ms) {
          const TenthsDb level = sample.levels[static_cast<std::size_t>(channel)];
          const bool now_above = sample.measuring && level != kNoLevel && level >= lowest_above;
          if (now_above && !above) {
            ++exceedances.count;
            last_crossing = index;
          }
          above_ms += now_above ? step_ms : 0;
          above = now_above;
          ++index;
        });
      });
  exceedances.seconds = static_cast<double>(above_ms) / 1000.0;
  if (last_crossing) {
    exceedances.last_crossing_wall_ms = history.WallMsAt(*last_crossing);
  }
  return exceedances;
}

}  // namespace halvane
