// Files are written whole or not at all, and the path stays the user's: links, devices, FIFOs,
// permissions and owners are what they were.

#include "records/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <future>

#include "tests/file_size_limit.h"
#include "tests/file_text.h"
#include "tests/temp_folder.h"

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
  struct Case {
    const char* what;
    std::function<fs::path()> prepare;  // returns the target
    std::string failure;                // part of the message; empty: written
    fs::file_type type;                 // of the target itself afterwards
    mode_t mode = 0;                    // of the file written; 0: not checked
    std::string content = "new";        // read back through the target; "-": not read
    std::uint64_t size_limit = 0;       // the disk fills up after this many bytes
  };
  const Case cases[] = {
      {"a new file", [&] { return dir / "new.txt"; }, "", fs::file_type::regular,
       0666 & ~umask_bits},
      {"a private file of someone else's",
       [&] {
         WriteOld(dir / "private", 0600);
         if (root) {
           EXPECT_EQ(chown((dir / "private").c_str(), kSomeoneElse, kSomeoneElse), 0);
         }
         return dir / "private";
       },
       "", fs::file_type::regular, 0600},
      {"a link, relative, to a file in another folder",
       [&] {
         fs::create_directory(dir / "sub");
         WriteOld(dir / "sub" / "real", 0640);
         fs::create_symlink("sub/real", dir / "link");
         return dir / "link";
       },
       "", fs::file_type::symlink, 0640},
      {"a chain of links ending nowhere yet",
       [&] {
         fs::create_symlink(dir / "later.txt", dir / "dangling");
         fs::create_symlink("dangling", dir / "chain");
         return dir / "chain";
       },
       "", fs::file_type::symlink, 0666 & ~umask_bits},
      {"a FIFO",
       [&] {
         mkfifo((dir / "fifo").c_str(), 0600);
         return dir / "fifo";
       },
       "", fs::file_type::fifo},
      {"the null device", [&] { return dir.Device("null"); }, "", fs::file_type::character, 0,
       ""},
      {"a full device", [&] { return dir.Device("full"); }, "No space left on device",
       fs::file_type::character, 0, "-"},
      {"a file, the disk full",
       [&] {
         WriteOld(dir / "kept", 0644);
         return dir / "kept";
       },
       "File too large", fs::file_type::regular, 0644, "old", 2},
      {"a folder",
       [&] {
         fs::create_directory(dir / "folder");
         return dir / "folder";
       },
       "Is a directory", fs::file_type::directory, 0, "-"},
      {"a missing folder", [&] { return dir / "missing" / "x.txt"; }, "No such file",
       fs::file_type::not_found, 0, "-"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path target = c.prepare();
    std::future<std::string> fifo_reader;
    if (fs::is_fifo(target)) {
      fifo_reader = std::async(std::launch::async, [&] { return FileText(target); });
    }
    std::optional<std::string> failure;
    {
      std::optional<test::FileSizeLimit> full;
      if (c.size_limit > 0) {
        full.emplace(c.size_limit);
      }
      failure = WriteFileAtomically(target, "new");
    }
    EXPECT_EQ(failure.has_value(), !c.failure.empty()) << failure.value_or("");
    if (failure) {
      EXPECT_NE(failure->find(c.failure), std::string::npos) << *failure;
    }
    EXPECT_EQ(fs::symlink_status(target).type(), c.type);
    struct stat facts {};
    if (c.mode != 0 && stat(target.c_str(), &facts) == 0) {
      EXPECT_EQ(facts.st_mode & 07777, c.mode);
      EXPECT_EQ(facts.st_uid, root && target == dir / "private" ? kSomeoneElse : geteuid());
    }
    if (fifo_reader.valid()) {
      EXPECT_EQ(fifo_reader.get(), c.content);
    } else if (c.content != "-") {
      EXPECT_EQ(FileText(target), c.content);
    }
  }
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir.Path())) {
    EXPECT_NE(entry.path().extension(), ".part") << "a temporary file left behind";
  }
}

}  // namespace
}  // namespace halvane
