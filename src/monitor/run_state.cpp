#include "monitor/run_state.h"

#include <charconv>
#include <fstream>

#include "monitor/private_files.h"

namespace halvane {

std::filesystem::path RunStatePath(const std::filesystem::path& state_folder,
                                   std::string_view serial) {
  std::string name = "run-";
  for (const char c : serial) {
    // A serial number is the device's text: only letters, digits and '-' go into a file name.
    const bool plain =
        (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-';
    name += plain ? c : '_';
  }
  return state_folder / (name + ".txt");
}

std::optional<PreviousRun> LoadRunState(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::string until, closed;
  if (!(in >> until >> closed)) {
    return std::nullopt;
  }
  PreviousRun run;
  const auto parsed =
      std::from_chars(until.data(), until.data() + until.size(), run.readings_until_ms);
  if (parsed.ec != std::errc() || (closed != "closed" && closed != "running")) {
    return std::nullopt;
  }
  run.closed = closed == "closed";
  return run;
}

bool SaveRunState(const std::filesystem::path& file, const PreviousRun& run, std::string& error) {
  return WriteSyncedFile(
      file, std::to_string(run.readings_until_ms) + (run.closed ? " closed\n" : " running\n"),
      error);
}

}  // namespace halvane
