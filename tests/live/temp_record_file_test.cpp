#include "live/temp_record_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace halvane {
namespace {

using std::filesystem::perms;

std::string Contents(const std::filesystem::path& path) {
  std::ifstream file(path);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

perms Permissions(const std::filesystem::path& path) {
  return std::filesystem::symlink_status(path).permissions() & perms::all;
}

TEST(TempRecordFileTest, AFreshPrivateEmptyFileEveryStartAndAPlantedLinksTargetUntouched) {
  char scratch_template[] = "/tmp/halvane-temp-file-XXXXXX";
  ASSERT_NE(mkdtemp(scratch_template), nullptr);
  const std::filesystem::path scratch = scratch_template;
  const std::filesystem::path folder = scratch / "cache" / "halvane";

  const std::filesystem::path file = PrepareTempRecordFile(folder);
  EXPECT_EQ(file, folder / "Halvane.tmp");
  EXPECT_EQ(Permissions(folder), perms::owner_all);
  EXPECT_EQ(Permissions(file), perms::owner_read | perms::owner_write);
  EXPECT_EQ(Contents(file), "");

  std::ofstream(file) << "last run's record";
  PrepareTempRecordFile(folder);
  EXPECT_EQ(Contents(file), "");

  const std::filesystem::path target = scratch / "someone_elses_file";
  std::ofstream(target) << "keep me";
  std::filesystem::remove(file);
  std::filesystem::create_symlink(target, file);
  PrepareTempRecordFile(folder);
  EXPECT_EQ(Contents(target), "keep me");
  EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(file)));
  EXPECT_EQ(Contents(file), "");
  EXPECT_EQ(Permissions(file), perms::owner_read | perms::owner_write);

  std::filesystem::remove_all(scratch);
}

}  // namespace
}  // namespace halvane
