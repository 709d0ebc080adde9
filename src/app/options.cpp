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
    } else {
      return {std::nullopt, "unknown option '" + argument + "'"};
    }
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
         "  --help             show this help\n"
         "  --version          show the version\n";
}

}  // namespace halvane
