#pragma once
// Band label tables shared by the live screens, the settings lists and the graphs.

#include <array>
#include <string_view>

namespace halvane {

inline constexpr std::array<std::string_view, 11> OctaveBandLabels{
    "16", "31.5", "63", "125", "250", "500", "1k", "2k", "4k", "8k", "16k"};

// The 33 third-octave bands, then the all-pass entry "AP".
inline constexpr std::array<std::string_view, 34> ThirdOctaveBandLabels{
    "12.5",  "16",  "20",  "25",   "31.5", "40",  "50",    "63",  "80",    "100",  "125", "160",
    "200",   "250", "315", "400",  "500",  "630", "800",   "1k",  "1.25k", "1.6k", "2k",  "2.5k",
    "3.15k", "4k",  "5k",  "6.3k", "8k",   "10k", "12.5k", "16k", "20k",   "AP"};

}  // namespace halvane
