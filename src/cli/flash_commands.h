#pragma once
// `flash list`, `flash get` and `flash save`: the records of the meter's flash memory.

#include <CLI/CLI.hpp>
#include <functional>

#include "app/options.h"

namespace halvane {

void AddFlashCommands(CLI::App& app, const Options& options, std::function<int()>& run);

}  // namespace halvane
