#include "live/level_text.h"

namespace halvane {

std::string ShownLevel(const LiveReading& reading, std::size_t high_index) {
  if (reading.LevelNumber(high_index) == 0) {
    return std::string(kNoLevelText);
  }
  return reading.Level(high_index);
}

std::string PadLeft(std::string text, std::size_t width) {
  if (text.size() < width) {
    text.insert(0, width - text.size(), ' ');
  }
  return text;
}

}  // namespace halvane
