#include "acoustics/time_weighted_levels.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace halvane {

std::optional<double> EnergyMean(std::span<const WeightedLevel> levels) {
  double highest = -std::numeric_limits<double>::infinity();
  double total_weight = 0;
  for (const WeightedLevel& level : levels) {
    if (level.weight > 0) {
      highest = std::max(highest, level.level_db);
      total_weight += level.weight;
    }
  }
  if (total_weight <= 0) {
    return std::nullopt;
  }
  double relative_energy = 0;
  for (const WeightedLevel& level : levels) {
    if (level.weight > 0) {
      relative_energy += level.weight * std::pow(10.0, (level.level_db - highest) / 10.0);
    }
  }
  return highest + 10.0 * std::log10(relative_energy / total_weight);
}

void TimeWeightedLevels::Add(int tenths, std::int64_t ms) {
  if (ms <= 0) {
    return;
  }
  if (durations_.empty()) {
    lowest_ = tenths;
  }
  if (tenths < lowest_) {
    durations_.insert(durations_.begin(), static_cast<std::size_t>(lowest_ - tenths), 0);
    lowest_ = tenths;
  }
  const auto index = static_cast<std::size_t>(tenths - lowest_);
  if (index >= durations_.size()) {
    durations_.resize(index + 1, 0);
  }
  durations_[index] += ms;
  total_ms_ += ms;
}

std::optional<LevelSummary> TimeWeightedLevels::Summary() const {
  std::vector<WeightedLevel> levels;
  for (std::size_t index = 0; index < durations_.size(); ++index) {
    if (durations_[index] != 0) {
      levels.push_back(
          {(lowest_ + static_cast<int>(index)) / 10.0, static_cast<double>(durations_[index])});
    }
  }
  const std::optional<double> leq = EnergyMean(levels);
  if (!leq) {
    return std::nullopt;
  }
  return LevelSummary{*leq, levels.back().level_db, levels.front().level_db};
}

std::optional<double> TimeWeightedLevels::Exceeded(double percent) const {
  if (total_ms_ == 0) {
    return std::nullopt;
  }
  const double allowed = percent / 100.0 * static_cast<double>(total_ms_);
  std::int64_t above = 0;
  for (std::size_t index = durations_.size(); index-- > 0;) {
    above += durations_[index];
    if (static_cast<double>(above) > allowed) {
      return (lowest_ + static_cast<int>(index)) / 10.0;
    }
  }
  return lowest_ / 10.0;
}

}  // namespace halvane
