#include "live/temp_file_claim.h"

#include <string>

#include "live/temp_record_file.h"

namespace halvane {

namespace {

// Past this many programs at once the last file is shared rather than none found.
constexpr int kMostPrograms = 100;

}  // namespace

TempFileClaim::TempFileClaim(const std::filesystem::path& folder) {
  PrepareTempRecordFolder(folder);
  std::string name;
  for (int program = 1; program <= kMostPrograms; ++program) {
    name = TempRecordFileName(program);
    lock_ =
        std::make_unique<QLockFile>(QString::fromStdString((folder / (name + ".lock")).string()));
    // Only a lock whose program is gone is stale, however old.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) {
      break;
    }
  }
  path_ = PrepareTempRecordFile(folder, name);
}

}  // namespace halvane
