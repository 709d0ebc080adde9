#pragma once
// The last 24 hours of polls in a ring buffer, with a min/max summary per block of samples so
// that the extremes of any span cost about the same to find, and the marks where the plotted
// quantity changed.

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "history/history_poll.h"

namespace halvane {

enum class HistoryChannel { kMain = 0, kSub = 1 };

struct HistorySample {
  std::int64_t pc_time_ms = 0;
  std::array<TenthsDb, 2> levels{kNoLevel, kNoLevel};  // by HistoryChannel
  bool measuring = false;

  // The level of `channel` when there is one with a number; otherwise nullopt.
  std::optional<TenthsDb> Level(HistoryChannel channel) const {
    const TenthsDb level = levels[static_cast<std::size_t>(channel)];
    if (!measuring || level == kNoLevel) {
      return std::nullopt;
    }
    return level;
  }
};

struct HistoryMark {
  std::int64_t pc_time_ms = 0;
  HistoryQuantity quantity;  // what is plotted from here on
};

// The numbered extremes of a run of samples, and whether a gap or "---.-" breaks it.
struct LevelExtremes {
  std::optional<TenthsDb> min;
  std::optional<TenthsDb> max;
  bool broken = false;

  void Add(const LevelExtremes& other);
};

class LevelHistory {
 public:
  static constexpr std::size_t kDayOfPolls = 540'000;  // 24 h at 160 ms
  static constexpr std::size_t kBlock = 64;
  // Two samples further apart than this are not joined, and neither covers more than this.
  static constexpr std::int64_t kLongestStepMs = 500;
  static constexpr std::int64_t kPollMs = 160;

  // Holds `capacity` samples, rounded up to whole blocks.
  explicit LevelHistory(std::size_t capacity = kDayOfPolls);

  // Adds a poll, dropping the oldest when full. A time earlier than the newest sample's (the
  // PC clock set back) is taken as the newest's, so the samples stay in time order.
  void Append(const HistoryPoll& poll);

  std::size_t Size() const { return size_; }
  std::size_t Capacity() const { return samples_.size(); }
  // Sample `index` counted from the oldest held.
  const HistorySample& At(std::size_t index) const;
  // Samples are also numbered from the first ever appended; a sample keeps its number while it
  // is held, from OldestNumber() up to EndNumber().
  std::uint64_t OldestNumber() const { return appended_ - size_; }
  std::uint64_t EndNumber() const { return appended_; }
  const HistorySample& Numbered(std::uint64_t number) const;
  // The time sample `number` stands for, as in ForEach.
  std::int64_t StepMs(std::uint64_t number) const;
  // The index of the first sample at or after `pc_time_ms` (Size() when there is none).
  std::size_t FirstAtOrAfter(std::int64_t pc_time_ms) const;
  // Calls visit(sample, step_ms) for samples [from, to) in time order, where `step_ms` is the
  // time the sample stands for: up to the next sample, at most kLongestStepMs; the newest
  // stands for one poll interval. Walks the ring without an index calculation per sample.
  template <typename Visit>
  void ForEach(std::size_t from, std::size_t to, Visit&& visit) const;
  // Extremes of `channel` over samples [from, to).
  LevelExtremes Extremes(HistoryChannel channel, std::size_t from, std::size_t to) const;
  // Where the display mode, weighting or item changed, oldest first: the first measuring
  // sample, each change after it, and the one in effect at the oldest sample held.
  const std::deque<HistoryMark>& Marks() const { return marks_; }
  // The mark in effect at `pc_time_ms`; null before the first measuring sample.
  const HistoryMark* MarkAt(std::int64_t pc_time_ms) const;

 private:
  LevelExtremes RawExtremes(HistoryChannel channel, std::uint64_t from, std::uint64_t to) const;
  // The time `sample` stands for, given the sample after it (null for the newest).
  static std::int64_t StepBetween(const HistorySample& sample, const HistorySample* next) {
    return next != nullptr ? std::min(next->pc_time_ms - sample.pc_time_ms, kLongestStepMs)
                           : kPollMs;
  }

  std::vector<HistorySample> samples_;
  std::vector<std::array<LevelExtremes, 2>> blocks_;  // by absolute index / kBlock
  std::uint64_t appended_ = 0;
  std::size_t size_ = 0;
  std::deque<HistoryMark> marks_;
};

template <typename Visit>
void LevelHistory::ForEach(std::size_t from, std::size_t to, Visit&& visit) const {
  to = std::min(to, size_);
  if (from >= to) {
    return;
  }
  std::size_t slot = (OldestNumber() + from) % samples_.size();
  for (std::size_t index = from; index < to; ++index) {
    const std::size_t next = slot + 1 == samples_.size() ? 0 : slot + 1;
    visit(samples_[slot],
          StepBetween(samples_[slot], index + 1 < size_ ? &samples_[next] : nullptr));
    slot = next;
  }
}

}  // namespace halvane
