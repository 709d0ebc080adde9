#pragma once
// The level threshold and frequency band that the comparator and the level triggers share: a
// level in whole dB in one byte, a band as its position in the third-octave label table.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace halvane {

inline constexpr std::string_view kInvalidLevelMessage =
    "Invalid level: enter a whole number of dB from 0 to 255";

// The number read from a typed level, rounded halves to even; nullopt when it does not fit the
// level byte.
std::optional<std::uint8_t> LevelFromText(std::string_view text);

// The lowest index below `offered` whose third-octave band label is `text`; 0 when none is.
std::uint8_t BandIndexOf(std::string_view text, std::size_t offered);

// The label of a band index the meter reported; empty when the index is outside the table.
std::string_view BandLabelAt(int index);

}  // namespace halvane
