#pragma once
// Wraps a backend and appends every report written and read to a text stream, one line each:
// milliseconds since the trace began, "W" or "R", then the bytes in hex.

#include <chrono>
#include <functional>
#include <ostream>

#include "link/hid_backend.h"

namespace halvane {

class TracingBackend : public HidBackend {
 public:
  using Clock = std::function<std::chrono::milliseconds()>;

  // `elapsed` gives the time since the trace began; by default a steady clock started now.
  TracingBackend(HidBackend& inner, std::ostream& out, Clock elapsed = {});

  std::vector<HidDeviceInfo> Enumerate(std::uint16_t vendor_id, std::uint16_t product_id) override;
  std::unique_ptr<HidDevice> Open(const std::string& path) override;

  void Log(char direction, std::span<const std::uint8_t> bytes, std::string_view note = {});

 private:
  HidBackend& inner_;
  std::ostream& out_;
  Clock elapsed_;
};

}  // namespace halvane
