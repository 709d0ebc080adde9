#include "sim/display_mode_keys.h"

#include <algorithm>

namespace halvane {

namespace {

constexpr int kSoundLevelMeter = 0;
constexpr int kFirstBars = 1;
constexpr int kFirstTables = 4;
constexpr int kLastTables = 7;
constexpr int kOctaveViews = 3;  // 1/1, 1/3, both

bool ShowsBars(int mode) {
  return mode >= kFirstBars && mode < kFirstTables;
}
bool ShowsTables(int mode) {
  return mode >= kFirstTables && mode <= kLastTables;
}

// The octave view of a bar or table screen; mode 7 is a second layout of both tables.
int OctaveViewOf(int mode) {
  return std::min(mode - (ShowsBars(mode) ? kFirstBars : kFirstTables), kOctaveViews - 1);
}

}  // namespace

void PressMode(MeterState& state) {
  const int mode = state.display_mode;
  if (mode == kSoundLevelMeter) {
    state.display_mode = kFirstBars + state.octave_view;
  } else if (ShowsBars(mode)) {
    state.octave_view = OctaveViewOf(mode);
    state.display_mode = kFirstTables + state.octave_view;
  } else if (ShowsTables(mode)) {
    state.octave_view = OctaveViewOf(mode);
    state.display_mode = kSoundLevelMeter;
  }
}

void PressOct(MeterState& state) {
  const int mode = state.display_mode;
  if (mode == kSoundLevelMeter) {
    state.display_mode = kFirstBars + state.octave_view;
  } else if (ShowsBars(mode) || ShowsTables(mode)) {
    state.octave_view = (OctaveViewOf(mode) + 1) % kOctaveViews;
    state.display_mode = (ShowsBars(mode) ? kFirstBars : kFirstTables) + state.octave_view;
  }
}

void PressMenu(MeterState& state) {
  if (state.display_mode >= kSoundLevelMeter && state.display_mode <= kLastTables) {
    state.display_mode_before_menu = state.display_mode;
    state.display_mode = kMenuDisplayMode;
  } else {
    state.display_mode = state.display_mode_before_menu;
  }
}

}  // namespace halvane
