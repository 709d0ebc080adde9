#include "cli/usage.h"

#include <charconv>

namespace halvane {

namespace {

// "a, b or c" of the commands of `command`.
std::string CommandNames(const CLI::App& command) {
  const std::vector<const CLI::App*> commands = command.get_subcommands({});
  std::string names;
  for (std::size_t i = 0; i < commands.size(); ++i) {
    names += (i == 0 ? "" : i + 1 == commands.size() ? " or " : ", ") + commands[i]->get_name();
  }
  return names;
}

// The last command given on the command line: "flash" for "flash get 3".
const CLI::App& GivenCommand(const CLI::App& app) {
  const CLI::App* command = &app;
  while (!command->get_subcommands().empty()) {
    command = command->get_subcommands().front();
  }
  return *command;
}

}  // namespace

CLI::Validator WholeNumber(std::string what, std::uint64_t minimum) {
  return CLI::Validator(
      [what, minimum](std::string& text) -> std::string {
        std::uint64_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error == std::errc() && end == text.data() + text.size() && value >= minimum) {
          return {};
        }
        return "'" + text + "' is not " + what + " (a whole number from " +
               std::to_string(minimum) + ")";
      },
      "");
}

std::string UsageMessage(const CLI::ParseError& error, const CLI::App& app) {
  if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
    const std::vector<std::string> extras = app.remaining(true);
    const std::string first = extras.empty() ? std::string() : extras.front();
    if (first.starts_with('-')) {
      return "there is no option " + first + " here";
    }
    const CLI::App& command = GivenCommand(app);
    if (command.get_subcommands({}).empty()) {
      return "'" + first + "' is one argument too many";
    }
    return "there is no command '" + first + "'; " +
           (&command == &app ? std::string("the commands are ") : command.get_name() + " takes ") +
           CommandNames(command);
  }
  const std::string what = error.what();
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
    return what.substr(0, what.find(':')) + " needs a value";
  }
  // "Could not convert: --count = abc"
  const std::string_view unconverted = "Could not convert: ";
  const std::size_t equals = what.find(" = ");
  if (what.starts_with(unconverted) && equals != std::string::npos) {
    return what.substr(unconverted.size(), equals - unconverted.size()) + ": '" +
           what.substr(equals + 3) + "' is not a value it takes";
  }
  return what;
}

std::string MissingCommandMessage(const CLI::App& app) {
  const CLI::App& command = GivenCommand(app);
  if (&command == &app) {
    return "no command given; the commands are " + CommandNames(app);
  }
  return command.get_name() + " needs one of its commands: " + CommandNames(command);
}

}  // namespace halvane
