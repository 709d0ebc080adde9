#pragma once
// Batches waiting for a server, kept on disk until the server has taken them. Each batch is a
// file of its own, named by a sequence number and written through a synced temporary file and a
// rename, so that a crash or a power cut leaves every batch whole or absent and the folder
// gives the batches back in the order they were made. The folder is its owner's alone (0700):
// batches hold measurements, never credentials.
// Appending and taking batches may happen on different threads.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace halvane {

struct SpoolBatch {
  std::uint64_t sequence = 0;
  std::string content;
};

class Spool {
 public:
  // The spool in `folder`, created with its parents when missing; a folder of another user, or
  // one that is not a folder, is refused with the reason in `error`. Batches a crash left
  // behind are kept for sending; half-written temporary files are removed.
  static std::unique_ptr<Spool> Open(const std::filesystem::path& folder, std::string& error);

  // Writes `batch` as the newest and syncs it to the disk; false with the reason in `error`.
  bool Append(std::string_view batch, std::string& error);
  // The oldest batches, at least one when any is waiting, together at most `max_bytes` long.
  std::vector<SpoolBatch> Oldest(std::size_t max_bytes) const;
  // Removes the batches up to and including `sequence`, which the server has taken.
  void RemoveThrough(std::uint64_t sequence);
  // Moves the oldest batch into the folder "rejected" beside the batches: the server refuses it
  // for good, and it is kept for the user instead of blocking the batches behind it.
  void SetAsideOldest();

  std::size_t Waiting() const;
  const std::filesystem::path& Folder() const { return folder_; }

 private:
  struct Entry {
    std::uint64_t sequence;
    std::uintmax_t bytes;
  };
  explicit Spool(std::filesystem::path folder) : folder_(std::move(folder)) {}
  std::filesystem::path BatchPath(std::uint64_t sequence) const;

  std::filesystem::path folder_;
  mutable std::mutex mutex_;
  std::deque<Entry> entries_;  // oldest first
  std::uint64_t next_sequence_ = 1;
};

// The folder where spools and the monitor's state live by default: $XDG_STATE_HOME/halvane,
// else ~/.local/state/halvane.
std::filesystem::path DefaultStateFolder();

}  // namespace halvane
