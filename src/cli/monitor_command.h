#pragma once
// `monitor`: unattended monitoring of one or more meters: period results, day levels, events
// and gaps into files and to a time-series database or an MQTT broker, until Ctrl-C or SIGTERM.

#include <CLI/CLI.hpp>
#include <functional>

#include "app/options.h"

namespace halvane {

void AddMonitorCommand(CLI::App& app, Options& options, std::function<int()>& run);

}  // namespace halvane
