#pragma once
// The levels of a span as the time each level in tenths of a dB was shown: the statistics of a
// period weight every reading by the time it stands for, and adding one costs the same however
// long the period is. Only the band of levels seen is stored.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace halvane {

// A level and the weight (time) it carries.
struct WeightedLevel {
  double level_db = 0;
  double weight = 0;
};
// 10 lg(Σ wᵢ·10^(Lᵢ/10) / Σ wᵢ), summed relative to the highest level so that nothing
// overflows; nullopt when no level has weight.
std::optional<double> EnergyMean(std::span<const WeightedLevel> levels);

struct LevelSummary {
  double leq = 0;  // 10 lg(Σ tᵢ·10^(Lᵢ/10) / Σ tᵢ)
  double lmax = 0;
  double lmin = 0;
};

class TimeWeightedLevels {
 public:
  // `tenths`: the level in tenths of a dB; `ms`: the time it stands for.
  void Add(int tenths, std::int64_t ms);
  std::int64_t TotalMs() const { return total_ms_; }
  bool Empty() const { return total_ms_ == 0; }
  // Nullopt when nothing was added.
  std::optional<LevelSummary> Summary() const;
  // The level exceeded for `percent` of the time: the lowest level L such that the time spent
  // above L is at most `percent` % of the whole.
  std::optional<double> Exceeded(double percent) const;

 private:
  int lowest_ = 0;                       // the level of durations_[0], in tenths
  std::vector<std::int64_t> durations_;  // by level from lowest_
  std::int64_t total_ms_ = 0;
};

}  // namespace halvane
