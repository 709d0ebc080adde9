#include "live/temp_record_file.h"

#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace halvane {

namespace {

#ifdef _WIN32
void MakeFolder(const std::filesystem::path& folder) {
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
}

// CREATE_NEW fails on anything at the path, a link included.
void CreateEmptyFile(const std::filesystem::path& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
  }
}
#else
// The program's own folder is private to the user; the folders above it are left as they are.
void MakeFolder(const std::filesystem::path& folder) {
  std::error_code ignored;
  std::filesystem::create_directories(folder.parent_path(), ignored);
  ::mkdir(folder.c_str(), 0700);
}

// O_EXCL|O_NOFOLLOW: nothing planted at the path after it was cleared is followed or reused.
void CreateEmptyFile(const std::filesystem::path& path) {
  const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (file >= 0) {
    ::close(file);
  }
}
#endif

}  // namespace

std::string TempRecordFileName(int program) {
  return program <= 1 ? kTempRecordFileName : "Halvane-" + std::to_string(program) + ".tmp";
}

void PrepareTempRecordFolder(const std::filesystem::path& folder) {
  MakeFolder(folder);
}

std::filesystem::path PrepareTempRecordFile(const std::filesystem::path& folder,
                                            const std::string& name) {
  MakeFolder(folder);
  const std::filesystem::path path = folder / name;
  // Removing the path removes a planted link itself, never the file it points to.
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  CreateEmptyFile(path);
  return path;
}

}  // namespace halvane
