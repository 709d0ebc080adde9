#pragma once
// Unplugs the simulated meter at a chosen read and plugs it back in once it has been away for
// a while, to try a command against a meter that goes missing for a few seconds.

#include <chrono>
#include <optional>

#include "sim/simulated_backend.h"

namespace halvane {

class TimedReplugBackend : public HidBackend {
 public:
  // The meter is unplugged just before the `unplug_at_read`-th read from now; with `away` of
  // zero it stays unplugged.
  TimedReplugBackend(SimulatedBackend& meter, int unplug_at_read, std::chrono::milliseconds away);

  // The meter is plugged in again at the first search after it has been missing for `away`.
  std::vector<HidDeviceInfo> Enumerate(std::uint16_t vendor_id, std::uint16_t product_id) override;
  std::unique_ptr<HidDevice> Open(const std::string& path) override { return meter_.Open(path); }
  OpenFailure OpenError() const override { return meter_.OpenError(); }

 private:
  SimulatedBackend& meter_;
  std::chrono::milliseconds away_;
  std::optional<std::chrono::steady_clock::time_point> missing_since_;
};

}  // namespace halvane
