#pragma once
// The set texts and flash records laid out by hand in tests/data/records (their README says what
// each holds), and the record files both writers make of them.

#include <string>
#include <vector>

#include "records/logger_image.h"
#include "records/sd_set.h"
#include "tests/file_text.h"

namespace halvane::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes FlashInput(const std::string& name) {
  const std::string text = DataText("records/" + name);
  return {text.begin(), text.end()};
}

inline std::string SdFile(const std::string& set_text) {
  return SdRecordFileText(set_text, SetLengthField(set_text));
}

// The record file of the first record of `image`.
inline std::string FlashFile(const Bytes& image) {
  const LoggerRecordTable table = WalkLoggerImage(image, static_cast<std::uint32_t>(image.size()));
  return table.empty() ? "no record\n" : FlashRecordFileText(image, table.front());
}

}  // namespace halvane::test
