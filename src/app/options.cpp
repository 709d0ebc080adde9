#include "app/options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>

#include "files/utf8_path.h"

namespace halvane {

namespace {

// A decimal number that is the whole text.
std::optional<int> ParseWholeInt(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::uint16_t> ParseHexId(std::string_view text) {
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
  }
  if (text.empty() || text.size() > 4) {
    return std::nullopt;
  }
  std::uint16_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

// An option whose value is missing would otherwise take the next option as its value.
const CLI::Validator kFileName(
    [](const std::string& file) {
      return file.empty() || file.starts_with("--") ? "needs a file name, not '" + file + "'"
                                                    : std::string();
    },
    "");

// The window program's parser; its help text is the usage text.
struct WindowCommandLine {
  CLI::App app{"Live display, remote control and data download for the sound level meter.",
               "halvane"};
  Options options;

  WindowCommandLine() {
    app.set_help_flag();
    AddMeterOptions(app, options);
    app.add_flag("-h,--help", options.show_help, "show this help");
    app.add_flag("--version", options.show_version, "show the version");
  }
};

}  // namespace

std::optional<MeterIds> ParseDeviceIds(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) {
    return std::nullopt;
  }
  const auto vendor = ParseHexId(text.substr(0, colon));
  const auto product = ParseHexId(text.substr(colon + 1));
  if (!vendor || !product) {
    return std::nullopt;
  }
  return MeterIds{*vendor, *product};
}

CLI::Option* AddPathOption(CLI::App& app, const std::string& name, std::filesystem::path& path,
                           const std::string& description) {
  return app.add_option_function<std::string>(
      name, [&path](const std::string& text) { path = PathFromUtf8(text); }, description);
}

void AddMeterOptions(CLI::App& app, Options& options) {
  CLI::Option* simulate = app.add_flag(
      "--simulate", options.simulate, "use the built-in simulated meter instead of the instrument");
  app.add_option_function<std::string>(
         "--device",
         [&options](const std::string& text) {
           const auto ids = ParseDeviceIds(text);
           if (!ids) {
             throw CLI::ValidationError("--device", "takes VID:PID in hexadecimal, not '" + text +
                                                        "', for example --device 0483:5750");
           }
           options.device = *ids;
         },
         "look for the meter under these USB IDs (hexadecimal, default 0483:5750)")
      ->type_name("VID:PID");
  app.add_option("--path", options.device_path,
                 "use the meter at this device path (as 'devices' lists them) when several "
                 "identical meters are attached")
      ->type_name("PATH");
  AddPathOption(app, "--trace", options.trace_file,
                "append every report written to and read from the meter to FILE (milliseconds, "
                "W or R, the bytes in hex), and each search for the meter: the devices found and "
                "why each was passed over (S)")
      ->type_name("FILE")
      ->check(kFileName);
  AddPathOption(app, "--sim-flash", options.sim_flash_file,
                "with --simulate: the simulated meter's flash memory holds the raw image in FILE "
                "(at most 1015807 bytes)")
      ->type_name("FILE")
      ->check(kFileName)
      ->needs(simulate);
  app.add_option_function<std::vector<std::string>>(
         "--sim-sd",
         [&options](const std::vector<std::string>& files) {
           options.sim_sd_files.clear();
           for (const std::string& file : files) {
             options.sim_sd_files.push_back(PathFromUtf8(file));
           }
         },
         "with --simulate: the simulated meter's SD card holds one raw set text per FILE, "
         "in this order; an empty FILE is an empty entry")
      ->type_name("FILE...")
      ->expected(1, CLI::detail::expected_max_vector_size)
      ->check(kFileName)
      ->needs(simulate);
  app.add_option("--sim-pace", options.sim_pace_ms,
                 "with --simulate: the simulated meter takes MS milliseconds for each reply, so "
                 "that a download's progress can be followed")
      ->type_name("MS")
      ->check(CLI::Range(0, 2000))
      ->needs(simulate);
  app.add_option_function<std::string>(
         "--sim-unplug",
         [&options](const std::string& text) {
           const std::size_t colon = text.find(':');
           const std::optional<int> read = ParseWholeInt(text.substr(0, colon));
           const std::optional<int> after =
               colon == std::string::npos ? 0 : ParseWholeInt(text.substr(colon + 1));
           if (!read || !after) {
             throw CLI::ValidationError("--sim-unplug", "takes READ[:MS], not '" + text + "'");
           }
           options.sim_unplug_at_read = *read;
           options.sim_replug_after_ms = *after;
         },
         "with --simulate: unplug the meter just before the READ-th read and plug it back in "
         "after MS milliseconds (for tests)")
      ->group("")
      ->needs(simulate);
  app.add_option("--sim-meters", options.sim_meters,
                 "with --simulate: this many simulated meters are attached (for tests)")
      ->check(CLI::Range(1, 100))
      ->group("")
      ->needs(simulate);
}

ParsedOptions ParseOptions(const std::vector<std::string>& arguments) {
  WindowCommandLine command_line;
  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
  try {
    command_line.app.parse(reversed);
  } catch (const CLI::ParseError& error) {
    return {std::nullopt, error.what()};
  }
  return {command_line.options, {}};
}

std::string UsageText() {
  return WindowCommandLine().app.help();
}

}  // namespace halvane
