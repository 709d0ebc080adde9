#pragma once
// Empties a spool into a server on a thread of its own, oldest batch first, so that neither a
// slow server nor one that is away holds up the poll. A batch leaves the spool only once the
// server has taken it; while the server is away the sender tries again, less often the longer
// it stays away, and says once that it is away and once that it is back.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <thread>

#include "monitor/spool.h"

namespace halvane {

struct DeliveryOutcome {
  std::size_t taken = 0;  // how many batches from the front the server has taken for good
  // When not all were taken: why, for the user; and whether the server refuses the first of
  // them for good (a malformed batch), as opposed to being away or busy.
  std::string failure;
  bool refused = false;
};

// Hands batches to one server. Called on the sender's thread only.
class BatchDelivery {
 public:
  virtual ~BatchDelivery() = default;
  // Sends `batches`, oldest first.
  virtual DeliveryOutcome Deliver(std::span<const SpoolBatch> batches) = 0;
  // At most how many bytes of batches one call should get.
  virtual std::size_t MaxBytes() const = 0;
};

class SpoolSender {
 public:
  using Report = std::function<void(const std::string& message)>;
  struct Timing {
    std::chrono::milliseconds first_retry{500};
    std::chrono::milliseconds longest_retry{30'000};
  };

  // `name` says which server in the reports, e.g. "VictoriaMetrics at http://…".
  SpoolSender(Spool& spool, BatchDelivery& delivery, std::string name, Report report,
              Timing timing);
  SpoolSender(Spool& spool, BatchDelivery& delivery, std::string name, Report report)
      : SpoolSender(spool, delivery, std::move(name), std::move(report), Timing{}) {}
  ~SpoolSender();
  SpoolSender(const SpoolSender&) = delete;
  SpoolSender& operator=(const SpoolSender&) = delete;

  // A batch was added to the spool.
  void Wake();
  // Sends what the spool holds for at most `grace`, then stops the thread; what is left stays
  // in the spool for the next start.
  void Stop(std::chrono::milliseconds grace);

 private:
  void Run();
  // One delivery of the oldest batches; false when the server did not take them all.
  bool SendOnce();

  Spool& spool_;
  BatchDelivery& delivery_;
  std::string name_;
  Report report_;
  Timing timing_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool woken_ = false;
  bool stopping_ = false;
  std::chrono::steady_clock::time_point stop_by_;
  bool away_ = false;           // said that the server is away
  bool one_at_a_time_ = false;  // after a refusal, find the refused batch
  std::thread thread_;
};

}  // namespace halvane
