#pragma once
// The USB IDs the link looks for the meter under.

#include <cstdint>

namespace halvane {

inline constexpr std::uint16_t MeterVendorId = 0x0483;
inline constexpr std::uint16_t MeterProductId = 0x5750;

struct MeterIds {
  std::uint16_t vendor = MeterVendorId;
  std::uint16_t product = MeterProductId;
};

}  // namespace halvane
