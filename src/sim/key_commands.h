#pragma once
// The keypad (class 0x40): bytes 2 and 3 hold one key bit, and the key changes the state as the
// meter's own key does. A report whose bits are no single key changes nothing. Every press is
// acknowledged with zeros.

#include <cstdint>

#include "sim/command_table.h"

namespace halvane {

inline constexpr std::uint8_t kKeyCommandClass = 0x40;

void AddKeyCommands(CommandTable& table);

}  // namespace halvane
