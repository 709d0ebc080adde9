#pragma once
// Files in the tests: what the program wrote, read back; the expected files of tests/data,
// compared whole; and a scratch folder that goes with everything in it.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace halvane::test {

inline std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The lines of `text`, each without its LF.
inline std::vector<std::string> TextLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

// A file of tests/data, named by its path below that folder.
inline std::filesystem::path DataPath(const std::string& name) {
  return std::filesystem::path(HALVANE_TEST_DATA) / name;
}
inline std::string DataText(const std::string& name) {
  return FileText(DataPath(name));
}

// Expects `actual` to be the data file `name`, byte for byte. With HALVANE_UPDATE_TEST_DATA set
// in the environment the file is written instead: for a layout changed on purpose, whose new
// files are then read and committed.
inline void ExpectDataFile(const std::string& actual, const std::string& name) {
  if (std::getenv("HALVANE_UPDATE_TEST_DATA") != nullptr) {
    std::filesystem::create_directories(DataPath(name).parent_path());
    std::ofstream(DataPath(name), std::ios::binary) << actual;
    return;
  }
  EXPECT_EQ(actual, DataText(name)) << "tests/data/" << name;
}

// A fresh folder of its own in the temporary folder, removed with its contents at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::mt19937_64 random(std::random_device{}() ^
                           std::chrono::steady_clock::now().time_since_epoch().count());
    do {
      path_ = std::filesystem::temp_directory_path() / ("halvane-test-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(path_));
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace halvane::test
