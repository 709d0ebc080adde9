#include "sim/logged_levels.h"

#include <algorithm>
#include <cmath>

namespace halvane {

namespace {

constexpr double kHighestTenths = 9999.0;  // 999.9 dB, the widest level a 5-character text holds

template <typename Levels>
void AppendTenths(const Levels& levels_db, std::vector<int>& tenths) {
  for (const double level : levels_db) {
    tenths.push_back(static_cast<int>(std::lround(std::clamp(level * 10.0, 0.0, kHighestTenths))));
  }
}

}  // namespace

const std::vector<int>& LoggedLevels::Next(LoggedMode mode) {
  const LiveLevels& levels = model_.Step(weightings_);
  tenths_.clear();
  AppendTenths(levels.main, tenths_);
  if (mode == LoggedMode::Octave || mode == LoggedMode::OctaveAndThirdOctave) {
    AppendTenths(levels.octave, tenths_);
  }
  if (mode == LoggedMode::ThirdOctave || mode == LoggedMode::OctaveAndThirdOctave) {
    AppendTenths(levels.third_octave, tenths_);
  }
  AppendTenths(levels.sub, tenths_);
  return tenths_;
}

}  // namespace halvane
