#pragma once
// What a wrong command line is told, in the program's words: numbers and choices checked with
// messages of our own, and CLI11's errors said over, so that no message shows the library's
// internals (a range of 309 digits, an enum map, "A subcommand is required").

#include <CLI/CLI.hpp>
#include <string>
#include <utility>
#include <vector>

namespace halvane {

// A whole number from `minimum` on; `what` names it in the message, e.g. "a record number".
CLI::Validator WholeNumber(std::string what, std::uint64_t minimum);

// The -f/--format option: one of `choices` by name, in any case, its value set in `target`.
template <typename T>
CLI::Option* AddFormatOption(CLI::App& command, T& target,
                             std::vector<std::pair<std::string, T>> choices,
                             const std::string& help) {
  std::string listed;
  for (const auto& choice : choices) {
    listed += (listed.empty() ? "" : ", ") + choice.first;
  }
  return command
      .add_option_function<std::string>(
          "-f,--format",
          [&target, choices, listed](const std::string& text) {
            for (const auto& [name, value] : choices) {
              if (CLI::detail::to_lower(text) == name) {
                target = value;
                return;
              }
            }
            throw CLI::ValidationError("--format", "'" + text + "' is not one of " + listed);
          },
          help)
      ->type_name("FORMAT");
}

// The message for a command line CLI11 refused.
std::string UsageMessage(const CLI::ParseError& error, const CLI::App& app);

// The message for a command line that names no command to run, or a group without one of its
// commands ("flash" alone).
std::string MissingCommandMessage(const CLI::App& app);

}  // namespace halvane
