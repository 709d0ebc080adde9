#pragma once
// `sd list`, `sd get` and `sd save`: the sets on the meter's SD card.

#include <CLI/CLI.hpp>
#include <functional>

#include "app/options.h"

namespace halvane {

void AddSdCommands(CLI::App& app, const Options& options, std::function<int()>& run);

}  // namespace halvane
