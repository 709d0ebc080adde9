#include "live/line_log.h"

#include <fcntl.h>

#include <fstream>
#include <optional>

namespace halvane {

std::unique_ptr<LineLog> LineLog::OpenFile(const std::filesystem::path& path, std::string& error) {
  int failure = 0;
  FileDescriptor file = FileDescriptor::Open(path, O_WRONLY | O_APPEND | O_CREAT, 0666, failure);
  if (!file.IsOpen()) {
    error = ErrorText(failure);
    return nullptr;
  }
  return std::unique_ptr<LineLog>(new LineLog(std::move(file), path));
}

std::unique_ptr<LineLog> LineLog::StandardOutput() {
  return std::unique_ptr<LineLog>(new LineLog(FileDescriptor::StandardOutput(), {}));
}

bool LineLog::Empty() const {
  const std::optional<FileFacts> facts = file_.Facts();
  return facts && facts->regular ? facts->size == 0 : !written_;
}

std::string LineLog::FirstLine() const {
  const std::optional<FileFacts> facts = file_.Facts();
  if (path_.empty() || !facts || !facts->regular) {
    return {};
  }
  constexpr std::size_t kLongest = 64 * 1024;
  std::ifstream in(path_, std::ios::binary);
  std::string line;
  for (char c = 0; line.size() < kLongest && in.get(c) && c != '\n';) {
    line += c;
  }
  if (line.ends_with('\r')) {
    line.pop_back();
  }
  return line;
}

bool LineLog::Append(std::string_view lines, std::string& error) {
  const std::optional<FileFacts> before = file_.Facts();
  std::size_t written = 0;
  const int failure = file_.WriteAll(lines, written);
  written_ = written_ || written > 0;
  if (failure == 0) {
    return true;
  }
  error = ErrorText(failure);
  const std::optional<FileFacts> after = file_.Facts();
  if (written > 0 && before && after && before->regular && after->size == before->size + written) {
    file_.CutBack(before->size);
  }
  return false;
}

}  // namespace halvane
