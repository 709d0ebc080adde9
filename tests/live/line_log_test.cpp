// The log of live lines: a failed write takes back only its own bytes, whatever happened to
// the file meanwhile; the log is never passed on to programs started later.

#include "live/line_log.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "tests/file_size_limit.h"
#include "tests/file_text.h"
#include "tests/temp_folder.h"

namespace halvane {
namespace {

namespace fs = std::filesystem;

using test::FileText;

std::unique_ptr<LineLog> OpenLog(const fs::path& path) {
  std::string error;
  std::unique_ptr<LineLog> log = LineLog::OpenFile(path, error);
  EXPECT_TRUE(log) << error;
  return log;
}

TEST(LineLog, AFailedWriteTakesBackOnlyWhatItAdded) {
  struct Case {
    const char* what;
    std::function<void(const fs::path& log)> meanwhile;  // between the first and the failing line
    std::string log_text;                                // at the log's path afterwards
    std::string rotated_text;                            // at its rotated path; "-": none there
  };
  const Case cases[] = {
      {"nothing", [](const fs::path&) {}, "a\n", "-"},
      {"the log rotated",
       [](const fs::path& log) {
         fs::rename(log, fs::path(log) += ".1");
         std::ofstream(log) << "new file\n";
       },
       "new file\n", "a\n"},
      {"another writer",
       [](const fs::path& log) {
         std::string error;
         EXPECT_TRUE(OpenLog(log)->Append("b\n", error)) << error;
       },
       "a\nb\n", "-"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const test::TempFolder dir;
    const fs::path path = dir / "levels.csv";
    std::unique_ptr<LineLog> log = OpenLog(path);
    EXPECT_TRUE(log->Empty());
    std::string error;
    ASSERT_TRUE(log->Append("a\n", error)) << error;
    EXPECT_FALSE(log->Empty());
    c.meanwhile(path);
    {
      const test::FileSizeLimit full(7);  // room for part of the line
      EXPECT_FALSE(log->Append("ccccccc\n", error));
    }
    EXPECT_EQ(error, "File too large");
    EXPECT_EQ(FileText(path), c.log_text);
    const fs::path rotated = fs::path(path) += ".1";
    EXPECT_EQ(fs::exists(rotated) ? FileText(rotated) : "-", c.rotated_text);
  }
}

TEST(LineLog, IsNotInheritedByProgramsStartedLater) {
  const test::TempFolder dir;
  const std::unique_ptr<LineLog> log = OpenLog(dir / "levels.csv");
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
