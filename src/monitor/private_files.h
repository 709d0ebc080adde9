#pragma once
// Files of the monitor that are the user's alone: its state folders (0700), files written so
// that they survive a crash (synced before and after the rename that puts them in place), and
// secrets read only from a file no one else can read.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace halvane {

// Creates `folder` and its parents when missing and makes it 0700. False with the reason in
// `error` when it cannot, when it is not a folder, or when another user owns it.
bool MakePrivateFolder(const std::filesystem::path& folder, std::string& error);

// Writes `content` to `target` through a new temporary file beside it, synced to the disk
// before it is renamed over the target, and the folder synced after. The file is 0600.
bool WriteSyncedFile(const std::filesystem::path& target, std::string_view content,
                     std::string& error);

// The text of `path` when only its owner, the user, can read or write it; nullopt with the
// reason in `error` otherwise, so a secret others can read is never used.
std::optional<std::string> ReadOwnerOnlyFile(const std::filesystem::path& path, std::string& error);

}  // namespace halvane
