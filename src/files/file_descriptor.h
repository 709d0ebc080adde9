#pragma once
// An open file of the C runtime, owned and closed by one object, and the few calls on it that
// the writers need. POSIX and Windows have the same calls under other names (open/_wopen,
// fsync/_commit, ftruncate/_chsize_s); this is the one place where they differ. Every call
// returns 0 or the errno value of its failure.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace halvane {

struct FileFacts {
  bool regular = false;  // a regular file, not a device, FIFO, socket or folder
  std::uint64_t size = 0;
};

class FileDescriptor {
 public:
  // `path` opened with `flags` of open(2) (O_WRONLY, O_CREAT, O_EXCL, O_APPEND), always in
  // binary mode and closed on exec (never inherited by a program started later); a created
  // file gets `mode` less the umask. Not open, with `error` set, on failure.
  static FileDescriptor Open(const std::filesystem::path& path, int flags, int mode, int& error);
  // Standard output, left open by this object.
  static FileDescriptor StandardOutput();

  FileDescriptor() = default;
  ~FileDescriptor();
  FileDescriptor(FileDescriptor&& other) noexcept;
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  bool IsOpen() const { return descriptor_ >= 0; }
  // Writes all of `bytes`, going on after short writes and interruptions; `written` says how
  // many reached the file, also on failure.
  int WriteAll(std::string_view bytes, std::size_t& written);
  // Flushes what was written to the storage device.
  int Sync();
  // Cuts the file back to `size` bytes.
  int CutBack(std::uint64_t size);
  std::optional<FileFacts> Facts() const;
  // Gives the file the owner (where allowed) and the permission bits of `original`, which is
  // left as it is; nothing where the system has no such bits.
  int TakeOwnerAndMode(const std::filesystem::path& original);
  // Closes the file now; a failure here can be a failed write of data held back until then.
  int Close();

 private:
  FileDescriptor(int descriptor, bool owned) : descriptor_(descriptor), owned_(owned) {}

  int descriptor_ = -1;
  bool owned_ = true;
};

// Whether `path` is one of the device names of Windows (NUL, CON, COM1, also with an
// extension) that every folder has and none lists, so that the file system calls it missing.
// Always false elsewhere, where devices are files.
bool IsWindowsDeviceName(const std::filesystem::path& path);

// Flushes a folder's list of names to the storage device, so that a rename in it survives a
// power cut; nothing where the system does this by itself (Windows).
int SyncFolder(const std::filesystem::path& folder);

// The system's text for an errno value.
std::string ErrorText(int error);

}  // namespace halvane
