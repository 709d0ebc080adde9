#pragma once
// Several backends seen as one: the devices of all of them, each opened by the backend that
// lists it.

#include <string>
#include <vector>

#include "link/hid_backend.h"

namespace halvane {

class JoinedBackend : public HidBackend {
 public:
  explicit JoinedBackend(std::vector<HidBackend*> backends) : backends_(std::move(backends)) {}

  std::vector<HidDeviceInfo> Enumerate(std::uint16_t vendor_id, std::uint16_t product_id) override {
    std::vector<HidDeviceInfo> devices;
    for (HidBackend* backend : backends_) {
      for (HidDeviceInfo& device : backend->Enumerate(vendor_id, product_id)) {
        devices.push_back(std::move(device));
      }
    }
    return devices;
  }
  std::unique_ptr<HidDevice> Open(const std::string& path) override {
    for (HidBackend* backend : backends_) {
      if (std::unique_ptr<HidDevice> device = backend->Open(path)) {
        open_error_ = {};
        return device;
      }
      open_error_ = backend->OpenError();
    }
    return nullptr;
  }
  OpenFailure OpenError() const override { return open_error_; }

 private:
  std::vector<HidBackend*> backends_;
  OpenFailure open_error_;
};

}  // namespace halvane
