#pragma once
// Lays out the meter's answer to the live poll. Which bytes carry what depends on the display
// mode: the sound level meter screen (0), the octave bar screens (1 to 3) and the octave table
// screens (4 to 7); other modes carry only the status and channel values.

#include "link/reports.h"
#include "sim/calendar_time.h"
#include "sim/level_model.h"
#include "sim/meter_state.h"

namespace halvane {

InputReportBuffer BuildLiveReply(const MeterState& state, const LiveLevels& levels,
                                 const CalendarTime& meter_time);

}  // namespace halvane
