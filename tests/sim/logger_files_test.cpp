#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "sim/logger_files.h"
#include "sim/sd_set_text.h"
#include "tests/file_text.h"
#include "tests/scratch_files.h"

namespace halvane {
namespace {

namespace fs = std::filesystem;

class LoggerFilesTest : public ::testing::Test {
 protected:
  LoggerFilesTest() {
    // Loading leaves what the logger held alone when it fails.
    state.sd_entries = {std::string("held")};
    state.flash_image = {1, 2, 3};
  }

  fs::path Write(const std::string& name, const std::string& bytes) {
    const fs::path file = folder / name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
  }
  void ExpectRefusedAndUnchanged(const std::optional<std::string>& error, const std::string& says) {
    ASSERT_TRUE(error);
    EXPECT_NE(error->find(says), std::string::npos) << *error;
    EXPECT_EQ(state.sd_entries, (std::vector<std::optional<std::string>>{"held"}));
    EXPECT_EQ(state.flash_image, (std::vector<std::uint8_t>{1, 2, 3}));
  }

  const test::ScratchFolder folder;
  MeterState state;
};

TEST_F(LoggerFilesTest, FilesBecomeTheFlashImageAndTheCardEntriesAsTheyAre) {
  std::string image(1015807, '\0');
  for (std::size_t i = 0; i < image.size(); ++i) {
    image[i] = static_cast<char>(i % 253);
  }
  EXPECT_FALSE(LoadFlashImage(Write("full.bin", image), state));
  EXPECT_EQ(std::string(state.flash_image.begin(), state.flash_image.end()), image);
  EXPECT_FALSE(LoadFlashImage(Write("empty.bin", ""), state));
  EXPECT_TRUE(state.flash_image.empty());

  const std::string set = ComposeSdSetText({.mode = LoggedMode::Octave, .records = 4});
  const std::string odd_set("\x00\x00\x01\x00\xFF\x00\r\n", 8);  // says 256 bytes, holds fewer
  EXPECT_FALSE(
      LoadSdCard({Write("a.set", set), Write("none.set", ""), Write("b.set", odd_set)}, state));
  EXPECT_EQ(state.sd_entries,
            (std::vector<std::optional<std::string>>{set, std::nullopt, odd_set}));
}

TEST_F(LoggerFilesTest, UnreadableOversizedOrLengthlessFilesAreRefusedWithTheReason) {
  ExpectRefusedAndUnchanged(LoadFlashImage(folder / "missing.bin", state), "missing.bin");
  ExpectRefusedAndUnchanged(LoadFlashImage(Write("big.bin", std::string(1015808, 'x')), state),
                            "1015808 bytes; at most 1015807");
  const fs::path good = Write("good.set", ComposeSdSetText({}));
  ExpectRefusedAndUnchanged(LoadSdCard({good, folder.Path()}, state), "cannot read");
  ExpectRefusedAndUnchanged(
      LoadSdCard({good, Write("short.set", std::string("\x00\x01\x02", 3))}, state), "too short");
  // A length field of 16 MiB + 1.
  ExpectRefusedAndUnchanged(
      LoadSdCard({Write("long.set", std::string("\x01\x00\x00\x01", 4))}, state),
      "16777217 bytes; at most 16777216");
  ExpectRefusedAndUnchanged(LoadSdCard({Write("huge.set", std::string(16777217, ' '))}, state),
                            "16777217 bytes; at most 16777216");
}

}  // namespace
}  // namespace halvane
