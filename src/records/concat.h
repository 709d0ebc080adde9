#pragma once
// Joins texts into one string, reserving once. Used instead of chains of operator+, whose
// inlined form GCC 12 misreads as overlapping copies (-Wrestrict) at -O3.

#include <initializer_list>
#include <string>
#include <string_view>

namespace halvane {

inline std::string Concat(std::initializer_list<std::string_view> parts) {
  std::size_t size = 0;
  for (const std::string_view part : parts) {
    size += part.size();
  }
  std::string text;
  text.reserve(size);
  for (const std::string_view part : parts) {
    text.append(part.data(), part.size());
  }
  return text;
}

}  // namespace halvane
