#pragma once
// Packed BCD, as the meter sends its clock: the two decimal digits are the byte's two hex digits.

#include <cstdint>
#include <optional>

namespace halvane {

// The low byte of a value the meter sends as one byte.
constexpr std::uint8_t Byte(int value) {
  return static_cast<std::uint8_t>(value);
}

// 0 to 99; 45 becomes 0x45.
constexpr std::uint8_t ToBcd(int value) {
  return static_cast<std::uint8_t>((value / 10) * 16 + value % 10);
}

// 0x45 becomes 45; nothing when either digit is above 9.
constexpr std::optional<int> FromBcd(std::uint8_t byte) {
  const int tens = byte >> 4;
  const int units = byte & 0x0F;
  if (tens > 9 || units > 9) {
    return std::nullopt;
  }
  return tens * 10 + units;
}

}  // namespace halvane
