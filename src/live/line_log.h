#pragma once
// A log that lines are appended to, each written whole and at once: a reader sees every line as
// soon as it is written, and a full disk never leaves half a line in a file. It works on the
// open file, never again by its path, so a log that is rotated (renamed, a new file put in its
// place) or shared with another writer is never cut back past this log's own lines.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "files/file_descriptor.h"

namespace halvane {

class LineLog {
 public:
  // `path` opened for appending, created when missing; whatever it is, a device or a FIFO
  // too. Null with the reason in `error` when it cannot be.
  static std::unique_ptr<LineLog> OpenFile(const std::filesystem::path& path, std::string& error);
  // Standard output, which may be a file the shell appends to (`>> file`).
  static std::unique_ptr<LineLog> StandardOutput();

  // Whether the output holds nothing yet, so that a header goes first: a regular file by its
  // size now, anything else (a terminal, a pipe) when this log has written nothing to it.
  bool Empty() const;
  // The first line a regular file already holds, without its line end (at most 64 KiB);
  // empty for a new file and anything else.
  std::string FirstLine() const;
  // Appends `lines`; false with the reason in `error` when they could not be written whole. A
  // regular file is then cut back by what this write added, unless another writer has
  // appended since, so it holds only whole lines.
  bool Append(std::string_view lines, std::string& error);

 private:
  LineLog(FileDescriptor file, std::filesystem::path path)
      : file_(std::move(file)), path_(std::move(path)) {}

  FileDescriptor file_;
  std::filesystem::path path_;  // empty for standard output
  bool written_ = false;
};

}  // namespace halvane
