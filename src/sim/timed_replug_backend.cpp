#include "sim/timed_replug_backend.h"

#include <algorithm>

namespace halvane {

TimedReplugBackend::TimedReplugBackend(SimulatedBackend& meter, int unplug_at_read,
                                       std::chrono::milliseconds away)
    : meter_(meter), away_(away) {
  meter_.FailAtRead(ReadFault::Unplug, unplug_at_read);
}

std::vector<HidDeviceInfo> TimedReplugBackend::Enumerate(std::uint16_t vendor_id,
                                                         std::uint16_t product_id) {
  std::vector<HidDeviceInfo> devices = meter_.Enumerate(vendor_id, product_id);
  const bool meter_present =
      std::any_of(devices.begin(), devices.end(),
                  [this](const auto& device) { return device.path == meter_.MeterPath(); });
  if (meter_present) {
    missing_since_.reset();
    return devices;
  }
  const auto now = std::chrono::steady_clock::now();
  if (!missing_since_) {
    missing_since_ = now;
  } else if (away_.count() > 0 && now - *missing_since_ >= away_) {
    missing_since_.reset();
    meter_.Replug();
    return meter_.Enumerate(vendor_id, product_id);
  }
  return devices;
}

}  // namespace halvane
