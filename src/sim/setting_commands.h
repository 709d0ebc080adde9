#pragma once
// The meter's settings (setting class 0x41, byte 2 the setting): storage device, recording mode,
// backlight, sub-channel weightings, trigger mode, comparator state, the three times (recording
// period, sampling interval, trigger time), the level trigger and comparator levels, and erasing
// the records. Every command answers one reply: a query its value, anything else zeros.

#include "sim/command_table.h"

namespace halvane {

void AddSettingCommands(CommandTable& table);

}  // namespace halvane
