#include "records/atomic_file.h"

#include <fcntl.h>

#include <random>
#include <system_error>

#include "files/file_descriptor.h"
#include "files/utf8_path.h"
#include "records/concat.h"

namespace halvane {

namespace fs = std::filesystem;

namespace {

std::string Failure(const fs::path& target, const std::string& reason) {
  return Concat({"The file ", Utf8Text(target), " could not be written: ", reason});
}

// The file a chain of symbolic links ends at (which may not exist yet); `path` itself when it
// is no link.
fs::path LinkedFile(fs::path path, std::error_code& error) {
  constexpr int kMostLinks = 40;  // as the kernel allows
  for (int links = 0; fs::symlink_status(path, error).type() == fs::file_type::symlink; ++links) {
    if (links == kMostLinks) {
      error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
      return {};
    }
    path = path.parent_path() / fs::read_symlink(path, error);  // an absolute link replaces all
    if (error) {
      return {};
    }
  }
  error.clear();  // a path that does not exist yet is no failure
  return path;
}

// A device or a FIFO takes the bytes as they come; it cannot be replaced.
std::optional<std::string> WriteInPlace(const fs::path& target, std::string_view content) {
  int error = 0;
  FileDescriptor file = FileDescriptor::Open(target, O_WRONLY, 0, error);
  std::size_t written = 0;
  if (error == 0) {
    error = file.WriteAll(content, written);
  }
  if (const int closed = file.Close(); error == 0) {
    error = closed;
  }
  return error == 0 ? std::nullopt : std::optional(Failure(target, ErrorText(error)));
}

// A name beside `file` that no other writer uses, created exclusively: a file or link planted
// under that name is never opened. Private until it has the permissions of the file it
// replaces; a new file gets those of any new file.
FileDescriptor CreateTemporaryBeside(const fs::path& file, bool replaces, fs::path& temporary,
                                     int& error) {
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    temporary = file;
    temporary += Concat({".", std::to_string(random()), ".part"});
    FileDescriptor created =
        FileDescriptor::Open(temporary, O_WRONLY | O_CREAT | O_EXCL, replaces ? 0600 : 0666, error);
    if (error != EEXIST) {
      return created;
    }
  }
  return {};
}

std::optional<std::string> Replace(const fs::path& target, const fs::path& file, bool exists,
                                   std::string_view content) {
  fs::path temporary;
  int error = 0;
  FileDescriptor written = CreateTemporaryBeside(file, exists, temporary, error);
  if (!written.IsOpen()) {
    return Failure(target, ErrorText(error));
  }
  std::size_t count = 0;
  if (exists) {
    error = written.TakeOwnerAndMode(file);
  }
  if (error == 0) {
    error = written.WriteAll(content, count);
  }
  if (error == 0) {
    error = written.Sync();
  }
  if (error == 0) {
    error = written.Close();
  }
  std::error_code renamed;
  if (error == 0) {
    fs::rename(temporary, file, renamed);
  }
  if (error != 0 || renamed) {
    written.Close();
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return Failure(target, error != 0 ? ErrorText(error) : renamed.message());
  }
  SyncFolder(file.parent_path());
  return std::nullopt;
}

}  // namespace

std::optional<std::string> WriteFileAtomically(const fs::path& target, std::string_view content) {
  std::error_code error;
  const fs::file_status status = fs::status(target, error);
  if (status.type() != fs::file_type::not_found && error) {
    return Failure(target, error.message());
  }
  if (fs::exists(status) ? !fs::is_regular_file(status) : IsWindowsDeviceName(target)) {
    return WriteInPlace(target, content);
  }
  const fs::path file = LinkedFile(target, error);
  if (error) {
    return Failure(target, error.message());
  }
  return Replace(target, file, fs::exists(status), content);
}

}  // namespace halvane
