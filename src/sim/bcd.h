#pragma once
// Packed BCD, as the meter sends its clock: the two decimal digits are the byte's two hex digits.

#include <cstdint>

namespace halvane {

// 0 to 99; 45 becomes 0x45.
constexpr std::uint8_t ToBcd(int value) {
  return static_cast<std::uint8_t>((value / 10) * 16 + value % 10);
}

}  // namespace halvane
