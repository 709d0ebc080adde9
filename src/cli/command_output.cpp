#include "cli/command_output.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "cli/exit_codes.h"
#include "cli/meter_session.h"
#include "files/utf8_path.h"
#include "records/atomic_file.h"

namespace halvane {

bool IsStandardOutput(const std::filesystem::path& target) {
  return target.empty() || target == "-";
}

int CheckOutputFolder(const std::filesystem::path& target) {
  const std::filesystem::path folder = target.parent_path();
  std::error_code error;
  if (IsStandardOutput(target) || folder.empty() || std::filesystem::is_directory(folder, error)) {
    return kExitSuccess;
  }
  SayError("cannot write " + Utf8Text(target) + ": there is no folder " + Utf8Text(folder));
  return kExitFailure;
}

int WriteOutput(const std::filesystem::path& target, std::string_view content) {
  if (IsStandardOutput(target)) {
    if (std::fwrite(content.data(), 1, content.size(), stdout) != content.size() ||
        std::fflush(stdout) != 0) {
      SayError("cannot write to standard output");
      return kExitFailure;
    }
    return kExitSuccess;
  }
  if (const std::optional<std::string> failure = WriteFileAtomically(target, content)) {
    SayError(*failure);
    return kExitFailure;
  }
  return kExitSuccess;
}

PageProgress TerminalProgress(std::string_view what) {
  if (isatty(STDERR_FILENO) == 0) {
    return {};
  }
  return [label = std::string(what)](std::uint64_t page, std::uint64_t pages) {
    std::fprintf(stderr, "\r%s: page %llu of %llu", label.c_str(),
                 static_cast<unsigned long long>(page), static_cast<unsigned long long>(pages));
    return true;
  };
}

void EndTerminalProgress() {
  if (isatty(STDERR_FILENO) != 0) {
    std::fputc('\n', stderr);
  }
}

}  // namespace halvane
