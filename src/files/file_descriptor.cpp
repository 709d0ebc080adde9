#include "files/file_descriptor.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <utility>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace halvane {

namespace {

#ifdef _WIN32
int OpenPath(const std::filesystem::path& path, int flags, int mode) {
  const int permissions = (mode & 0200) != 0 ? _S_IREAD | _S_IWRITE : _S_IREAD;
  return _wopen(path.c_str(), flags | _O_BINARY | _O_NOINHERIT, permissions);
}
int WriteSome(int descriptor, const char* bytes, std::size_t size) {
  // _write takes an unsigned int; a larger write goes on in the next round.
  constexpr std::size_t kLargest = 1u << 30;
  return _write(descriptor, bytes, static_cast<unsigned>(size < kLargest ? size : kLargest));
}
int SyncDescriptor(int descriptor) {
  return _commit(descriptor);
}
int Truncate(int descriptor, std::uint64_t size) {
  return _chsize_s(descriptor, static_cast<long long>(size)) == 0 ? 0 : -1;
}
int CloseDescriptor(int descriptor) {
  return _close(descriptor);
}
using StatBuffer = struct _stat64;
int StatDescriptor(int descriptor, StatBuffer& facts) {
  return _fstat64(descriptor, &facts);
}
bool IsRegular(const StatBuffer& facts) {
  return (facts.st_mode & _S_IFMT) == _S_IFREG;
}
constexpr int kStandardOutput = 1;
#else
int OpenPath(const std::filesystem::path& path, int flags, int mode) {
  return ::open(path.c_str(), flags | O_CLOEXEC, static_cast<mode_t>(mode));
}
ssize_t WriteSome(int descriptor, const char* bytes, std::size_t size) {
  return ::write(descriptor, bytes, size);
}
int SyncDescriptor(int descriptor) {
  return ::fsync(descriptor);
}
int Truncate(int descriptor, std::uint64_t size) {
  return ::ftruncate(descriptor, static_cast<off_t>(size));
}
int CloseDescriptor(int descriptor) {
  return ::close(descriptor);
}
using StatBuffer = struct stat;
int StatDescriptor(int descriptor, StatBuffer& facts) {
  return ::fstat(descriptor, &facts);
}
bool IsRegular(const StatBuffer& facts) {
  return S_ISREG(facts.st_mode);
}
constexpr int kStandardOutput = STDOUT_FILENO;
#endif

// 0 when `result` is, else errno.
int Outcome(int result) {
  return result == 0 ? 0 : errno;
}

}  // namespace

FileDescriptor FileDescriptor::Open(const std::filesystem::path& path, int flags, int mode,
                                    int& error) {
  const int descriptor = OpenPath(path, flags, mode);
  error = descriptor < 0 ? errno : 0;
  return FileDescriptor(descriptor, true);
}

FileDescriptor FileDescriptor::StandardOutput() {
  return FileDescriptor(kStandardOutput, false);
}

FileDescriptor::~FileDescriptor() {
  Close();
}

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)), owned_(other.owned_) {}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
  if (this != &other) {
    Close();
    descriptor_ = std::exchange(other.descriptor_, -1);
    owned_ = other.owned_;
  }
  return *this;
}

int FileDescriptor::WriteAll(std::string_view bytes, std::size_t& written) {
  written = 0;
  while (written < bytes.size()) {
    const auto count = WriteSome(descriptor_, bytes.data() + written, bytes.size() - written);
    if (count < 0) {
      if (errno == EINTR) {
        continue;
      }
      return errno;
    }
    if (count == 0) {
      return ENOSPC;  // nothing written and no reason given: a full device
    }
    written += static_cast<std::size_t>(count);
  }
  return 0;
}

int FileDescriptor::Sync() {
  return Outcome(SyncDescriptor(descriptor_));
}

int FileDescriptor::CutBack(std::uint64_t size) {
  return Outcome(Truncate(descriptor_, size));
}

std::optional<FileFacts> FileDescriptor::Facts() const {
  StatBuffer facts{};
  if (StatDescriptor(descriptor_, facts) != 0) {
    return std::nullopt;
  }
  return FileFacts{IsRegular(facts), static_cast<std::uint64_t>(facts.st_size)};
}

int FileDescriptor::TakeOwnerAndMode([[maybe_unused]] const std::filesystem::path& original) {
#ifdef _WIN32
  return 0;
#else
  struct stat facts {};
  if (::stat(original.c_str(), &facts) != 0) {
    return errno;
  }
  // Only root may give a file away; anyone else's copy stays theirs, as any new file would.
  // The owner goes first: changing it clears the set-user-ID bits that the mode then restores.
  [[maybe_unused]] const int ignored = ::fchown(descriptor_, facts.st_uid, facts.st_gid);
  return Outcome(::fchmod(descriptor_, facts.st_mode & 07777));
#endif
}

int FileDescriptor::Close() {
  if (descriptor_ < 0) {
    return 0;
  }
  const int descriptor = std::exchange(descriptor_, -1);
  return owned_ ? Outcome(CloseDescriptor(descriptor)) : 0;
}

bool IsWindowsDeviceName([[maybe_unused]] const std::filesystem::path& path) {
#ifdef _WIN32
  int error = 0;
  const FileDescriptor device = FileDescriptor::Open(path, O_WRONLY, 0, error);
  const std::optional<FileFacts> facts = device.IsOpen() ? device.Facts() : std::nullopt;
  return facts && !facts->regular;
#else
  return false;
#endif
}

int SyncFolder([[maybe_unused]] const std::filesystem::path& folder) {
#ifdef _WIN32
  return 0;
#else
  const int descriptor =
      ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) {
    return errno;
  }
  const int result = Outcome(::fsync(descriptor));
  ::close(descriptor);
  return result;
#endif
}

std::string ErrorText(int error) {
  return std::strerror(error);
}

}  // namespace halvane
