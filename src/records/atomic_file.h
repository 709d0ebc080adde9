#pragma once
// Writes a file whole or not at all: the text goes to a new temporary file beside the target,
// which replaces the target only once it is complete and flushed.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace halvane {

// Nullopt on success; otherwise why the file could not be written, for the user. On failure
// the target is left as it was and no temporary file remains.
std::optional<std::string> WriteFileAtomically(const std::filesystem::path& target,
                                               std::string_view content);

}  // namespace halvane
