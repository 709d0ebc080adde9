#include "monitor/private_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace halvane {

namespace {

std::string Reason(const std::filesystem::path& path, int error) {
  return path.string() + ": " + std::strerror(error);
}

bool SyncFolder(const std::filesystem::path& folder) {
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) {
    return false;
  }
  const bool synced = ::fsync(descriptor) == 0;
  ::close(descriptor);
  return synced;
}

bool WriteAll(int descriptor, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = ::write(descriptor, content.data(), content.size());
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return false;
    }
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

bool MakePrivateFolder(const std::filesystem::path& folder, std::string& error) {
  std::error_code created;
  std::filesystem::create_directories(folder, created);
  struct stat status {};
  if (::lstat(folder.c_str(), &status) != 0) {
    error = Reason(folder, created ? created.value() : errno);
    return false;
  }
  if (!S_ISDIR(status.st_mode)) {
    error = folder.string() + " is not a folder";
    return false;
  }
  if (status.st_uid != ::geteuid()) {
    error = folder.string() + " belongs to another user";
    return false;
  }
  if ((status.st_mode & 07777) != 0700 && ::chmod(folder.c_str(), 0700) != 0) {
    error = Reason(folder, errno);
    return false;
  }
  return true;
}

bool WriteSyncedFile(const std::filesystem::path& target, std::string_view content,
                     std::string& error) {
  std::filesystem::path temporary = target;
  temporary += ".part";
  const int descriptor =
      ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (descriptor < 0) {
    error = Reason(temporary, errno);
    return false;
  }
  const bool written = WriteAll(descriptor, content) && ::fsync(descriptor) == 0;
  const int write_error = errno;
  const bool closed = ::close(descriptor) == 0;
  if (!written || !closed) {
    error = Reason(target, written ? errno : write_error);
    ::unlink(temporary.c_str());
    return false;
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    error = Reason(target, errno);
    ::unlink(temporary.c_str());
    return false;
  }
  if (!SyncFolder(target.parent_path().empty() ? "." : target.parent_path())) {
    error = Reason(target.parent_path(), errno);
    return false;
  }
  return true;
}

std::optional<std::string> ReadOwnerOnlyFile(const std::filesystem::path& path,
                                             std::string& error) {
  // The checks look at the file that is read, not at whatever the name points to later.
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat status {};
  if (descriptor < 0 || ::fstat(descriptor, &status) != 0) {
    error = Reason(path, errno);
    if (descriptor >= 0) {
      ::close(descriptor);
    }
    return std::nullopt;
  }
  std::optional<std::string> text;
  if (status.st_uid != ::geteuid() || (status.st_mode & 077) != 0) {
    error = path.string() + " may be read by others: make it yours alone (chmod 600)";
  } else {
    text.emplace();
    std::array<char, 4096> block{};
    ssize_t got = 0;
    while ((got = ::read(descriptor, block.data(), block.size())) > 0) {
      text->append(block.data(), static_cast<std::size_t>(got));
    }
    if (got < 0) {
      error = Reason(path, errno);
      text.reset();
    }
  }
  ::close(descriptor);
  return text;
}

}  // namespace halvane
