#include "monitor/spool.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

#include "monitor/private_files.h"

namespace halvane {

namespace {

constexpr std::string_view kBatchSuffix = ".batch";
constexpr int kSequenceDigits = 16;  // so that names sort as the numbers do

// The sequence number of a batch file's name; nullopt for any other file.
std::optional<std::uint64_t> SequenceOf(const std::filesystem::path& file) {
  const std::string name = file.filename().string();
  if (name.size() != kSequenceDigits + kBatchSuffix.size() || !name.ends_with(kBatchSuffix)) {
    return std::nullopt;
  }
  std::uint64_t sequence = 0;
  const char* end = name.data() + kSequenceDigits;
  const auto result = std::from_chars(name.data(), end, sequence);
  if (result.ec != std::errc() || result.ptr != end) {
    return std::nullopt;
  }
  return sequence;
}

std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

std::unique_ptr<Spool> Spool::Open(const std::filesystem::path& folder, std::string& error) {
  if (!MakePrivateFolder(folder, error)) {
    return nullptr;
  }
  std::unique_ptr<Spool> spool(new Spool(folder));
  std::error_code listing;
  for (const auto& item : std::filesystem::directory_iterator(folder, listing)) {
    std::error_code ignored;
    if (const auto sequence = SequenceOf(item.path())) {
      spool->entries_.push_back({*sequence, item.file_size(ignored)});
    } else if (item.path().extension() == ".part") {
      std::filesystem::remove(item.path(), ignored);
    }
  }
  if (listing) {
    error = folder.string() + ": " + listing.message();
    return nullptr;
  }
  std::ranges::sort(spool->entries_, {}, &Entry::sequence);
  if (!spool->entries_.empty()) {
    spool->next_sequence_ = spool->entries_.back().sequence + 1;
  }
  return spool;
}

std::filesystem::path Spool::BatchPath(std::uint64_t sequence) const {
  std::string name = std::to_string(sequence);
  name.insert(0, kSequenceDigits - std::min<std::size_t>(name.size(), kSequenceDigits), '0');
  name += kBatchSuffix;
  return folder_ / name;
}

bool Spool::Append(std::string_view batch, std::string& error) {
  std::lock_guard lock(mutex_);
  if (!WriteSyncedFile(BatchPath(next_sequence_), batch, error)) {
    return false;
  }
  entries_.push_back({next_sequence_++, batch.size()});
  return true;
}

std::vector<SpoolBatch> Spool::Oldest(std::size_t max_bytes) const {
  std::vector<SpoolBatch> batches;
  std::lock_guard lock(mutex_);
  std::size_t bytes = 0;
  for (const Entry& entry : entries_) {
    if (!batches.empty() && bytes + entry.bytes > max_bytes) {
      break;
    }
    bytes += entry.bytes;
    batches.push_back({entry.sequence, FileText(BatchPath(entry.sequence))});
  }
  return batches;
}

void Spool::RemoveThrough(std::uint64_t sequence) {
  std::lock_guard lock(mutex_);
  while (!entries_.empty() && entries_.front().sequence <= sequence) {
    std::error_code ignored;
    std::filesystem::remove(BatchPath(entries_.front().sequence), ignored);
    entries_.pop_front();
  }
}

void Spool::SetAsideOldest() {
  std::lock_guard lock(mutex_);
  if (entries_.empty()) {
    return;
  }
  const std::filesystem::path batch = BatchPath(entries_.front().sequence);
  std::error_code ignored;
  std::filesystem::create_directory(folder_ / "rejected", ignored);
  std::filesystem::rename(batch, folder_ / "rejected" / batch.filename(), ignored);
  entries_.pop_front();
}

std::size_t Spool::Waiting() const {
  std::lock_guard lock(mutex_);
  return entries_.size();
}

std::filesystem::path DefaultStateFolder() {
  if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && *state == '/') {
    return std::filesystem::path(state) / "halvane";
  }
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home != nullptr ? home : ".") / ".local" / "state" / "halvane";
}

}  // namespace halvane
