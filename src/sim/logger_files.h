#pragma once
// Loads the simulated meter's data logger from files, to replay what a meter held: the flash
// image as raw bytes, and one raw set text per SD card entry. On failure the state is left as
// it was and the answer says why, for the user.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "sim/meter_state.h"

namespace halvane {

// The longest set the simulated card takes, by file size and by its length field: 16 MiB, far
// beyond the few hundred kilobytes of a real set.
inline constexpr std::size_t kLongestSdSet = 16u << 20;

// The image becomes the used flash area; it may be empty, but not over the flash capacity.
std::optional<std::string> LoadFlashImage(const std::filesystem::path& file, MeterState& state);

// Each file becomes one card entry, in order; an empty file is an empty entry. A set must hold
// its 4-byte length field, and neither it nor its length field may exceed kLongestSdSet.
std::optional<std::string> LoadSdCard(const std::vector<std::filesystem::path>& files,
                                      MeterState& state);

}  // namespace halvane
