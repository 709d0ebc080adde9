#pragma once
// A HidBackend that shows only the device at one path, so that the link picks that meter when
// several identical ones are attached.

#include <string>
#include <utility>

#include "link/hid_backend.h"

namespace halvane {

class PathFilterBackend : public HidBackend {
 public:
  PathFilterBackend(HidBackend& backend, std::string path)
      : backend_(backend), path_(std::move(path)) {}

  std::vector<HidDeviceInfo> Enumerate(std::uint16_t vendor_id, std::uint16_t product_id) override {
    std::vector<HidDeviceInfo> devices = backend_.Enumerate(vendor_id, product_id);
    std::erase_if(devices, [this](const HidDeviceInfo& info) { return info.path != path_; });
    return devices;
  }
  std::unique_ptr<HidDevice> Open(const std::string& path) override {
    return path == path_ ? backend_.Open(path) : nullptr;
  }
  OpenFailure OpenError() const override { return backend_.OpenError(); }

 private:
  HidBackend& backend_;
  std::string path_;
};

}  // namespace halvane
