#pragma once
// Reading numbers out of what the user typed, the way the meter program always has: blanks are
// ignored, reading stops at the first character that cannot continue the number, and a text
// without a number counts as 0.

#include <optional>
#include <string>
#include <string_view>

namespace halvane {

double ReadNumber(std::string_view text);
// The same, but nullopt for a text without a number instead of 0.
std::optional<double> ReadNumberIfAny(std::string_view text);

// The number when the whole text, blanks aside, is one number; nullopt otherwise.
std::optional<double> ReadWholeNumber(std::string_view text);

// Rounds to the nearest whole number, halves to the even one (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

// A byte value written in decimal and cut to its last two digits after a "0" is put in front:
// 5 -> "05", 12 -> "12".
std::string TwoDigitDecimal(int value);
// The same in hexadecimal, upper case: 0x45 -> "45", 0x0A -> "0A".
std::string TwoDigitHex(int value);

}  // namespace halvane
