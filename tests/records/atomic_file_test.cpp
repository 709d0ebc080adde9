// Files are written whole or not at all.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "records/atomic_file.h"
#include "tests/file_text.h"

namespace halvane {
namespace {

namespace fs = std::filesystem;

using test::FileText;

TEST(AtomicFile, ReplacesTheTargetWholeAndLeavesItAloneOnFailure) {
  const test::ScratchFolder folder;
  const fs::path& dir = folder.Path();
  const fs::path target = dir / "Halvane.tmp";
  const std::string content("line 1\r\n\0binary\xff", 17);

  EXPECT_EQ(WriteFileAtomically(target, content), std::nullopt);
  EXPECT_EQ(FileText(target), content);
  EXPECT_EQ(WriteFileAtomically(target, "second"), std::nullopt);
  EXPECT_EQ(FileText(target), "second");

  // A link planted at the target is replaced; what it pointed to is untouched.
  const fs::path victim = dir / "victim";
  std::ofstream(victim) << "keep";
  const fs::path link = dir / "linked.txt";
  fs::create_symlink(victim, link);
  EXPECT_EQ(WriteFileAtomically(link, "new"), std::nullopt);
  EXPECT_EQ(FileText(victim), "keep");
  EXPECT_EQ(FileText(link), "new");
  EXPECT_FALSE(fs::is_symlink(link));

  // A folder that does not exist: a message, and nothing left behind anywhere.
  const std::optional<std::string> failure = WriteFileAtomically(dir / "missing" / "x.txt", "x");
  ASSERT_TRUE(failure);
  EXPECT_NE(failure->find("missing"), std::string::npos);
  // Renaming onto a folder fails: the folder stays and no temporary file remains.
  fs::create_directory(dir / "folder");
  EXPECT_TRUE(WriteFileAtomically(dir / "folder", "x"));
  EXPECT_TRUE(fs::is_directory(dir / "folder"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 4);
}

}  // namespace
}  // namespace halvane
