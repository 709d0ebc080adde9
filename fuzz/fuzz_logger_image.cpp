// Arbitrary bytes as a flash image: walked, and every record found written as a record file.

#include <cstddef>
#include <cstdint>
#include <span>

#include "records/logger_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> image(data, size);
  for (const halvane::LoggerRecord& record :
       halvane::WalkLoggerImage(image, static_cast<std::uint32_t>(size))) {
    halvane::FlashRecordFileText(image, record);
  }
  return 0;
}
