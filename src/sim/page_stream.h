#pragma once
// The pages of a long transfer (an SD set, the flash image), made one at a time when the reply
// queue runs dry. Each page is cut from the meter's state as it is asked for, so a transfer
// holds no copy of what it sends, and a state changed mid-transfer is read as it now stands.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "link/reports.h"
#include "sim/meter_state.h"

namespace halvane {

class PageStream {
 public:
  static constexpr std::size_t kPageBytes = kInputReportSize - 1;

  // Pages for `length` bytes: one per 160, the last one partly filled.
  static constexpr std::size_t PagesFor(std::size_t length) {
    return (length + kPageBytes - 1) / kPageBytes;
  }

  // The bytes a transfer sends, looked up afresh for every page.
  using Source = std::function<std::span<const std::uint8_t>(const MeterState&)>;

  // Replaces any transfer under way.
  void Start(Source source, std::size_t page_count);
  void Stop();
  // The next page: its 160 bytes of the source from byte 1 on, zero bytes past the source's end;
  // nothing when no page is left.
  std::optional<InputReportBuffer> Next(const MeterState& state);

 private:
  Source source_;
  std::size_t next_offset_ = 0;
  std::size_t pages_left_ = 0;
};

}  // namespace halvane
