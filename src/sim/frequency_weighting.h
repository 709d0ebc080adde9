#pragma once
// The A and C frequency weightings at the 33 third-octave centres from 12.5 Hz to 20 kHz.

#include <cstddef>

namespace halvane {

// The weighting in dB that code 0 (A) or 1 (C) adds to the band; 0 for Z and unknown codes.
double FrequencyWeightingDb(int freq_weighting_code, std::size_t third_octave_band);

}  // namespace halvane
