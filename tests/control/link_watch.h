#pragma once
// Watches the link under the handler being tested. Handed to a TracingBackend as its clock, it
// runs once for every read and write: it counts those made while the main window's live poll
// is on outside a poll, and it can take the meter away once it has received a given number of
// reports, so that the exchange which sent the last of them gets no reply.

#include <QTimer>
#include <chrono>
#include <cstddef>
#include <optional>

#include "link/tracing_backend.h"
#include "sim/simulated_backend.h"
#include "sim/simulated_meter.h"

namespace halvane {

class LinkWatch {
 public:
  LinkWatch(SimulatedMeter& meter, SimulatedBackend& backend) : meter_(meter), backend_(backend) {}

  // The main window's live poll, or none where tests let its timer drive the poll.
  void WatchPoll(const QTimer* timer1) { timer1_ = timer1; }
  TracingBackend::Clock Clock() {
    return [this] {
      Note();
      return std::chrono::milliseconds(0);
    };
  }
  // Counts the meter's received reports from its log as it stands.
  void UnplugAfter(std::size_t reports) { unplug_after_ = reports; }
  // Runs one poll, whose traffic is the poll's own.
  template <typename Poll>
  void DuringPoll(Poll poll) {
    polling_ = true;
    poll();
    polling_ = false;
  }
  int TrafficWhilePolling() const { return traffic_while_polling_; }

 private:
  void Note() {
    if (timer1_ != nullptr && timer1_->isActive() && !polling_) {
      ++traffic_while_polling_;
    }
    if (unplug_after_ && meter_.ReceivedReports().size() >= *unplug_after_) {
      backend_.Unplug();
    }
  }

  SimulatedMeter& meter_;
  SimulatedBackend& backend_;
  const QTimer* timer1_ = nullptr;
  bool polling_ = false;
  int traffic_while_polling_ = 0;
  std::optional<std::size_t> unplug_after_;
};

}  // namespace halvane
