#pragma once
// A level in tenths of a dB, as the meter sends it.

#include <cstdint>

namespace halvane {

using TenthsDb = std::uint16_t;

constexpr double Db(TenthsDb level) {
  return level / 10.0;
}

}  // namespace halvane
