#include "control/meter_controls.h"

namespace halvane {

MeterControls::MeterControls(Panel& panel, USB& usb, UserDialogs& dialogs, Pause pause)
    : context_{usb, panel.Timer1(), dialogs, std::move(pause)},
      settings_(context_, panel.Lists(), panel.Reading(), sub_),
      toolbar_(context_, panel.Toolbar1(), panel.Lists(), panel.Reading(), sub_, panel),
      trigger_(context_, panel.Lists()) {}

}  // namespace halvane
