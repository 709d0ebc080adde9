#include "sim/comparator_output.h"

#include <cmath>
#include <cstddef>

namespace halvane {

bool ComparatorOutput(const MeterState& state, const LiveLevels& levels) {
  const int band = state.comparator_threshold.band;
  if (!state.comparator_enabled || band < 0 || band > kAllPassBand) {
    return false;
  }
  const double level_db =
      band == kAllPassBand ? levels.main[0] : levels.third_octave[std::size_t(band)];
  // Compared in the tenths of a dB that the meter shows.
  return std::lround(level_db * 10.0) >= 10L * state.comparator_threshold.level_db;
}

}  // namespace halvane
