#pragma once
// Sizes and types of the report buffers shared by the link, the decoders and the simulated meter.

#include <array>
#include <cstddef>
#include <cstdint>

namespace halvane {

// Output report: byte 0 report ID (0), byte 1 command class, bytes 2 onward the payload.
inline constexpr std::size_t kOutputReportSize = 17;
// Input report: byte 0 report ID, the meter's data from byte 1 on.
inline constexpr std::size_t kInputReportSize = 161;

using OutputReportBuffer = std::array<std::uint8_t, kOutputReportSize>;
using InputReportBuffer = std::array<std::uint8_t, kInputReportSize>;

}  // namespace halvane
