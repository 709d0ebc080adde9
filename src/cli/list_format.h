#pragma once
// The `--format` of the list commands: a table for people or JSON for scripts.

#include <CLI/CLI.hpp>
#include <map>
#include <string>

namespace halvane {

enum class ListFormat { Table, Json };

inline void AddListFormatOption(CLI::App& command, ListFormat& format) {
  command.add_option("-f,--format", format, "table (default) or json")
      ->transform(
          CLI::CheckedTransformer(std::map<std::string, ListFormat>{{"table", ListFormat::Table},
                                                                    {"json", ListFormat::Json}},
                                  CLI::ignore_case));
}

}  // namespace halvane
