#pragma once
// `live`: one line per poll of the meter's display data, every 160 ms as in the main window.

#include <CLI/CLI.hpp>
#include <functional>

#include "app/options.h"

namespace halvane {

// Adds the command; when it is given, `run` is set to carry it out.
void AddLiveCommand(CLI::App& app, const Options& options, std::function<int()>& run);

}  // namespace halvane
