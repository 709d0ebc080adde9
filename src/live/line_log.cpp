#include "live/line_log.h"

#include <cerrno>
#include <cstring>
#include <system_error>

namespace halvane {

std::unique_ptr<LineLog> LineLog::OpenFile(const std::filesystem::path& path, std::string& error) {
  std::FILE* file = std::fopen(path.string().c_str(), "ab");
  if (file == nullptr) {
    error = std::strerror(errno);
    return nullptr;
  }
  // Unbuffered: each line goes to the file in one write, and a failed write leaves nothing
  // behind in a buffer that a later flush or the close would still write.
  std::setvbuf(file, nullptr, _IONBF, 0);
  std::error_code size_error;
  std::uintmax_t size = std::filesystem::file_size(path, size_error);
  if (size_error) {
    size = 0;  // not a regular file, such as a terminal or a pipe
  }
  return std::unique_ptr<LineLog>(new LineLog(file, path, size));
}

std::unique_ptr<LineLog> LineLog::StandardOutput() {
  return std::unique_ptr<LineLog>(new LineLog(stdout, {}, 0));
}

LineLog::LineLog(std::FILE* file, std::filesystem::path path, std::uintmax_t size)
    : file_(file), path_(std::move(path)), size_(size) {}

LineLog::~LineLog() {
  if (!path_.empty()) {
    std::fclose(file_);
  }
}

bool LineLog::Append(std::string_view lines, std::string& error) {
  if (std::fwrite(lines.data(), 1, lines.size(), file_) == lines.size() &&
      std::fflush(file_) == 0) {
    size_ += lines.size();
    return true;
  }
  error = std::strerror(errno);
  std::clearerr(file_);
  if (!path_.empty()) {
    std::error_code ignored;
    std::filesystem::resize_file(path_, size_, ignored);
  }
  return false;
}

}  // namespace halvane
