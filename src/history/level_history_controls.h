#pragma once
// The toolbar's "History" button: opens the level history window, or brings it to the front,
// and hands it every poll of the main window while it is open.

#include <QObject>
#include <QPointer>

#include "control/toolbar_commands.h"
#include "history/level_history_window.h"
#include "live/panel.h"

namespace halvane {

class LevelHistoryControls : public QObject {
  Q_OBJECT

 public:
  // `clock` times each poll; the system's clocks unless a test brings its own.
  LevelHistoryControls(Panel& panel, ToolbarCommands& toolbar, UserDialogs& dialogs,
                       PollClock clock = SystemPollTime);

  void OpenHistory();
  // The open window; null when closed.
  LevelHistoryWindow* Window() const { return window_; }

 private:
  Panel& panel_;
  UserDialogs& dialogs_;
  PollClock clock_;
  QPointer<LevelHistoryWindow> window_;
};

}  // namespace halvane
