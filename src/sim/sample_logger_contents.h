#pragma once
// What the simulated meter's data logger holds unless it is loaded from files, and a full flash
// for measuring transfers.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace halvane {

// Seven entries: sets of the four modes, integrated and interval ones, with every trigger kind
// (off, external, level, time), and an empty entry between each two sets.
std::vector<std::optional<std::string>> SampleSdCard();

// Records of the four modes with every trigger mode 0 to 4, one of them time-stamped (trigger
// mode 2) and one of 300 samples; about 43 kB.
std::vector<std::uint8_t> SampleFlashImage();

// Records of all four modes filling the flash capacity of 1015807 bytes exactly, the tail that
// no record fits padded with zero bytes.
std::vector<std::uint8_t> FullFlashImage();

}  // namespace halvane
