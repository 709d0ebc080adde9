#include "records/atomic_file.h"
#include "records/concat.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <system_error>

namespace halvane {

namespace {

// A name beside the target that no other writer uses; created exclusively ("x"), so a file or
// link planted under that name is never opened.
std::FILE* CreateTemporaryBeside(const std::filesystem::path& target,
                                 std::filesystem::path& temporary) {
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    temporary = target;
    temporary += Concat({".", std::to_string(random()), ".part"});
    if (std::FILE* file = std::fopen(temporary.string().c_str(), "wbx")) {
      return file;
    }
    if (errno != EEXIST) {
      return nullptr;
    }
  }
  return nullptr;
}

std::string Failure(const std::filesystem::path& target, int error) {
  return Concat({"The file ", target.string(), " could not be written: ", std::strerror(error)});
}

}  // namespace

std::optional<std::string> WriteFileAtomically(const std::filesystem::path& target,
                                               std::string_view content) {
  std::filesystem::path temporary;
  std::FILE* file = CreateTemporaryBeside(target, temporary);
  if (file == nullptr) {
    return Failure(target, errno);
  }
  const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  const int write_error = errno;
  const bool closed = std::fclose(file) == 0;
  const int close_error = errno;
  std::error_code ignored;
  if (!written || !closed) {
    std::filesystem::remove(temporary, ignored);
    return Failure(target, written ? close_error : write_error);
  }
  std::error_code renamed;
  std::filesystem::rename(temporary, target, renamed);
  if (renamed) {
    std::filesystem::remove(temporary, ignored);
    return Concat({"The file ", target.string(), " could not be written: ", renamed.message()});
  }
  return std::nullopt;
}

}  // namespace halvane
