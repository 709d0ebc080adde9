#pragma once
// The live poll (class 0x42): each poll moves the levels on one step and queues one live reply.

#include <cstdint>

#include "sim/command_table.h"

namespace halvane {

inline constexpr std::uint8_t kLivePollCommandClass = 0x42;

void AddLivePollCommand(CommandTable& table);

}  // namespace halvane
