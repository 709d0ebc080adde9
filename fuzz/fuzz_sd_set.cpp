// Arbitrary bytes as a downloaded SD set: parsed and written as a record file, which reads back.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "records/record_file_reader.h"
#include "records/sd_set.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view set_text(reinterpret_cast<const char*>(data), size);
  std::istringstream file(halvane::SdRecordFileText(set_text, halvane::SetLengthField(set_text)));
  halvane::RecordFileReader reader(file);
  std::vector<std::string_view> fields;
  while (reader.NextRecord(fields)) {
  }
  return 0;
}
