#include "link/device_backend.h"
#include "link/hidapi_backend.h"

namespace halvane {

std::unique_ptr<HidBackend> OpenDeviceBackend(std::string&) {
  return std::make_unique<HidapiBackend>();
}

}  // namespace halvane
