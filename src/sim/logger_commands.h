#pragma once
// The data logger (class 0x43): the SD card's entries and the flash image, sent page by page.
// 0x01 answers the number of card entries in payload bytes 11 and 12. 0x06 a_hi a_lo 0x00
// answers the first page of entry a (from 1); 0x06 a_hi a_lo 0x01 sends the whole set, one
// page per read, the page count taken from the set's own length field. An empty entry, or one
// beyond the card, answers a page with 0x45 in payload byte 1 and 0x64 in byte 10.
// 0x04 0x00 0x01 0x00 answers the image size in payload bytes 3 to 6; 0x04 0x00 0x01 0x01
// answers nothing itself and then sends the image, one page per read. Any later command ends a
// transfer that is under way.

#include <cstdint>

#include "sim/command_table.h"

namespace halvane {

inline constexpr std::uint8_t kLoggerCommandClass = 0x43;

void AddLoggerCommands(CommandTable& table);

}  // namespace halvane
