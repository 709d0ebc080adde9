// Saves pictures of the windows over the simulated meter: the main window in each display mode
// and unplugged, with each settings list open, and the keypad, clock and comparator windows.
// Usage: halvane_screenshots DIR

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPixmap>
#include <cstdio>
#include <string>

#include "control/clickable_label.h"
#include "control/comparator_window.h"
#include "control/control_panel.h"
#include "control/meter_controls.h"
#include "control/rtc_window.h"
#include "link/usb.h"
#include "live/panel.h"
#include "sim/simulated_backend.h"
#include "sim/simulated_meter.h"
#include "tools/save_window.h"

namespace {

using halvane::tools::Save;

void ClickLabel(QWidget& window, const char* name) {
  auto* label = window.findChild<halvane::ClickableLabel*>(name);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(label, &release);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: halvane_screenshots DIR\n", stderr);
    return 2;
  }
  QApplication application(argc, argv);
  const QDir folder(argv[1]);
  folder.mkpath(".");

  halvane::SimulatedMeter meter;
  halvane::SimulatedBackend backend(meter);
  halvane::USB usb(backend);
  halvane::Panel panel(usb, QDir::temp().filePath("halvane-screenshots").toStdString());
  halvane::QtUserDialogs dialogs(&panel);
  halvane::MeterControls controls(panel, usb, dialogs, [](int) {});
  panel.Timer1().stop();
  panel.show();
  auto poll = [&] {
    for (int tick = 0; tick < 30; ++tick) {
      panel.PollMeter();
    }
  };

  for (int mode = 0; mode <= 8; ++mode) {
    meter.State().display_mode = mode;
    poll();
    Save(panel, folder, "mode" + std::to_string(mode));
  }
  meter.State().display_mode = 0;
  for (const char* key : {"RecMode", "Storage", "BackLight", "AC", "FS"}) {
    controls.Toolbar().Click(key);
    poll();
    Save(panel, folder, std::string("list-") + key);
  }
  controls.Toolbar().Click("Trigger");
  panel.Lists().ComboTrigger->setCurrentText("Trigger Level1");
  emit panel.Lists().ComboTrigger->activated(1);
  poll();
  Save(panel, folder, "list-Trigger");
  panel.Timer1().stop();

  Save(halvane::ControlPanel::Open(panel, usb, panel.Timer1()), folder, "keypad");
  halvane::Comparator& comparator = halvane::OpenComparator(panel, usb, panel.Timer1(), dialogs);
  panel.Timer1().stop();
  Save(comparator, folder, "comparator");

  halvane::RTC clock(usb, panel.Timer1(), &panel, [](int) {});
  clock.show();
  Save(clock, folder, "clock-closed-labels");
  ClickLabel(clock, "LblMeterTime");
  ClickLabel(clock, "LblPCTime");
  clock.Tick();
  Save(clock, folder, "clock");

  backend.Unplug();
  poll();
  Save(panel, folder, "no-connection");
  return 0;
}
