#pragma once
// The temporary record file of this running program. The first program takes "Halvane.tmp";
// a second one started beside it takes a file of its own ("Halvane-2.tmp", ...) instead of
// emptying the first one's, which may still be open in a text editor. A lock file beside each
// marks it taken while its program runs; the lock of a program that ended, even by a crash, is
// taken over.

#include <QLockFile>
#include <filesystem>
#include <memory>

namespace halvane {

class TempFileClaim {
 public:
  // Prepares the first free file in `folder`, empty (see PrepareTempRecordFile).
  explicit TempFileClaim(const std::filesystem::path& folder);

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::unique_ptr<QLockFile> lock_;
  std::filesystem::path path_;
};

}  // namespace halvane
