#pragma once
// A flash image with more records than the data-logger window's table holds, the last one cut
// short: SLM records of two samples as the simulated meter composes them, the last one byte
// short, so that it holds one.

#include <cstdint>
#include <vector>

#include "records/logger_image.h"
#include "sim/flash_record.h"

namespace halvane::test {

inline constexpr std::size_t kOverfullRecords = kMaxLoggerRecords + 1;

inline std::vector<std::uint8_t> OverfullFlashImage() {
  std::vector<std::uint8_t> image;
  for (std::size_t record = 0; record < kOverfullRecords; ++record) {
    AppendFlashRecord({.samples = 2}, image);
  }
  image.pop_back();
  return image;
}

}  // namespace halvane::test
