#pragma once
// What the link needs to know from a HID report descriptor: the longest input and output
// report and whether reports are numbered.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace halvane {

struct ReportLayout {
  std::size_t input_length = 0;   // longest input report, report ID byte included
  std::size_t output_length = 0;  // longest output report, report ID byte included
  bool numbered = false;          // reports start with a report ID
  std::uint16_t usage_page = 0;   // of the first top-level collection; 0 when none is given

  bool operator==(const ReportLayout&) const = default;
};

// Walks the descriptor's items; nullopt when an item runs past the end or the global state
// stack is misused.
std::optional<ReportLayout> ParseReportDescriptor(std::span<const std::uint8_t> descriptor);

}  // namespace halvane
