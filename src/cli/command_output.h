#pragma once
// Where commands put what they produce: data on standard output or whole into a file, progress
// on standard error when it is a terminal.

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "records/transfers.h"

namespace halvane {

// Whether an output option names standard output: given as "-", or not given.
bool IsStandardOutput(const std::filesystem::path& target);

// One rule for every command that writes a file: halvane-cli creates the file (or, for
// flash get --all, the folder) that -o names, never the folders above it. kExitSuccess when
// the folder that `target` goes into exists, else kExitFailure after saying so; checked before
// anything is asked of the meter.
int CheckOutputFolder(const std::filesystem::path& target);

// Writes `content` to standard output, or whole into the file `target` (see
// WriteFileAtomically). kExitSuccess, or kExitFailure after saying why.
int WriteOutput(const std::filesystem::path& target, std::string_view content);

// Shows "what page/pages" on standard error when it is a terminal; nothing otherwise.
PageProgress TerminalProgress(std::string_view what);
// Ends a progress line shown by TerminalProgress.
void EndTerminalProgress();

}  // namespace halvane
