#pragma once
// The level threshold and frequency band that the comparator and the level triggers share: a
// level in whole dB in one byte, a band as its position in the third-octave label table.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "ui/user_dialogs.h"

namespace halvane {

inline constexpr std::string_view kInvalidLevelMessage =
    "Invalid level: enter a whole number of dB from 0 to 255";
inline constexpr std::string_view kInvalidBandMessage =
    "Invalid band: choose one of the band labels in the list, such as 1k";

// The number read from a typed level, rounded halves to even; nullopt when the text holds no
// number or the number does not fit the level byte.
std::optional<std::uint8_t> LevelFromText(std::string_view text);

// The lowest index below `offered` whose third-octave band label is `text`; nullopt when none
// is, so that a typed band is never sent as another one.
std::optional<std::uint8_t> BandIndexOf(std::string_view text, std::size_t offered);

struct LevelBand {
  std::uint8_t level;
  std::uint8_t band;
};

// The level and band typed into a level list and a band list (bands below `offered`); nullopt
// after a message refusing the first of the two that means nothing.
std::optional<LevelBand> ReadLevelBand(std::string_view level_text, std::string_view band_text,
                                       std::size_t offered, UserDialogs& dialogs);

// The label of a band index the meter reported; empty when the index is outside the table.
std::string_view BandLabelAt(int index);

}  // namespace halvane
