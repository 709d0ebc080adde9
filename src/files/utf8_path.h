#pragma once
// Paths as people type and read them: UTF-8 text. Windows keeps paths in UTF-16, and a plain
// std::string converts through the ANSI code page there, which loses every letter outside it;
// going through std::u8string converts exactly on every system.

#include <filesystem>
#include <string>
#include <string_view>

namespace halvane {

inline std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string Utf8Text(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace halvane
