// The log of live lines: a failed write takes back only its own bytes, whatever happened to
// the file meanwhile; the log is never passed on to programs started later.

#include "live/line_log.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <array>
#include <fstream>

#include "tests/file_text.h"
#include "tests/scratch_files.h"

namespace halvane {
namespace {

namespace fs = std::filesystem;

using test::FileText;

TEST(LineLog, AFailedWriteTakesBackOnlyWhatItAdded) {
  // What happens between the first line and the failing one; what the log's path and its
  // rotated path hold afterwards.
  const std::array<std::array<std::string_view, 3>, 3> cases{{
      {"nothing", "a\n", ""},
      {"rotation", "new file\n", "a\n"},
      {"another writer", "a\nb\n", ""},
  }};
  for (const auto& [meanwhile, log_text, rotated_text] : cases) {
    SCOPED_TRACE(meanwhile);
    const test::TempFolder dir;
    const fs::path path = dir / "levels.csv", rotated = dir / "levels.csv.1";
    std::string error;
    const std::unique_ptr<LineLog> log = LineLog::OpenFile(path, error);
    const std::unique_ptr<LineLog> other = LineLog::OpenFile(path, error);
    ASSERT_TRUE(log && other && log->Append("a\n", error)) << error;
    if (meanwhile == "rotation") {
      fs::rename(path, rotated);
      std::ofstream(path) << "new file\n";
    } else if (meanwhile == "another writer") {
      ASSERT_TRUE(other->Append("b\n", error)) << error;
    }
    {
      const test::FileSizeLimit full(7);  // room for part of the line
      EXPECT_FALSE(log->Append("ccccccc\n", error));
    }
    EXPECT_EQ(error, "File too large");
    EXPECT_EQ(FileText(path), log_text);
    EXPECT_EQ(FileText(rotated), rotated_text);
  }
}

TEST(LineLog, IsNotInheritedByProgramsStartedLater) {
  const test::TempFolder dir;
  std::string error;
  const std::unique_ptr<LineLog> log = LineLog::OpenFile(dir / "levels.csv", error);
  int found = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator("/proc/self/fd")) {
    std::error_code unreadable;
    if (fs::read_symlink(entry.path(), unreadable) == dir / "levels.csv") {
      EXPECT_NE(fcntl(std::stoi(entry.path().filename()), F_GETFD) & FD_CLOEXEC, 0);
      ++found;
    }
  }
  EXPECT_EQ(found, 1);
}

}  // namespace
}  // namespace halvane
