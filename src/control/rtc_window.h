#pragma once
// The clock window "Form1": the meter's clock beside the PC's, each shown once a second after
// a click on its label, and a button that sets the meter's clock to the PC's. An exchange that
// finds no meter is reported, and the meter's clock is not shown from a reply that never came.

#include <QDateTime>
#include <QDialog>
#include <QTimer>
#include <functional>

#include "control/control_context.h"

class QPushButton;

namespace halvane {

class ClickableLabel;

class RTC : public QDialog {
  Q_OBJECT

 public:
  using PcClock = std::function<QDateTime()>;
  static constexpr int kTickMs = 1000;

  // The context's timer is the main window's live poll; its pause waits after the set command.
  RTC(ControlContext context, QWidget* parent = nullptr,
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
  void ShowMeterTime();

  ControlContext context_;
  PcClock pc_clock_;
  QTimer* timer1_;
  ClickableLabel* meter_time_;
  ClickableLabel* pc_time_;
  bool show_meter_time_ = false;
  bool show_pc_time_ = false;
};

}  // namespace halvane
