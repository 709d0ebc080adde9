#pragma once
// The Meter module: weighting letters, level texts, item labels and the two bar routines that the
// live screens and the bar graph window share. No state of its own.

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/canvas.h"

namespace halvane {

// "A", "C", "Z" for 0, 1, 2; empty otherwise.
std::string FreqWeightingLetter(int code);
// "F", "S", "t", "I" for 0 to 3; empty otherwise.
std::string TimeWeightingLetter(int code);
// A level pair (tenths of a dB, high byte first) as text with one decimal: 0x03 0xE8 is "100.0".
std::string FormatLevel(std::uint8_t high, std::uint8_t low);
// The number that FormatLevel's text stands for.
double LevelValue(std::uint8_t high, std::uint8_t low);
// The label of item code 0 to 9 (LAF, LAeq, LAE, LAFmax, ..., LAF95); empty for other codes.
std::string ItemLabel(int code, std::string_view freq_letter, std::string_view time_letter);

// Bars in the bar area between y 20 and y 90 of a 560-unit-wide drawing. Slot 0 to 10 are the
// octave bands, 11 the main and 12 the sub all-pass level; band 0 to 32 the third-octave bands.
// Nothing is drawn when top does not exceed bottom.
void DrawOctaveBar(Canvas& target, double value, double top, double bottom, int color_number,
                   int slot);
void DrawThirdOctaveBar(Canvas& target, double value, double top, double bottom, int color_number,
                        int band);

}  // namespace halvane
