#include "cli/command_output.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "cli/exit_codes.h"
#include "cli/meter_session.h"
#include "records/atomic_file.h"

namespace halvane {

int WriteOutput(const std::filesystem::path& target, std::string_view content) {
  if (target.empty()) {
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
