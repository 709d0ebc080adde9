#include "control/level_band.h"

#include <string>

#include "live/band_labels.h"
#include "text/number_text.h"

namespace halvane {

std::optional<std::uint8_t> LevelFromText(std::string_view text) {
  const std::optional<double> number = ReadNumberIfAny(text);
  if (!number) {
    return std::nullopt;
  }
  const double level = RoundHalfEven(*number);
  if (!(level >= 0 && level <= 255)) {
    return std::nullopt;
  }
  return static_cast<std::uint8_t>(level);
}

std::optional<std::uint8_t> BandIndexOf(std::string_view text, std::size_t offered) {
  for (std::size_t index = 0; index < offered && index < ThirdOctaveBandLabels.size(); ++index) {
    if (ThirdOctaveBandLabels[index] == text) {
      return static_cast<std::uint8_t>(index);
    }
  }
  return std::nullopt;
}

std::optional<LevelBand> ReadLevelBand(std::string_view level_text, std::string_view band_text,
                                       std::size_t offered, UserDialogs& dialogs) {
  const std::optional<std::uint8_t> level = LevelFromText(level_text);
  if (!level) {
    dialogs.ShowCritical(std::string(kInvalidLevelMessage));
    return std::nullopt;
  }
  const std::optional<std::uint8_t> band = BandIndexOf(band_text, offered);
  if (!band) {
    dialogs.ShowCritical(std::string(kInvalidBandMessage));
    return std::nullopt;
  }
  return LevelBand{*level, *band};
}

std::string_view BandLabelAt(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= ThirdOctaveBandLabels.size()) {
    return {};
  }
  return ThirdOctaveBandLabels[static_cast<std::size_t>(index)];
}

}  // namespace halvane
