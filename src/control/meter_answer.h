#pragma once
// How a handler that talks to the meter learns that an exchange found no meter. It then stops:
// the user is told once, nothing more is sent, and no dialog shows a reply that never came.

#include <string_view>

#include "control/control_context.h"

namespace halvane {

// True when the last exchange reached the meter; otherwise shows the message and is false.
bool MeterAnswered(const ControlContext& context);

}  // namespace halvane
