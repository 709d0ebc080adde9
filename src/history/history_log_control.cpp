#include "history/history_log_control.h"

#include <QHBoxLayout>
#include <chrono>

#include "live/live_formats.h"
#include "records/concat.h"

namespace halvane {

namespace {

constexpr const char* kStartText = "Log to file…";
constexpr const char* kStopText = "Stop log";

}  // namespace

HistoryLogControl::HistoryLogControl(UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs) {
  cmd_log_ = new QPushButton(kStartText);
  cmd_log_->setObjectName("CmdLog");
  lbl_log_ = new QLabel;
  lbl_log_->setObjectName("LblLog");
  lbl_log_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(cmd_log_);
  layout->addWidget(lbl_log_, 1);
  connect(cmd_log_, &QPushButton::clicked, this, &HistoryLogControl::StartOrStop);
}

void HistoryLogControl::StartOrStop() {
  if (log_) {
    Stop({});
    return;
  }
  const std::filesystem::path path = dialogs_.AskAppendFile("Log to file", "CSV values (*.csv)");
  if (path.empty()) {
    return;
  }
  std::string error;
  log_ = OpenLiveLog(path, LiveFormat::Csv, error);
  path_ = path;
  lines_written_ = 0;
  if (!log_) {
    dialogs_.Report(Concat({"Cannot log to ", path.string(), ": ", error}), *this);
    return;
  }
  ShowState();
}

void HistoryLogControl::Record(std::int64_t pc_time_ms, const LiveReading* reading) {
  if (!log_ || reading == nullptr) {
    return;
  }
  const auto time = std::chrono::system_clock::time_point(std::chrono::milliseconds(pc_time_ms));
  const LiveSample sample = LiveSampleAt(time, *reading);
  std::string error;
  if (!log_->Append(LiveOutputLines(LiveFormat::Csv, sample, log_->Empty()), error)) {
    Stop(Concat({"Cannot write the log ", path_.string(), ": ", error, ". Logging stopped."}));
    return;
  }
  ++lines_written_;
  ShowState();
}

// The message, if any, comes after the log is closed, so that nothing more is written, and
// does not hold up the poll that is running this.
void HistoryLogControl::Stop(const std::string& message) {
  log_.reset();
  ShowState();
  if (!message.empty()) {
    dialogs_.Report(message, *this);
  }
}

void HistoryLogControl::ShowState() {
  cmd_log_->setText(log_ ? kStopText : kStartText);
  const QString name = QString::fromStdString(path_.filename().string());
  const QString lines =
      QString("%1 line%2").arg(lines_written_).arg(lines_written_ == 1 ? "" : "s");
  lbl_log_->setText(log_ ? QString("Logging to %1: %2").arg(name, lines)
                         : QString("Log %1 ended: %2").arg(name, lines));
  lbl_log_->setToolTip(QString::fromStdString(path_.string()));
}

}  // namespace halvane
