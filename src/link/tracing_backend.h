#pragma once
// Wraps a backend and appends every report written and read to a text stream, one line each:
// milliseconds since the trace began, "W" or "R", then the bytes in hex. As the link's trace it
// also writes "S" lines: each search (the IDs looked for, how many devices carry them, each
// candidate and why it was passed over) and each device that did not answer. A search that
// sees what the last one saw is written at most once a second.

#include <chrono>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "link/hid_backend.h"
#include "link/link_trace.h"

namespace halvane {

class TracingBackend : public HidBackend, public LinkTrace {
 public:
  using Clock = std::function<std::chrono::milliseconds()>;
  static constexpr std::chrono::milliseconds kRepeatedSearchInterval{1000};

  // `elapsed` gives the time since the trace began; by default a steady clock started now.
  TracingBackend(HidBackend& inner, std::ostream& out, Clock elapsed = {});

  std::vector<HidDeviceInfo> Enumerate(std::uint16_t vendor_id, std::uint16_t product_id) override;
  std::unique_ptr<HidDevice> Open(const std::string& path) override;
  OpenFailure OpenError() const override { return inner_.OpenError(); }

  void Searched(const SearchRecord& search) override;
  void NoFirstAnswer(const HidDeviceInfo& device) override;

  void Log(char direction, std::span<const std::uint8_t> bytes, std::string_view note = {});

 private:
  void LogLines(char direction, const std::string& lines);

  HidBackend& inner_;
  std::ostream& out_;
  Clock elapsed_;
  std::string last_search_;
  std::optional<std::chrono::milliseconds> last_search_logged_;
};

}  // namespace halvane
