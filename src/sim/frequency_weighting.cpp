#include "sim/frequency_weighting.h"

#include <array>

namespace halvane {

namespace {

constexpr std::array<double, 33> kAWeighting{
    -63.4, -56.7, -50.5, -44.7, -39.4, -34.6, -30.2, -26.2, -22.5, -19.1, -16.1,
    -13.4, -10.9, -8.6,  -6.6,  -4.8,  -3.2,  -1.9,  -0.8,  0.0,   0.6,   1.0,
    1.2,   1.3,   1.2,   1.0,   0.5,   -0.1,  -1.1,  -2.5,  -4.3,  -6.6,  -9.3};

constexpr std::array<double, 33> kCWeighting{-11.2, -8.5, -6.2, -4.4, -3.0, -2.0, -1.3, -0.8, -0.5,
                                             -0.3,  -0.2, -0.1, 0.0,  0.0,  0.0,  0.0,  0.0,  0.0,
                                             0.0,   0.0,  0.0,  -0.1, -0.2, -0.3, -0.5, -0.8, -1.3,
                                             -2.0,  -3.0, -4.4, -6.2, -8.5, -11.2};

}  // namespace

double FrequencyWeightingDb(int freq_weighting_code, std::size_t third_octave_band) {
  if (third_octave_band >= kAWeighting.size()) {
    return 0.0;
  }
  switch (freq_weighting_code) {
    case 0:
      return kAWeighting[third_octave_band];
    case 1:
      return kCWeighting[third_octave_band];
    default:
      return 0.0;
  }
}

}  // namespace halvane
