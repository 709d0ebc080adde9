#pragma once
// The `--format` of the list commands: a table for people or JSON for scripts.

#include <CLI/CLI.hpp>

#include "cli/usage.h"

namespace halvane {

enum class ListFormat { Table, Json };

inline void AddListFormatOption(CLI::App& command, ListFormat& format) {
  AddFormatOption<ListFormat>(command, format,
                              {{"table", ListFormat::Table}, {"json", ListFormat::Json}},
                              "table (default) or json");
}

}  // namespace halvane
