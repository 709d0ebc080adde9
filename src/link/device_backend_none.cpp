#include "link/device_backend.h"

namespace halvane {

std::unique_ptr<HidBackend> OpenDeviceBackend(std::string& error) {
  error =
      "this build has no USB support (it was built without hidapi): only the simulated meter "
      "(--simulate) can be used";
  return nullptr;
}

}  // namespace halvane
