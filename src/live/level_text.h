#pragma once
// Level texts as the live screens show them, and the blank padding of their columns.

#include <cstddef>
#include <string>
#include <string_view>

#include "live/live_reply.h"

namespace halvane {

// What the meter's lists and all-pass headers show for a level of exactly 0.
inline constexpr std::string_view kNoLevelText = "---.-";

// The level text of the pair at `high_index`, with "---.-" in place of "0.0".
std::string ShownLevel(const LiveReading& reading, std::size_t high_index);

// `text` with blanks added on the left up to `width` characters; longer texts stay as they are.
std::string PadLeft(std::string text, std::size_t width);

}  // namespace halvane
