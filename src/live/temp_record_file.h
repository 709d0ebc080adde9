#pragma once
// The temporary record file that downloads write to, prepared empty at start-up.

#include <filesystem>

namespace halvane {

inline constexpr const char* kTempRecordFileName = "Halvane.tmp";

// Creates `folder` if needed (readable by the user alone) and leaves a new empty "Halvane.tmp"
// in it, readable and writable by the user alone; whatever was at that path, a link included, is
// removed first and never followed. Returns its path. A folder or file that cannot be made is not
// reported here: the download that writes to it reports it.
std::filesystem::path PrepareTempRecordFile(const std::filesystem::path& folder);

}  // namespace halvane
