#include "monitor/private_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <system_error>

#include "files/file_descriptor.h"

namespace halvane {

namespace {

std::string Reason(const std::filesystem::path& path, int error) {
  return path.string() + ": " + ErrorText(error);
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
  int failure = 0;
  FileDescriptor file =
      FileDescriptor::Open(temporary, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, 0600, failure);
  if (!file.IsOpen()) {
    error = Reason(temporary, failure);
    return false;
  }
  std::size_t written = 0;
  failure = file.WriteAll(content, written);
  if (failure == 0) {
    failure = file.Sync();
  }
  if (const int closed = file.Close(); failure == 0) {
    failure = closed;
  }
  if (failure == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
    failure = errno;
  }
  if (failure != 0) {
    error = Reason(target, failure);
    ::unlink(temporary.c_str());
    return false;
  }
  const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
  if (const int synced = SyncFolder(folder); synced != 0) {
    error = Reason(folder, synced);
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
