#pragma once
// The comparator's output: on while the comparator is enabled and the main channel's level in
// its band (a third-octave band, or the all-pass level) reaches the threshold.

#include "sim/level_model.h"
#include "sim/meter_state.h"

namespace halvane {

bool ComparatorOutput(const MeterState& state, const LiveLevels& levels);

}  // namespace halvane
