#pragma once
// Numbers read from and written to text, the same under every locale: a German user's program
// reads "65.3" as 65.3, never as 65, and writes it with a point.
//
// Reading follows the meter program's rule for typed numbers: blanks are ignored, reading stops
// at the first character that cannot continue the number, and a text without a number counts
// as 0.

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

// The value with this many decimals (0 to 20), rounded as printf's "%.*f" rounds: 64.44 ->
// "64.4".
std::string FixedPointText(double value, int decimals);

// A byte value written in decimal and cut to its last two digits after a "0" is put in front:
// 5 -> "05", 12 -> "12".
std::string TwoDigitDecimal(int value);
// The same in hexadecimal, upper case: 0x45 -> "45", 0x0A -> "0A".
std::string TwoDigitHex(int value);
// Whether the text is two decimal digits and nothing else ("07"; not "7", "1B" or " 7").
bool IsTwoDecimalDigits(std::string_view text);

}  // namespace halvane
