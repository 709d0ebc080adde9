#include "control/level_band.h"

#include "control/typed_number.h"
#include "live/band_labels.h"

namespace halvane {

std::optional<std::uint8_t> LevelFromText(std::string_view text) {
  const double level = RoundHalfEven(ReadNumber(text));
  if (!(level >= 0 && level <= 255)) {
    return std::nullopt;
  }
  return static_cast<std::uint8_t>(level);
}

std::uint8_t BandIndexOf(std::string_view text, std::size_t offered) {
  for (std::size_t index = 0; index < offered && index < ThirdOctaveBandLabels.size(); ++index) {
    if (ThirdOctaveBandLabels[index] == text) {
      return static_cast<std::uint8_t>(index);
    }
  }
  return 0;
}

std::string_view BandLabelAt(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= ThirdOctaveBandLabels.size()) {
    return {};
  }
  return ThirdOctaveBandLabels[static_cast<std::size_t>(index)];
}

}  // namespace halvane
