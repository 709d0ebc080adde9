#include "history/level_history_controls.h"

#include <utility>

#include "ui/window_placement.h"

namespace halvane {

LevelHistoryControls::LevelHistoryControls(Panel& panel, ToolbarCommands& toolbar,
                                           UserDialogs& dialogs, PollClock clock)
    : panel_(panel), dialogs_(dialogs), clock_(std::move(clock)) {
  toolbar.AddBranch("History", [this] { OpenHistory(); });
  connect(&panel, &Panel::Polled, this, [this](const LiveReading* reading) {
    if (!window_.isNull()) {
      window_->Record(clock_(), reading);
    }
  });
}

void LevelHistoryControls::OpenHistory() {
  if (window_.isNull()) {
    // Closing the window lets its 24 hours of samples go.
    window_ = new LevelHistoryWindow(dialogs_, &panel_);
    window_->setAttribute(Qt::WA_DeleteOnClose);
    PlaceWideWindow(*window_, panel_);
  }
  window_->show();
  window_->raise();
  window_->activateWindow();
}

}  // namespace halvane
