#pragma once
// The energy mean of levels that each last a time: Leq = 10 lg(Σ tᵢ·10^(Lᵢ/10) / Σ tᵢ). The
// powers are summed relative to the loudest level so far, so no level is too loud for the sum
// (99999 dB gives a number, not infinity).

#include <optional>

namespace halvane {

class EnergyMean {
 public:
  // A finite level held for `duration` (any unit; records of one length count 1 each). Levels
  // may come in any order.
  void Add(double level_db, double duration);
  // Nullopt until some time was added.
  std::optional<double> Leq() const;

 private:
  double loudest_db_ = 0;
  double relative_sum_ = 0;  // Σ tᵢ·10^((Lᵢ − loudest)/10)
  double duration_ = 0;
};

}  // namespace halvane
