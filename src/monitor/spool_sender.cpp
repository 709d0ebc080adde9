#include "monitor/spool_sender.h"

#include <algorithm>

namespace halvane {

SpoolSender::SpoolSender(Spool& spool, BatchDelivery& delivery, std::string name, Report report,
                         Timing timing)
    : spool_(spool),
      delivery_(delivery),
      name_(std::move(name)),
      report_(std::move(report)),
      timing_(timing),
      thread_([this] { Run(); }) {}

SpoolSender::~SpoolSender() {
  Stop(std::chrono::milliseconds{0});
}

void SpoolSender::Wake() {
  std::lock_guard lock(mutex_);
  woken_ = true;
  wake_.notify_one();
}

void SpoolSender::Stop(std::chrono::milliseconds grace) {
  {
    std::lock_guard lock(mutex_);
    if (!thread_.joinable()) {
      return;
    }
    stopping_ = true;
    stop_by_ = std::chrono::steady_clock::now() + grace;
    wake_.notify_one();
  }
  thread_.join();
}

bool SpoolSender::SendOnce() {
  const std::vector<SpoolBatch> batches = spool_.Oldest(one_at_a_time_ ? 0 : delivery_.MaxBytes());
  if (batches.empty()) {
    return true;
  }
  const DeliveryOutcome outcome = delivery_.Deliver(batches);
  if (outcome.taken > 0) {
    spool_.RemoveThrough(batches[outcome.taken - 1].sequence);
  }
  if (outcome.taken == batches.size()) {
    one_at_a_time_ = false;
    if (away_) {
      away_ = false;
      report_(name_ + " takes the data again");
    }
    return true;
  }
  if (outcome.refused && outcome.taken == 0 && batches.size() == 1) {
    // The server will never take this batch: keep it aside instead of blocking the rest.
    spool_.SetAsideOldest();
    report_(name_ + " refuses a batch (" + outcome.failure + "); it is kept in " +
            (spool_.Folder() / "rejected").string());
    return true;
  }
  one_at_a_time_ = outcome.refused;
  if (!away_ && !outcome.refused) {
    away_ = true;
    report_(name_ + " does not take the data (" + outcome.failure +
            "); it is kept on disk and sent once the server is back");
  }
  return outcome.refused;
}

void SpoolSender::Run() {
  std::chrono::milliseconds retry = timing_.first_retry;
  std::unique_lock lock(mutex_);
  while (true) {
    const bool stopping = stopping_;
    if (stopping && (spool_.Waiting() == 0 || std::chrono::steady_clock::now() >= stop_by_)) {
      return;
    }
    woken_ = false;
    lock.unlock();
    const bool delivered = SendOnce();
    lock.lock();
    if (delivered) {
      retry = timing_.first_retry;
      if (spool_.Waiting() == 0) {
        wake_.wait(lock, [this] { return woken_ || stopping_; });
      }
      continue;
    }
    const auto until = stopping_ ? stop_by_ : std::chrono::steady_clock::now() + retry;
    wake_.wait_until(lock, std::min(until, std::chrono::steady_clock::now() + retry),
                     [this, stopping] { return stopping_ != stopping; });
    retry = std::min(retry * 2, timing_.longest_retry);
  }
}

}  // namespace halvane
