#include "live/temp_record_file.h"

#include <fstream>
#include <system_error>

namespace halvane {

std::filesystem::path PrepareTempRecordFile(const std::filesystem::path& folder) {
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  const std::filesystem::path path = folder / kTempRecordFileName;
  std::ofstream(path, std::ios::out | std::ios::trunc);
  return path;
}

}  // namespace halvane
