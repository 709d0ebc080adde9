#pragma once
// Plausible levels for the records the meter logs, in tenths of a dB in the order of the record
// file's columns. Each sample sums up twenty short levels around a level that wanders from
// sample to sample; its band levels share out its Leq over a broad spectrum.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/seeded_noise.h"

namespace halvane {

// The measurement modes, numbered as the flash record header codes them.
enum class LoggedMode { Slm = 0, Octave = 1, ThirdOctave = 2, OctaveAndThirdOctave = 3 };

// Band levels per sample: none, the 11 octaves, the 33 thirds, or both.
constexpr std::size_t BandCount(LoggedMode mode) {
  constexpr std::array<std::size_t, 4> kBandCounts{0, 11, 33, 44};
  return kBandCounts[static_cast<std::size_t>(mode)];
}

// Levels per sample: the ten items of each channel, then the bands.
constexpr std::size_t ValueCount(LoggedMode mode) {
  return 20 + BandCount(mode);
}

class LoggedLevels {
 public:
  explicit LoggedLevels(std::uint32_t seed);

  // The next sample, 0 to 999.9 dB: the main channel's Lp, Leq, LE, Lmax, Lmin, L05, L10, L50,
  // L90, L95, the band levels lowest band first (octaves before thirds), then the sub channel's
  // ten items.
  const std::vector<int>& Next(LoggedMode mode);

 private:
  SeededNoise noise_;
  double wandering_level_;
  std::vector<int> tenths_;
};

}  // namespace halvane
