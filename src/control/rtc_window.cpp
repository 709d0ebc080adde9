#include "control/rtc_window.h"

#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "control/clickable_label.h"
#include "control/meter_answer.h"
#include "control/meter_clock.h"
#include "ui/window_placement.h"

namespace halvane {

namespace {

constexpr const char* kMeterTimeTitle = "Meter Time";
constexpr const char* kPcTimeTitle = "PC System Time";

ClockFields FieldsOf(const QDateTime& time) {
  const QDate date = time.date();
  const QTime clock = time.time();
  return {date.year(), date.month(), date.day(), clock.hour(), clock.minute(), clock.second()};
}

}  // namespace

RTC::RTC(ControlContext context, QWidget* parent, PcClock pc_clock)
    : QDialog(parent),
      context_(std::move(context)),
      pc_clock_(std::move(pc_clock)),
      timer1_(new QTimer(this)) {
  setObjectName("RTC");
  setWindowTitle("Form1");

  auto* frame = new QGroupBox("Time", this);
  frame->setObjectName("FrameTime");
  meter_time_ = new ClickableLabel(kMeterTimeTitle, frame);
  meter_time_->setObjectName("LblMeterTime");
  pc_time_ = new ClickableLabel(kPcTimeTitle, frame);
  pc_time_->setObjectName("LblPCTime");
  auto* frame_layout = new QVBoxLayout(frame);
  frame_layout->addWidget(meter_time_);
  frame_layout->addWidget(pc_time_);

  auto* set_time = new QPushButton("Set Meter Time To System Time", this);
  set_time->setObjectName("CmdSetTime");
  set_time->setAutoDefault(false);
  auto* exit = new QPushButton("Exit", this);
  exit->setObjectName("CmdExit");
  exit->setAutoDefault(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame);
  layout->addWidget(set_time);
  layout->addWidget(exit);

  connect(meter_time_, &ClickableLabel::clicked, this,
          [this] { show_meter_time_ = !show_meter_time_; });
  connect(pc_time_, &ClickableLabel::clicked, this, [this] { show_pc_time_ = !show_pc_time_; });
  connect(set_time, &QPushButton::clicked, this, &RTC::SetMeterTime);
  connect(exit, &QPushButton::clicked, this, &RTC::reject);

  timer1_->setObjectName("Timer1");
  timer1_->setInterval(kTickMs);
  connect(timer1_, &QTimer::timeout, this, &RTC::Tick);
  timer1_->start();
}

void RTC::RunModal() {
  const PollPause poll_off(context_.timer1);
  exec();
}

void RTC::Tick() {
  if (show_meter_time_) {
    ShowMeterTime();
  } else {
    meter_time_->setText(kMeterTimeTitle);
  }
  pc_time_->setText(show_pc_time_ ? QString::fromStdString(PcTimeCaption(FieldsOf(pc_clock_())))
                                  : kPcTimeTitle);
}

// Without an answer the meter's clock goes back to its title and is not read again until the
// label is clicked again.
void RTC::ShowMeterTime() {
  FillReadClockCommand(context_.usb.OutputReport());
  context_.usb.ExchangeReports();
  if (!context_.usb.MeterConnected()) {
    // Off before the message, whose event loop goes on running this window's timer.
    show_meter_time_ = false;
    meter_time_->setText(kMeterTimeTitle);
  }
  if (MeterAnswered(context_)) {
    meter_time_->setText(QString::fromStdString(MeterTimeCaption(context_.usb.InputReportCopy())));
  }
}

void RTC::SetMeterTime() {
  const PollPause own_timer_off(*timer1_);
  FillSetClockCommand(context_.usb.OutputReport(), FieldsOf(pc_clock_()));
  context_.usb.ExchangeReports();
  if (MeterAnswered(context_)) {
    context_.pause(kAfterClockSetMs);
  }
}

void RTC::done(int result) {
  timer1_->stop();
  show_meter_time_ = false;
  show_pc_time_ = false;
  context_.usb.ReceiveReport();  // takes a reply still pending off the link
  context_.timer1.start();
  QDialog::done(result);
}

void RTC::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (parentWidget() != nullptr) {
    PlaceToolWindow(*this, *parentWidget()->window());
  }
}

}  // namespace halvane
