#pragma once
// The meter's clock (setting class 0x41): sub-command 0x01 reads it, 0x02 sets it. Both carry
// year (two digits), month, day, hour, minute and second in packed BCD.

#include "sim/command_table.h"

namespace halvane {

void AddClockCommands(CommandTable& table);

}  // namespace halvane
