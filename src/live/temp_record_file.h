#pragma once
// The temporary record file that downloads write to, prepared empty at start-up.

#include <filesystem>
#include <string>

namespace halvane {

inline constexpr const char* kTempRecordFileName = "Halvane.tmp";

// "Halvane.tmp" for the first program running, "Halvane-2.tmp" for a second one beside it, ...
std::string TempRecordFileName(int program);

// Creates `folder` if needed, readable by the user alone.
void PrepareTempRecordFolder(const std::filesystem::path& folder);

// Prepares the folder and leaves a new empty file `name` in it, readable and writable by the
// user alone; whatever was at that path, a link included, is removed first and never followed.
// Returns its path. A folder or file that cannot be made is not reported here: the download
// that writes to it reports it.
std::filesystem::path PrepareTempRecordFile(const std::filesystem::path& folder,
                                            const std::string& name = kTempRecordFileName);

}  // namespace halvane
