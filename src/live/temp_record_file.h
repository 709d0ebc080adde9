#pragma once
// The temporary record file that downloads write to, prepared empty at start-up.

#include <filesystem>

namespace halvane {

inline constexpr const char* kTempRecordFileName = "Halvane.tmp";

// Creates `folder` if needed and leaves an empty "Halvane.tmp" in it; returns its path. A folder
// or file that cannot be made is not reported here: the download that writes to it reports it.
std::filesystem::path PrepareTempRecordFile(const std::filesystem::path& folder);

}  // namespace halvane
