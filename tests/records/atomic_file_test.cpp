// Files are written whole or not at all, and the path stays the user's: links, devices, FIFOs,
// permissions and owners are what they were.

#include "records/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <future>

#include "tests/file_text.h"
#include "tests/scratch_files.h"

namespace halvane {
namespace {

namespace fs = std::filesystem;

using test::FileText;

constexpr uid_t kSomeoneElse = 4321;

void WriteOld(const fs::path& file, mode_t mode) {
  std::ofstream(file) << "old";
  chmod(file.c_str(), mode);
}

TEST(AtomicFile, WritesThroughLinksIntoDevicesAndFifosKeepsModesAndFailsCleanly) {
  const test::TempFolder dir;
  const mode_t umask_bits = umask(0);
  umask(umask_bits);
  const bool root = geteuid() == 0;
  WriteOld(dir / "private", 0600);
  if (root) {
    ASSERT_EQ(chown((dir / "private").c_str(), kSomeoneElse, kSomeoneElse), 0);
  }
  fs::create_directories(dir / "sub" / "folder");
  WriteOld(dir / "sub" / "real", 0640);
  fs::create_symlink("sub/real", dir / "link");
  fs::create_symlink(dir / "later.txt", dir / "dangling");
  fs::create_symlink("dangling", dir / "chain");
  WriteOld(dir / "kept", 0644);
  mkfifo((dir / "fifo").c_str(), 0600);
  struct Case {
    const char* what;
    fs::path target;
    std::string failure;           // part of the message; empty: written
    fs::file_type type;            // of the target itself afterwards
    mode_t mode = 0;               // of the file written; 0: not checked
    std::string content = "new";   // read back through the target; "-": not read
    std::uint64_t size_limit = 0;  // the disk fills up after this many bytes
  };
  const Case cases[] = {
      {"a new file", dir / "new.txt", "", fs::file_type::regular, 0666 & ~umask_bits},
      {"someone else's private file", dir / "private", "", fs::file_type::regular, 0600},
      {"a relative link into another folder", dir / "link", "", fs::file_type::symlink, 0640},
      {"links ending nowhere yet", dir / "chain", "", fs::file_type::symlink, 0666 & ~umask_bits},
      {"a FIFO", dir / "fifo", "", fs::file_type::fifo},
      {"the null device", dir.Device("null"), "", fs::file_type::character, 0, ""},
      {"a full device", dir.Device("full"), "No space left", fs::file_type::character, 0, "-"},
      {"a file, the disk full", dir / "kept", "File too large", fs::file_type::regular, 0644, "old",
       2},
      {"a folder", dir / "sub" / "folder", "Is a directory", fs::file_type::directory, 0, "-"},
      {"a missing folder", dir / "missing" / "x", "No such file", fs::file_type::not_found, 0, "-"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::future<std::string> fifo_reader;
    if (fs::is_fifo(c.target)) {
      fifo_reader = std::async(std::launch::async, [&] { return FileText(c.target); });
    }
    std::optional<test::FileSizeLimit> full;
    if (c.size_limit > 0) {
      full.emplace(c.size_limit);
    }
    const std::optional<std::string> failure = WriteFileAtomically(c.target, "new");
    full.reset();
    const std::string outcome = failure.value_or("(written)");
    EXPECT_NE(outcome.find(c.failure.empty() ? "(written)" : c.failure), std::string::npos)
        << outcome;
    EXPECT_EQ(fs::symlink_status(c.target).type(), c.type);
    struct stat facts {};
    if (c.mode != 0 && stat(c.target.c_str(), &facts) == 0) {
      EXPECT_EQ(facts.st_mode & 07777, c.mode);
      EXPECT_EQ(facts.st_uid, root && c.target == dir / "private" ? kSomeoneElse : geteuid());
    }
    if (c.content != "-") {
      EXPECT_EQ(fifo_reader.valid() ? fifo_reader.get() : FileText(c.target), c.content);
    }
  }
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir.Path())) {
    EXPECT_NE(entry.path().extension(), ".part") << "a temporary file left behind";
  }
}

}  // namespace
}  // namespace halvane
