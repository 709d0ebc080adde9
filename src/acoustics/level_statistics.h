#pragma once
// Lmax, Lmin, the energy mean Leq and the levels exceeded for N % of the time (L_N) of levels
// that each last a time.
//
// L_N is the level exceeded for N % of the time, everywhere in Halvane: going from the loudest
// level down and adding up the time each lasts, L_N is the level at which that sum first exceeds
// N % of the whole time. The time spent above L_N is at most N %, at or above it more than N %.
// So of ten records of equal length L10 is the second loudest and L90 the quietest, and of a
// constant level every L_N is that level.

#include <array>
#include <optional>
#include <vector>

#include "acoustics/energy_mean.h"

namespace halvane {

// The N of the levels L_N every result carries.
inline constexpr std::array<int, 5> kExceededPercents{5, 10, 50, 90, 95};

struct LevelStatistics {
  std::optional<double> leq;
  std::optional<double> lmax;
  std::optional<double> lmin;
  std::array<std::optional<double>, kExceededPercents.size()> exceeded;  // by kExceededPercents

  // L_N for an N of kExceededPercents.
  std::optional<double> Exceeded(int percent) const;
};

// The statistics of levels handed over from the loudest to the quietest, in one pass: the first
// is Lmax, each L_N is taken where the time passed first exceeds N % of the whole.
class LoudestFirst {
 public:
  // `total_duration` is the sum of the durations that will be added.
  explicit LoudestFirst(double total_duration) : total_duration_(total_duration) {}
  void Add(double level_db, double duration);
  LevelStatistics Result() const;

 private:
  double total_duration_;
  double passed_ = 0;
  EnergyMean energy_;
  LevelStatistics statistics_;
};

// The statistics of finite levels of equal duration (records logged at one interval), in any
// order.
LevelStatistics EqualDurationStatistics(std::vector<double> levels);

}  // namespace halvane
