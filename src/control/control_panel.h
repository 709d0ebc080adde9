#pragma once
// The keypad window "Buttons": one button per key of the meter, each pressing its key from the
// PC. The reply to a press is not looked at; its effect shows in the next live readings. A
// press that finds no meter says so.

#include "control/control_context.h"
#include "control/meter_commands.h"
#include "control/topmost_window.h"

namespace halvane {

class ControlPanel : public TopmostWindow {
  Q_OBJECT

 public:
  // The context's timer is the main window's live poll, kept off during each press.
  ControlPanel(ControlContext context, QWidget* owner);

  // The toolbar's "CtrButton": creates the keypad as a window of `owner` on first use, then
  // shows it again, raised above the others.
  static ControlPanel& Open(QWidget& owner, const ControlContext& context);

 private:
  void PressKey(const MeterKey& key);

  ControlContext context_;
};

}  // namespace halvane
