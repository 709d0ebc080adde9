#pragma once
// Hands the main window's toolbar, settings lists and trigger panel to their handlers.

#include "control/control_context.h"
#include "control/settings_lists.h"
#include "control/toolbar_commands.h"
#include "control/trigger_setup.h"
#include "live/panel.h"

namespace halvane {

class MeterControls {
 public:
  MeterControls(Panel& panel, USB& usb, UserDialogs& dialogs, Pause pause);

  ToolbarCommands& Toolbar() { return toolbar_; }
  const ControlContext& Context() const { return context_; }
  const SubChannelSettings& SubChannel() const { return sub_; }

 private:
  ControlContext context_;
  SubChannelSettings sub_;
  SettingsLists settings_;
  ToolbarCommands toolbar_;
  TriggerSetup trigger_;
};

}  // namespace halvane
