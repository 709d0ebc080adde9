#pragma once
// `record info` and `record item`: a record file's header, and one item over all its records.

#include <CLI/CLI.hpp>
#include <functional>

namespace halvane {

void AddRecordCommands(CLI::App& app, std::function<int()>& run);

}  // namespace halvane
