#pragma once
// The sound the simulated meter hears: a level that wanders between about 45 and 90 dB(A) with a
// rare loud burst, spread over a plausible third-octave spectrum with noise, seen through the
// weightings of both channels. Each Step is one poll; the model never looks at the wall clock,
// so a seed always gives the same levels.

#include <array>
#include <cstddef>
#include <cstdint>

#include "sim/level_statistics.h"
#include "sim/meter_state.h"
#include "sim/seeded_noise.h"

namespace halvane {

// The range the simulated sound wanders in, live and in the logged records alike.
inline constexpr double kLowestLevel = 45.0;
inline constexpr double kHighestLevel = 90.0;
inline constexpr double kMiddleLevel = (kLowestLevel + kHighestLevel) / 2.0;

struct LiveLevels {
  static constexpr std::size_t kThirdOctaveBands = 33;  // 12.5 Hz to 20 kHz
  static constexpr std::size_t kOctaveBands = 11;       // 16 Hz to 16 kHz, three thirds each

  ChannelItems main{};
  ChannelItems sub{};
  // The main channel's spectrum; its energy sum is the main Lp.
  std::array<double, kThirdOctaveBands> third_octave{};
  std::array<double, kOctaveBands> octave{};
};

class LevelModel {
 public:
  explicit LevelModel(std::uint32_t seed);

  // Advances one poll with the channels' weightings taken from `state`.
  const LiveLevels& Step(const MeterState& state);
  const LiveLevels& Current() const { return levels_; }

 private:
  using BandEnergies = std::array<double, LiveLevels::kThirdOctaveBands>;

  // One channel's time-weighted band energies, unweighted in frequency, and its statistics.
  struct Channel {
    BandEnergies smoothed{};
    ChannelLevelStatistics statistics;
  };

  BandEnergies NextSoundField();
  // Smooths the field into the channel and returns its frequency-weighted band levels.
  std::array<double, LiveLevels::kThirdOctaveBands> Hear(Channel& channel,
                                                         const BandEnergies& field,
                                                         int freq_weighting, int time_weighting);

  SeededNoise noise_;
  double wandering_level_;
  bool first_step_ = true;
  Channel main_;
  Channel sub_;
  LiveLevels levels_;
};

}  // namespace halvane
