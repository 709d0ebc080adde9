#pragma once
// What every handler that talks to the meter shares: the link, the main window's poll timer,
// the dialogs and the pause between commands; and the values the toolbar keeps for the lists.

#include <QTimer>
#include <string>

#include "control/poll_pause.h"
#include "link/usb.h"
#include "ui/user_dialogs.h"

namespace halvane {

struct ControlContext {
  USB& usb;
  QTimer& timer1;
  UserDialogs& dialogs;
  Pause pause;
};

// The sub channel's weightings as the toolbar last read them from the meter.
struct SubChannelSettings {
  std::string SubFreqSetting;
  std::string SubTimeSetting;
};

}  // namespace halvane
