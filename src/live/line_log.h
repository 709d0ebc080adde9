#pragma once
// A log that lines are appended to, each written whole and at once: a reader sees every line as
// soon as it is written, and a full disk or a crash never leaves half a line in a file.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace halvane {

class LineLog {
 public:
  // `path` opened for appending, created when missing; null with the reason in `error` when it
  // cannot be.
  static std::unique_ptr<LineLog> OpenFile(const std::filesystem::path& path, std::string& error);
  // Standard output, flushed after every line.
  static std::unique_ptr<LineLog> StandardOutput();
  ~LineLog();
  LineLog(const LineLog&) = delete;
  LineLog& operator=(const LineLog&) = delete;

  // Whether nothing was ever written to it (a header goes first then).
  bool Empty() const { return size_ == 0; }
  // Appends `lines`; false with the reason in `error` when they could not be written whole. A
  // file is then cut back to where it ended before, so it holds only whole lines.
  bool Append(std::string_view lines, std::string& error);

 private:
  LineLog(std::FILE* file, std::filesystem::path path, std::uintmax_t size);

  std::FILE* file_;
  std::filesystem::path path_;  // empty for standard output
  std::uintmax_t size_;         // after the last whole write
};

}  // namespace halvane
