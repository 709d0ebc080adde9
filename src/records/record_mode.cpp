#include "records/record_mode.h"

namespace halvane {

std::string_view RecordModeName(RecordMode mode) {
  switch (mode) {
    case RecordMode::Slm:
      return "SLM";
    case RecordMode::Octave:
      return "1/1 OCTAVE";
    case RecordMode::ThirdOctave:
      return "1/3 OCTAVE";
    case RecordMode::OctaveAndThirdOctave:
      return "1/1 & 1/3 OCTAVE";
  }
  return {};
}

std::optional<RecordMode> RecordModeFromCode(int code) {
  switch (code) {
    case 0:
      return RecordMode::Slm;
    case 1:
      return RecordMode::Octave;
    case 2:
      return RecordMode::ThirdOctave;
    case 3:
      return RecordMode::OctaveAndThirdOctave;
    default:
      return std::nullopt;
  }
}

std::size_t OctaveBandCount(RecordMode mode) {
  return mode == RecordMode::Octave || mode == RecordMode::OctaveAndThirdOctave ? kOctaveBands : 0;
}

std::size_t ThirdOctaveBandCount(RecordMode mode) {
  return mode == RecordMode::ThirdOctave || mode == RecordMode::OctaveAndThirdOctave
             ? kThirdOctaveBands
             : 0;
}

}  // namespace halvane
