#pragma once
// Files in the tests: what the program wrote, read back; the expected files of tests/data,
// compared whole.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

}  // namespace halvane::test
