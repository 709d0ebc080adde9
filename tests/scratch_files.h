#pragma once
// What a test's files need around them: a folder of their own, devices to write into, and a
// disk that fills up.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace halvane::test {

// A folder of its own, removed with everything in it at the end.
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
  std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

  // The device /dev/null or /dev/full (`name`); as root a copy made in this folder, so that a
  // writer that wrongly replaces a device replaces only the copy.
  std::filesystem::path Device(const std::string& name) const {
    const std::filesystem::path copy = path_ / name;
    if (mknod(copy.c_str(), S_IFCHR | 0666, makedev(1, name == "null" ? 3 : 7)) == 0) {
      return copy;
    }
    return std::filesystem::path("/dev") / name;
  }

 private:
  std::filesystem::path path_;
};

// A full disk: no file of this process may grow past `bytes` while the object lives. A write
// that crosses the limit writes what fits and fails with EFBIG.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::uint64_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_limit_);
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);  // a failed write, instead of the end
    rlimit limit = old_limit_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_limit_);
    std::signal(SIGXFSZ, old_handler_);
  }

 private:
  rlimit old_limit_{};
  void (*old_handler_)(int) = nullptr;
};

}  // namespace halvane::test
