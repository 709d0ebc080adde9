#pragma once
// The hh:nn:ss answers typed for the recording period, the sampling interval and the trigger
// time.

#include <optional>
#include <string>
#include <string_view>

namespace halvane {

struct TimeFields {
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
  friend bool operator==(const TimeFields&, const TimeFields&) = default;
};

// Reads hours before the first ":", minutes between the colons and seconds from the (at most)
// two characters after the second ":". Hours above 23 become 23, minutes and seconds above 59
// become 59, fractions round to the nearest whole number. nullopt when a colon is missing or a
// field has a minus sign: the answer does not keep to the format.
std::optional<TimeFields> ParseTimeAnswer(std::string_view answer);

// "hh:mm:ss" from three byte values in decimal, as the input boxes offer it.
std::string TimeDefaultText(int hours, int minutes, int seconds);

}  // namespace halvane
