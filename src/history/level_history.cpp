#include "history/level_history.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace halvane {

namespace {

LevelExtremes ExtremesOf(const HistorySample& sample, HistoryChannel channel) {
  const std::optional<TenthsDb> level = sample.Level(channel);
  if (!level) {
    LevelExtremes broken;
    broken.broken = true;
    return broken;
  }
  return {level, level, false};
}

std::size_t Channel(HistoryChannel channel) {
  return static_cast<std::size_t>(channel);
}

}  // namespace

void LevelExtremes::Add(const LevelExtremes& other) {
  if (other.min && (!min || *other.min < *min)) {
    min = other.min;
  }
  if (other.max && (!max || *other.max > *max)) {
    max = other.max;
  }
  broken = broken || other.broken;
}

LevelHistory::LevelHistory(std::size_t capacity)
    : samples_((std::max<std::size_t>(capacity, 1) + kBlock - 1) / kBlock * kBlock),
      blocks_(samples_.size() / kBlock) {}

void LevelHistory::Append(const HistoryPoll& poll) {
  if (appended_ == 0) {
    monotonic_to_time_ms_ = poll.time.wall_ms - poll.time.monotonic_ms;
  }
  HistorySample sample{poll.time.monotonic_ms + monotonic_to_time_ms_,
                       {poll.main, poll.sub},
                       0,
                       poll.measuring,
                       poll.answered};
  if (size_ > 0) {
    sample.time_ms = std::max(sample.time_ms, Numbered(appended_ - 1).time_ms);
  }
  const std::int64_t wall_offset_ms = poll.time.wall_ms - sample.time_ms;
  StartSegments(poll, wall_offset_ms);
  sample.wall_drift_ms =
      static_cast<std::int16_t>(wall_offset_ms - segments_.back().wall_offset_ms);

  const std::uint64_t index = appended_;
  auto& block = blocks_[(index / kBlock) % blocks_.size()];
  if (index % kBlock == 0) {
    block = {};
  }
  block[0].Add(ExtremesOf(sample, HistoryChannel::kMain));
  block[1].Add(ExtremesOf(sample, HistoryChannel::kSub));
  samples_[index % samples_.size()] = sample;
  ++appended_;
  size_ = std::min(size_ + 1, samples_.size());
  // The segment of the oldest sample stays, so every sample held has its own.
  while (segments_.size() > 1 && segments_[1].first <= OldestNumber()) {
    segments_.pop_front();
  }
}

// A segment begins where the wall clock has moved away from the monotonic clock (the PC's clock
// set back or forward), and at a reading of another quantity than the segment's.
void LevelHistory::StartSegments(const HistoryPoll& poll, std::int64_t wall_offset_ms) {
  if (segments_.empty()) {
    segments_.push_back({appended_, wall_offset_ms, std::nullopt, false, 0});
  } else if (const std::int64_t jump = wall_offset_ms - segments_.back().wall_offset_ms;
             std::abs(jump) > kClockJumpMs) {
    segments_.push_back({appended_, wall_offset_ms, segments_.back().quantity, false, jump});
  }
  if (poll.measuring && segments_.back().quantity != poll.quantity) {
    if (segments_.back().first != appended_) {
      segments_.push_back({appended_, segments_.back().wall_offset_ms, std::nullopt, false, 0});
    }
    segments_.back().quantity = poll.quantity;
    segments_.back().new_quantity = true;
  }
}

std::size_t LevelHistory::SegmentIndexOf(std::uint64_t number) const {
  const auto after = std::upper_bound(
      segments_.begin(), segments_.end(), number,
      [](std::uint64_t wanted, const HistorySegment& segment) { return wanted < segment.first; });
  return after == segments_.begin() ? 0 : static_cast<std::size_t>(after - segments_.begin() - 1);
}

std::int64_t LevelHistory::WallMsAt(std::size_t index) const {
  const std::uint64_t number = OldestNumber() + index;
  const HistorySample& sample = Numbered(number);
  return sample.time_ms + segments_[SegmentIndexOf(number)].wall_offset_ms + sample.wall_drift_ms;
}

std::int64_t LevelHistory::WallOffsetAt(std::int64_t time_ms) const {
  if (segments_.empty()) {
    return 0;
  }
  const std::size_t through = FirstAtOrAfter(time_ms + 1);
  return segments_[through == 0 ? 0 : SegmentIndexOf(OldestNumber() + through - 1)].wall_offset_ms;
}

const HistorySample& LevelHistory::Numbered(std::uint64_t number) const {
  return samples_[number % samples_.size()];
}

std::int64_t LevelHistory::StepMs(std::uint64_t number) const {
  return StepBetween(Numbered(number), number + 1 < appended_ ? &Numbered(number + 1) : nullptr);
}

const HistorySample& LevelHistory::At(std::size_t index) const {
  return Numbered(OldestNumber() + index);
}

// A binary search of the ring's two runs in time order, the older first.
std::size_t LevelHistory::FirstAtOrAfter(std::int64_t time_ms) const {
  const auto before = [time_ms](const HistorySample& sample) { return sample.time_ms < time_ms; };
  const auto older =
      samples_.begin() + static_cast<std::ptrdiff_t>(OldestNumber() % samples_.size());
  const auto older_count = static_cast<std::ptrdiff_t>(
      std::min(size_, static_cast<std::size_t>(samples_.end() - older)));
  const auto found = std::partition_point(older, older + older_count, before);
  if (found != older + older_count) {
    return static_cast<std::size_t>(found - older);
  }
  const auto newer_count = static_cast<std::ptrdiff_t>(size_) - older_count;
  return static_cast<std::size_t>(
      older_count +
      (std::partition_point(samples_.begin(), samples_.begin() + newer_count, before) -
       samples_.begin()));
}

LevelExtremes LevelHistory::RawExtremes(HistoryChannel channel, std::uint64_t from,
                                        std::uint64_t to) const {
  TenthsDb lowest = std::numeric_limits<TenthsDb>::max();
  TenthsDb highest = kNoLevel;
  bool broken = false;
  std::size_t slot = from % samples_.size();
  for (std::uint64_t index = from; index < to; ++index) {
    const HistorySample& sample = samples_[slot];
    const TenthsDb level = sample.measuring ? sample.levels[Channel(channel)] : kNoLevel;
    broken = broken || level == kNoLevel;
    if (level != kNoLevel) {
      lowest = std::min(lowest, level);
      highest = std::max(highest, level);
    }
    slot = slot + 1 == samples_.size() ? 0 : slot + 1;
  }
  LevelExtremes extremes;
  extremes.broken = broken;
  if (highest != kNoLevel) {
    extremes.min = lowest;
    extremes.max = highest;
  }
  return extremes;
}

LevelExtremes LevelHistory::Extremes(HistoryChannel channel, std::size_t from,
                                     std::size_t to) const {
  to = std::min(to, size_);
  if (from >= to) {
    return {};
  }
  std::uint64_t first = OldestNumber() + from;
  const std::uint64_t last = OldestNumber() + to;
  // Whole blocks inside the range are all held (the range starts at or after the oldest
  // sample), so their summaries stand for them; the ragged ends are read sample by sample.
  const std::uint64_t first_whole = (first + kBlock - 1) / kBlock * kBlock;
  const std::uint64_t end_whole = last / kBlock * kBlock;
  if (first_whole >= end_whole) {
    return RawExtremes(channel, first, last);
  }
  LevelExtremes extremes = RawExtremes(channel, first, first_whole);
  for (first = first_whole; first < end_whole; first += kBlock) {
    extremes.Add(blocks_[(first / kBlock) % blocks_.size()][Channel(channel)]);
  }
  extremes.Add(RawExtremes(channel, end_whole, last));
  return extremes;
}

}  // namespace halvane
