#include "link/hidapi_backend.h"

#include <hidapi.h>

#include "link/reports.h"

namespace halvane {

namespace {

std::string Narrow(const wchar_t* text) {
  std::string result;
  for (; text != nullptr && *text != L'\0'; ++text) {
    result.push_back(*text < 0x80 ? static_cast<char>(*text) : '?');
  }
  return result;
}

class HidapiDevice : public HidDevice {
 public:
  explicit HidapiDevice(hid_device* handle) : handle_(handle) {}
  ~HidapiDevice() override { hid_close(handle_); }
  HidapiDevice(const HidapiDevice&) = delete;
  HidapiDevice& operator=(const HidapiDevice&) = delete;

  // hidapi 0.13 cannot read the report descriptor, so these are the meter's own lengths.
  std::size_t InputReportLength() const override { return kInputReportSize; }
  std::size_t OutputReportLength() const override { return kOutputReportSize; }

  int Write(std::span<const std::uint8_t> report) override {
    return hid_write(handle_, report.data(), report.size());
  }

  int Read(std::span<std::uint8_t> data, int timeout_ms) override {
    return hid_read_timeout(handle_, data.data(), data.size(), timeout_ms);
  }

 private:
  hid_device* handle_;
};

}  // namespace

HidapiBackend::HidapiBackend() {
  hid_init();
}

HidapiBackend::~HidapiBackend() {
  hid_exit();
}

std::vector<HidDeviceInfo> HidapiBackend::Enumerate(std::uint16_t vendor_id,
                                                    std::uint16_t product_id) {
  std::vector<HidDeviceInfo> devices;
  hid_device_info* list = hid_enumerate(vendor_id, product_id);
  for (const hid_device_info* info = list; info != nullptr; info = info->next) {
    devices.push_back(HidDeviceInfo{info->path != nullptr ? info->path : "", info->vendor_id,
                                    info->product_id, Narrow(info->product_string)});
  }
  hid_free_enumeration(list);
  return devices;
}

std::unique_ptr<HidDevice> HidapiBackend::Open(const std::string& path) {
  hid_device* handle = hid_open_path(path.c_str());
  if (handle == nullptr) {
    return nullptr;
  }
  return std::make_unique<HidapiDevice>(handle);
}

}  // namespace halvane
