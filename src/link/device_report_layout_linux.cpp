#include <fstream>
#include <iterator>
#include <vector>

#include "link/device_report_layout.h"

namespace halvane {

namespace {

constexpr std::size_t kMaxDescriptorBytes = 4096;  // the kernel's HID_MAX_DESCRIPTOR_SIZE

}  // namespace

std::optional<ReportLayout> HidrawReportLayout(const std::string& device_path,
                                               const std::filesystem::path& class_folder) {
  const std::string node = std::filesystem::path(device_path).filename().string();
  if (!node.starts_with("hidraw")) {
    return std::nullopt;
  }
  std::ifstream file(class_folder / node / "device" / "report_descriptor", std::ios::binary);
  if (!file) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> descriptor;
  for (std::istreambuf_iterator<char> in(file), end;
       in != end && descriptor.size() < kMaxDescriptorBytes; ++in) {
    descriptor.push_back(static_cast<std::uint8_t>(*in));
  }
  return ParseReportDescriptor(descriptor);
}

std::optional<ReportLayout> DeviceReportLayout(const std::string& path) {
  return HidrawReportLayout(path, "/sys/class/hidraw");
}

}  // namespace halvane
