#include "control/rtc_window.h"

#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "control/clickable_label.h"
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

RTC::RTC(USB& usb, QTimer& timer1, QWidget* parent, Pause pause, PcClock pc_clock)
    : QDialog(parent),
      usb_(usb),
      main_timer1_(timer1),
      pause_(std::move(pause)),
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
  const PollPause poll_off(main_timer1_);
  exec();
}

void RTC::Tick() {
  if (show_meter_time_) {
    FillReadClockCommand(usb_.OutputReport());
    usb_.ExchangeReports();
    meter_time_->setText(QString::fromStdString(MeterTimeCaption(usb_.InputReportCopy())));
  } else {
    meter_time_->setText(kMeterTimeTitle);
  }
  pc_time_->setText(show_pc_time_ ? QString::fromStdString(PcTimeCaption(FieldsOf(pc_clock_())))
                                  : kPcTimeTitle);
}

void RTC::SetMeterTime() {
  const PollPause own_timer_off(*timer1_);
  FillSetClockCommand(usb_.OutputReport(), FieldsOf(pc_clock_()));
  usb_.ExchangeReports();
  pause_(kAfterSetMs);
}

void RTC::done(int result) {
  timer1_->stop();
  show_meter_time_ = false;
  show_pc_time_ = false;
  usb_.ReceiveReport();  // takes a reply still pending off the link
  main_timer1_.start();
  QDialog::done(result);
}

void RTC::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (parentWidget() != nullptr) {
    PlaceToolWindow(*this, *parentWidget()->window());
  }
}

}  // namespace halvane
