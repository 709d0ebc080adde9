#pragma once
// The meter's texts are plain 8-bit characters; this is how they become Qt strings.

#include <QString>
#include <string_view>

namespace halvane {

inline QString ToQString(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace halvane
