#pragma once
// How the MODE, OCT and MENU keys move between the meter's screens: the sound level meter (0),
// the octave bars (1 1/1, 2 1/3, 3 both) and the octave tables (4 1/1, 5 1/3, 6 and 7 both),
// and a menu that is no measurement screen.

#include "sim/meter_state.h"

namespace halvane {

inline constexpr int kMenuDisplayMode = 8;

// Sound level meter, then the bars, then the tables, then back; the octave view stays.
void PressMode(MeterState& state);
// The next octave view within the bars or the tables; from the sound level meter to the bars.
void PressOct(MeterState& state);
// Into the menu, or out of it to the screen it was opened from.
void PressMenu(MeterState& state);

}  // namespace halvane
