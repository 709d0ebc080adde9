#pragma once
// The clock window "Form1": the meter's clock beside the PC's, each shown once a second after
// a click on its label, and a button that sets the meter's clock to the PC's.

#include <QDateTime>
#include <QDialog>
#include <QTimer>
#include <functional>

#include "control/poll_pause.h"
#include "link/usb.h"

class QPushButton;

namespace halvane {

class ClickableLabel;

class RTC : public QDialog {
  Q_OBJECT

 public:
  using PcClock = std::function<QDateTime()>;
  static constexpr int kTickMs = 1000;
  static constexpr int kAfterSetMs = 2000;  // no clock read follows the set command sooner

  // `timer1` is the main window's live poll; `pause` waits after the set command.
  RTC(USB& usb, QTimer& timer1, QWidget* parent = nullptr, Pause pause = BlockingPause,
      PcClock pc_clock = &QDateTime::currentDateTime);

  // The toolbar's "RTC": runs the window modally with the live poll off, on again after.
  void RunModal();

  // One tick of the window's own timer: the shown clocks, or the labels' titles.
  void Tick();
  void SetMeterTime();
  // Every way of closing the window ends here: "Exit", the close button, Escape.
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  USB& usb_;
  QTimer& main_timer1_;
  Pause pause_;
  PcClock pc_clock_;
  QTimer* timer1_;
  ClickableLabel* meter_time_;
  ClickableLabel* pc_time_;
  bool show_meter_time_ = false;
  bool show_pc_time_ = false;
};

}  // namespace halvane
