#pragma once
// The backend of the real instrument, as this build has it.

#include <memory>
#include <string>

#include "link/hid_backend.h"

namespace halvane {

// Null, with the reason in `error`, in a build without USB support (no hidapi).
std::unique_ptr<HidBackend> OpenDeviceBackend(std::string& error);

}  // namespace halvane
