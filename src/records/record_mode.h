#pragma once
// The four measurement modes of a logged set and the level columns each carries.

#include <cstddef>
#include <optional>
#include <string_view>

namespace halvane {

enum class RecordMode { Slm, Octave, ThirdOctave, OctaveAndThirdOctave };

inline constexpr std::size_t kOctaveBands = 11;
inline constexpr std::size_t kThirdOctaveBands = 33;
inline constexpr std::size_t kChannelValues = 10;  // LP, Leq, Le, Lmax, Lmin, L05 ... L95

// The mode's name in the record file: "SLM", "1/1 OCTAVE", "1/3 OCTAVE", "1/1 & 1/3 OCTAVE".
std::string_view RecordModeName(RecordMode mode);

// The mode of a flash record's mode code 0 to 3; nullopt for any other code.
std::optional<RecordMode> RecordModeFromCode(int code);

std::size_t OctaveBandCount(RecordMode mode);
std::size_t ThirdOctaveBandCount(RecordMode mode);
inline std::size_t BandCount(RecordMode mode) {
  return OctaveBandCount(mode) + ThirdOctaveBandCount(mode);
}
// Level columns of a record: the main channel's ten values, the bands, the sub channel's ten.
inline std::size_t LevelColumnCount(RecordMode mode) {
  return 2 * kChannelValues + BandCount(mode);
}

}  // namespace halvane
