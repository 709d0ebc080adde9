#include "control/meter_answer.h"

#include <string>

namespace halvane {

bool MeterAnswered(const ControlContext& context) {
  if (context.usb.MeterConnected()) {
    return true;
  }
  context.dialogs.ShowCritical(std::string(kMeterNotConnectedMessage));
  return false;
}

}  // namespace halvane
