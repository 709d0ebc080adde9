#include "control/meter_controls.h"

namespace halvane {

MeterControls::MeterControls(Panel& panel, USB& usb, UserDialogs& dialogs, Pause pause)
    : settings_(ControlContext{usb, panel.Timer1(), dialogs, pause}, panel.Lists(), panel.Reading(),
                sub_),
      toolbar_(ControlContext{usb, panel.Timer1(), dialogs, pause}, panel.Toolbar1(), panel.Lists(),
               panel.Reading(), sub_, panel),
      trigger_(ControlContext{usb, panel.Timer1(), dialogs, pause}, panel.Lists()) {}

}  // namespace halvane
