#pragma once
// `devices` and `clock get`/`clock sync`: the attached meters and the meter's clock.

#include <CLI/CLI.hpp>
#include <functional>

#include "app/options.h"

namespace halvane {

void AddDevicesCommand(CLI::App& app, const Options& options, std::function<int()>& run);
void AddClockCommands(CLI::App& app, const Options& options, std::function<int()>& run);

}  // namespace halvane
