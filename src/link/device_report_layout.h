#pragma once
// The report layout of a HID device, asked of the operating system by the device's path.

#include <filesystem>
#include <optional>
#include <string>

#include "link/report_descriptor.h"

namespace halvane {

// Linux: the hidraw node's report descriptor from sysfs; Windows: the collection's
// capabilities. nullopt when the system cannot tell.
std::optional<ReportLayout> DeviceReportLayout(const std::string& path);

#ifndef _WIN32
// "/dev/hidrawN" read from `class_folder`/hidrawN/device/report_descriptor.
std::optional<ReportLayout> HidrawReportLayout(const std::string& device_path,
                                               const std::filesystem::path& class_folder);
#endif

}  // namespace halvane
