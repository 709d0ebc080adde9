#pragma once
// The last 24 hours of polls in a ring buffer, with a min/max summary per block of samples so
// that the extremes of any span cost about the same to find, cut into segments where what is
// plotted changes or the PC's clock is set.

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "history/history_poll.h"

namespace halvane {

struct HistorySample {
  // The monotonic clock, counted from the wall clock of the first poll: it reads as the wall
  // clock until that is set, and never goes back.
  std::int64_t time_ms = 0;
  std::array<TenthsDb, 2> levels{kNoLevel, kNoLevel};  // by HistoryChannel
  // The wall clock minus (time_ms + the wall offset of the sample's segment): a few ms at most.
  std::int16_t wall_drift_ms = 0;
  bool measuring = false;
  bool answered = false;  // a gap while the meter answered is one outside "Measurement Mode"

  // The level of `channel` when there is one with a number; otherwise nullopt.
  std::optional<TenthsDb> Level(HistoryChannel channel) const {
    const TenthsDb level = levels[static_cast<std::size_t>(channel)];
    if (!measuring || level == kNoLevel) {
      return std::nullopt;
    }
    return level;
  }
};

// The samples from `first` up to the next segment: readings of the same quantities read against
// the same setting of the PC's clock. A line joins samples of one segment only.
struct HistorySegment {
  std::uint64_t first = 0;                  // the number of its first sample
  std::int64_t wall_offset_ms = 0;          // the wall clock minus time_ms, as at its first sample
  std::optional<HistoryQuantity> quantity;  // of its readings; none before the first reading
  bool new_quantity = false;                // it begins with the first reading of `quantity`
  std::int64_t clock_jump_ms = 0;           // how far the PC's clock jumped where it begins
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
  // A wall clock that moves this much more or less than the monotonic clock has been set.
  static constexpr std::int64_t kClockJumpMs = 1000;

  // Holds `capacity` samples, rounded up to whole blocks.
  explicit LevelHistory(std::size_t capacity = kDayOfPolls);

  // Adds a poll, dropping the oldest when full. A monotonic time earlier than the newest
  // sample's is taken as the newest's, so the samples stay in time order.
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
  // The time `sample` stands for, given the sample after it (null for the newest).
  static std::int64_t StepBetween(const HistorySample& sample, const HistorySample* next) {
    return next != nullptr ? std::min(next->time_ms - sample.time_ms, kLongestStepMs) : kPollMs;
  }
  // The index of the first sample at or after `time_ms` (Size() when there is none).
  std::size_t FirstAtOrAfter(std::int64_t time_ms) const;
  // The wall clock at sample `index`, and the offset of the wall clock from the time axis at
  // `time_ms` (where the sample at or before it was read): for labels only.
  std::int64_t WallMsAt(std::size_t index) const;
  std::int64_t WallOffsetAt(std::int64_t time_ms) const;
  // Calls visit(sample, step_ms) for samples [from, to) in time order, where `step_ms` is the
  // time the sample stands for: up to the next sample, at most kLongestStepMs; the newest
  // stands for one poll interval. Walks the ring without an index calculation per sample.
  template <typename Visit>
  void ForEach(std::size_t from, std::size_t to, Visit&& visit) const;
  // Extremes of `channel` over samples [from, to).
  LevelExtremes Extremes(HistoryChannel channel, std::size_t from, std::size_t to) const;

  // The segments of the samples held, oldest first; the first may begin before the oldest.
  const std::deque<HistorySegment>& Segments() const { return segments_; }
  std::size_t SegmentIndexOf(std::uint64_t number) const;
  // Calls visit(run_from, run_to, segment) for the parts of samples [from, to) in one segment
  // each, in time order.
  template <typename Visit>
  void ForEachRun(std::size_t from, std::size_t to, Visit&& visit) const;

 private:
  LevelExtremes RawExtremes(HistoryChannel channel, std::uint64_t from, std::uint64_t to) const;
  void StartSegments(const HistoryPoll& poll, std::int64_t wall_offset_ms);

  std::vector<HistorySample> samples_;
  std::vector<std::array<LevelExtremes, 2>> blocks_;  // by absolute index / kBlock
  std::uint64_t appended_ = 0;
  std::size_t size_ = 0;
  std::int64_t monotonic_to_time_ms_ = 0;  // set by the first poll
  std::deque<HistorySegment> segments_;
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

template <typename Visit>
void LevelHistory::ForEachRun(std::size_t from, std::size_t to, Visit&& visit) const {
  to = std::min(to, size_);
  if (from >= to) {
    return;
  }
  for (std::size_t segment = SegmentIndexOf(OldestNumber() + from); from < to; ++segment) {
    const std::size_t run_end =
        segment + 1 < segments_.size()
            ? std::min<std::size_t>(to, segments_[segment + 1].first - OldestNumber())
            : to;
    visit(from, run_end, segments_[segment]);
    from = run_end;
  }
}

}  // namespace halvane
