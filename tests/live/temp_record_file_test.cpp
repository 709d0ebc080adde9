#include "live/temp_record_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/file_text.h"
#include "tests/scratch_files.h"

namespace halvane {
namespace {

namespace fs = std::filesystem;

TEST(TempRecordFileTest, APrivateFolderAnEmptyFileInPlaceOfAPlantedLinkAndItsTargetUntouched) {
  const test::ScratchFolder scratch;
  const fs::path folder = scratch / "cache/halvane";
  const fs::path target = scratch / "someone_elses_file";
  std::ofstream(target) << "keep me";

  // The main window's start-up test empties the file of a last run.
  const fs::path file = PrepareTempRecordFile(folder);
  EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);
  fs::remove(file);
  fs::create_symlink(target, file);
  EXPECT_EQ(PrepareTempRecordFile(folder), folder / "Halvane.tmp");
  EXPECT_EQ(fs::file_size(target), 7u);
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(file)));
  EXPECT_EQ(fs::file_size(file), 0u);
  EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

}  // namespace
}  // namespace halvane
