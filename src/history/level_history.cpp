#include "history/level_history.h"

#include <algorithm>
#include <iterator>
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
  HistorySample sample{poll.pc_time_ms, {poll.main, poll.sub}, poll.measuring};
  if (size_ > 0) {
    sample.pc_time_ms = std::max(sample.pc_time_ms, Numbered(appended_ - 1).pc_time_ms);
  }
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

  // The mark in effect at the oldest sample stays, so every sample held has its quantity.
  const std::int64_t oldest = At(0).pc_time_ms;
  while (marks_.size() > 1 && marks_[1].pc_time_ms <= oldest) {
    marks_.pop_front();
  }
  if (poll.measuring && (marks_.empty() || marks_.back().quantity != poll.quantity)) {
    marks_.push_back({sample.pc_time_ms, poll.quantity});
  }
}

const HistoryMark* LevelHistory::MarkAt(std::int64_t pc_time_ms) const {
  const auto after = std::upper_bound(
      marks_.begin(), marks_.end(), pc_time_ms,
      [](std::int64_t time, const HistoryMark& mark) { return time < mark.pc_time_ms; });
  return after == marks_.begin() ? nullptr : &*std::prev(after);
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
std::size_t LevelHistory::FirstAtOrAfter(std::int64_t pc_time_ms) const {
  const auto before = [pc_time_ms](const HistorySample& sample) {
    return sample.pc_time_ms < pc_time_ms;
  };
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
