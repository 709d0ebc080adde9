#include "live/meter.h"

#include <array>

namespace halvane {

std::string FreqWeightingLetter(int code) {
  static constexpr std::array<std::string_view, 3> kLetters{"A", "C", "Z"};
  if (code < 0 || code >= static_cast<int>(kLetters.size())) {
    return {};
  }
  return std::string(kLetters[static_cast<std::size_t>(code)]);
}

std::string TimeWeightingLetter(int code) {
  static constexpr std::array<std::string_view, 4> kLetters{"F", "S", "t", "I"};
  if (code < 0 || code >= static_cast<int>(kLetters.size())) {
    return {};
  }
  return std::string(kLetters[static_cast<std::size_t>(code)]);
}

std::string FormatLevel(std::uint8_t high, std::uint8_t low) {
  const unsigned tenths = high * 256U + low;
  std::string text = std::to_string(tenths / 10);
  text += '.';
  text += static_cast<char>('0' + tenths % 10);
  return text;
}

double LevelValue(std::uint8_t high, std::uint8_t low) {
  return (high * 256U + low) / 10.0;
}

std::string ItemLabel(int code, std::string_view freq_letter, std::string_view time_letter) {
  // Leq and LE carry no time weighting; every other item does, followed by its suffix.
  static constexpr std::array<std::string_view, 10> kSuffixes{"",   "eq", "E",  "max", "min",
                                                              "05", "10", "50", "90",  "95"};
  if (code < 0 || code >= static_cast<int>(kSuffixes.size())) {
    return {};
  }
  std::string label = "L";
  label += freq_letter;
  if (code != 1 && code != 2) {
    label += time_letter;
  }
  label += kSuffixes[static_cast<std::size_t>(code)];
  return label;
}

}  // namespace halvane
