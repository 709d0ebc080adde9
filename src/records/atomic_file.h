#pragma once
// Writes a file whole or not at all: the text goes to a new temporary file beside the target,
// which replaces the target only once it is complete and on the storage device. The target's
// path stays the user's: a symbolic link keeps pointing where it did and the file it points to
// is the one replaced; a replaced file keeps its permissions and, where the system allows, its
// owner; a target that is not a regular file (a device such as /dev/null, a FIFO) is written
// in place and never renamed over.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace halvane {

// Nullopt on success; otherwise why the file could not be written, for the user. On failure
// a replaced target is left as it was and no temporary file remains.
std::optional<std::string> WriteFileAtomically(const std::filesystem::path& target,
                                               std::string_view content);

}  // namespace halvane
