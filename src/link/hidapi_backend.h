#pragma once
// The real instrument through hidapi (hidraw on Linux).

#include <functional>
#include <optional>

#include "link/device_report_layout.h"
#include "link/hid_backend.h"

namespace halvane {

class HidapiBackend : public HidBackend {
 public:
  // Asks the system for a device's report layout by its path.
  using LayoutReader = std::function<std::optional<ReportLayout>(const std::string& path)>;

  explicit HidapiBackend(LayoutReader read_layout = DeviceReportLayout);
  ~HidapiBackend() override;
  HidapiBackend(const HidapiBackend&) = delete;
  HidapiBackend& operator=(const HidapiBackend&) = delete;

  std::vector<HidDeviceInfo> Enumerate(std::uint16_t vendor_id, std::uint16_t product_id) override;
  std::unique_ptr<HidDevice> Open(const std::string& path) override;
  OpenFailure OpenError() const override { return open_error_; }

 private:
  LayoutReader read_layout_;
  OpenFailure open_error_;
};

}  // namespace halvane
