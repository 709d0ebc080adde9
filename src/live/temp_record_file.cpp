#include "live/temp_record_file.h"

#include <fcntl.h>

#include <system_error>

#include "files/file_descriptor.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace halvane {

namespace {

#ifdef _WIN32
void MakeFolder(const std::filesystem::path& folder) {
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
}
#else
// The program's own folder is private to the user; the folders above it are left as they are.
void MakeFolder(const std::filesystem::path& folder) {
  std::error_code ignored;
  std::filesystem::create_directories(folder.parent_path(), ignored);
  ::mkdir(folder.c_str(), 0700);
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
  // Removing the path removes a planted link itself, never the file it points to; creating
  // exclusively fails on anything planted at the path after that, a link included.
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  int error = 0;
  FileDescriptor::Open(path, O_WRONLY | O_CREAT | O_EXCL, 0600, error);
  return path;
}

}  // namespace halvane
