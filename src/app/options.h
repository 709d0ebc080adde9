#pragma once
// The command line options both programs share, and the window program's command line.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/usb.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace halvane {

struct Options {
  bool simulate = false;
  MeterIds device;
  std::string device_path;           // empty: the first meter found
  std::filesystem::path trace_file;  // empty: no trace
  // What the simulated meter's data logger holds instead of its samples; empty: the samples.
  std::filesystem::path sim_flash_file;
  std::vector<std::filesystem::path> sim_sd_files;
  // For tests: the simulated meter is unplugged at this read (0: never) and comes back after
  // this long (0: never).
  int sim_unplug_at_read = 0;
  int sim_replug_after_ms = 0;
  int sim_pace_ms = 0;  // how long the simulated meter takes for each reply
  // For tests and figures: how many simulated meters are attached.
  int sim_meters = 1;
  bool show_help = false;
  bool show_version = false;
};

struct ParsedOptions {
  std::optional<Options> options;  // nullopt when the command line is wrong
  std::string error;               // why, for the user
};

// "VID:PID" in hexadecimal, each 1 to 4 digits, an optional 0x prefix each.
std::optional<MeterIds> ParseDeviceIds(std::string_view text);

// Adds --simulate, --device, --path, --trace, --sim-flash, --sim-sd and --sim-pace, which fill
// `options`, and the testing options --sim-unplug READ[:MS] and --sim-meters N, left out of the
// help.
// `options` must outlive the parse.
void AddMeterOptions(CLI::App& app, Options& options);

// Adds an option or, for a name without dashes, an argument that names a file. The text of
// the command line is UTF-8 (halvane-cli takes care of that on Windows); it becomes a path
// without passing through the system's code page.
CLI::Option* AddPathOption(CLI::App& app, const std::string& name, std::filesystem::path& path,
                           const std::string& description);

// The window program's command line.
ParsedOptions ParseOptions(const std::vector<std::string>& arguments);

std::string UsageText();

}  // namespace halvane
