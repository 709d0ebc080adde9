#pragma once
// The keypad window "Buttons": one button per key of the meter, each pressing its key from the
// PC. The reply to a press is not looked at; its effect shows in the next live readings.

#include <QTimer>

#include "control/meter_commands.h"
#include "control/topmost_window.h"
#include "link/usb.h"

namespace halvane {

class ControlPanel : public TopmostWindow {
  Q_OBJECT

 public:
  // `timer1` is the main window's live poll, kept off during each press.
  ControlPanel(USB& usb, QTimer& timer1, QWidget* owner);

  // The toolbar's "CtrButton": creates the keypad as a window of `owner` on first use, then
  // shows it again, raised above the others.
  static ControlPanel& Open(QWidget& owner, USB& usb, QTimer& timer1);

 private:
  void PressKey(const MeterKey& key);

  USB& usb_;
  QTimer& timer1_;
};

}  // namespace halvane
