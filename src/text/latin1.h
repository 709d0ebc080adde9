#pragma once
// Record files are 8-bit text as the meter program writes them; JSON is UTF-8.

#include <string>
#include <string_view>

namespace halvane {

// Each byte as the Latin-1 character of that code, in UTF-8: 0xB0 becomes "°".
std::string Latin1ToUtf8(std::string_view text);

}  // namespace halvane
