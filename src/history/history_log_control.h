#pragma once
// "Log to file…" of the level history window: every poll's reading appended to a CSV file with
// the columns of `halvane-cli live --format csv`, one whole line per poll written at once. A
// poll without a reading (the meter away) writes nothing, so the log shows the same gap as the
// chart. A file that cannot be written stops the log with a message; the poll goes on.

#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <memory>

#include "live/line_log.h"
#include "live/live_reply.h"
#include "ui/user_dialogs.h"

namespace halvane {

class HistoryLogControl : public QWidget {
  Q_OBJECT

 public:
  explicit HistoryLogControl(UserDialogs& dialogs, QWidget* parent = nullptr);

  // Appends the line of the poll at PC time `pc_time_ms` while a log is open.
  void Record(std::int64_t pc_time_ms, const LiveReading* reading);

 private:
  void StartOrStop();
  void Stop(const std::string& message);
  void ShowState();

  UserDialogs& dialogs_;
  QPushButton* cmd_log_;
  QLabel* lbl_log_;
  std::unique_ptr<LineLog> log_;
  std::filesystem::path path_;
  std::size_t lines_written_ = 0;
};

}  // namespace halvane
