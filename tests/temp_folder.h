#pragma once
// A folder of its own for a test's files, removed with everything in it at the end.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace halvane::test {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "halvane-XXXXXX").string();
    EXPECT_NE(mkdtemp(pattern.data()), nullptr);
    path_ = pattern;
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

  // The device /dev/null or /dev/full (`name`); as root a copy made in this folder, so that a
  // writer that wrongly replaces a device replaces only the copy.
  std::filesystem::path Device(const std::string& name) const {
    const std::filesystem::path copy = path_ / name;
    const unsigned minor = name == "null" ? 3 : 7;
    if (mknod(copy.c_str(), S_IFCHR | 0666, makedev(1, minor)) == 0) {
      return copy;
    }
    return std::filesystem::path("/dev") / name;
  }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace halvane::test
