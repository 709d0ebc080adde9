#include "app/options.h"

#include <charconv>

namespace halvane {

namespace {

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

ParsedOptions ParseOptions(const std::vector<std::string>& arguments) {
  Options options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    auto value = [&]() -> const std::string* {
      return i + 1 < arguments.size() ? &arguments[++i] : nullptr;
    };
    if (argument == "--simulate") {
      options.simulate = true;
    } else if (argument == "--help" || argument == "-h") {
      options.show_help = true;
    } else if (argument == "--version") {
      options.show_version = true;
    } else if (argument == "--device") {
      const std::string* ids = value();
      if (ids == nullptr) {
        return {std::nullopt, "--device needs VID:PID, for example --device 0483:5750"};
      }
      const auto parsed = ParseDeviceIds(*ids);
      if (!parsed) {
        return {std::nullopt, "--device takes VID:PID in hexadecimal, not '" + *ids + "'"};
      }
      options.device = *parsed;
    } else if (argument == "--trace") {
      const std::string* file = value();
      if (file == nullptr || file->empty()) {
        return {std::nullopt, "--trace needs a file name"};
      }
      options.trace_file = *file;
    } else if (argument == "--sim-flash") {
      const std::string* file = value();
      if (file == nullptr || file->empty()) {
        return {std::nullopt, "--sim-flash needs a file name"};
      }
      options.sim_flash_file = *file;
    } else if (argument == "--sim-sd") {
      // The files run up to the next option.
      const std::size_t first = options.sim_sd_files.size();
      while (i + 1 < arguments.size() && !arguments[i + 1].starts_with("--")) {
        options.sim_sd_files.push_back(arguments[++i]);
      }
      if (options.sim_sd_files.size() == first) {
        return {std::nullopt, "--sim-sd needs one or more file names"};
      }
    } else {
      return {std::nullopt, "unknown option '" + argument + "'"};
    }
  }
  if (!options.simulate && (!options.sim_flash_file.empty() || !options.sim_sd_files.empty())) {
    return {std::nullopt, "--sim-flash and --sim-sd load the simulated meter and need --simulate"};
  }
  return {options, {}};
}

std::string UsageText() {
  return "Usage: halvane [options]\n"
         "Live display, remote control and data download for the sound level meter.\n"
         "\n"
         "Options:\n"
         "  --simulate         use the built-in simulated meter instead of the instrument\n"
         "  --device VID:PID   look for the meter under these USB IDs (hexadecimal,\n"
         "                     default 0483:5750)\n"
         "  --trace FILE       append every report written to and read from the meter to FILE\n"
         "                     (milliseconds, W or R, the bytes in hex), and each search for\n"
         "                     the meter: the devices found and why each was passed over (S)\n"
         "  --sim-flash FILE   with --simulate: the simulated meter's flash memory holds the\n"
         "                     raw image in FILE (at most 1015807 bytes)\n"
         "  --sim-sd FILE...   with --simulate: the simulated meter's SD card holds one raw set\n"
         "                     text per FILE, in this order; an empty FILE is an empty entry\n"
         "  --help             show this help\n"
         "  --version          show the version\n";
}

}  // namespace halvane
