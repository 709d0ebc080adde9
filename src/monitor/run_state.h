#pragma once
// What a run of the monitor leaves for the next on the same state folder, per meter: where its
// readings ended and whether it ended cleanly, so that the next run records the time between
// as a gap and continues the periods where the results ended.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "monitor/meter_monitor.h"

namespace halvane {

std::filesystem::path RunStatePath(const std::filesystem::path& state_folder,
                                   std::string_view serial);
std::optional<PreviousRun> LoadRunState(const std::filesystem::path& file);
bool SaveRunState(const std::filesystem::path& file, const PreviousRun& run, std::string& error);

}  // namespace halvane
