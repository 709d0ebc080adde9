#pragma once
// Modeless windows that stay above all others and belong to the main window: created as its
// child on first use, found again afterwards, and brought forward each time they are shown.

#include <QString>
#include <QWidget>
#include <utility>

#include "ui/window_placement.h"

namespace halvane {

class TopmostWindow : public QWidget {
 public:
  explicit TopmostWindow(QWidget* owner) : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint) {
    // Closing the main window ends the program even while this window is open.
    setAttribute(Qt::WA_QuitOnClose, false);
  }
};

// `Window` needs Q_OBJECT so that the search finds only windows of its own type.
template <typename Window, typename... Args>
Window& ShowOwnedWindow(QWidget& owner, Args&&... args) {
  Window* window = owner.findChild<Window*>(QString(), Qt::FindDirectChildrenOnly);
  if (window == nullptr) {
    window = new Window(std::forward<Args>(args)..., &owner);
    PlaceToolWindow(*window, owner);
  }
  window->show();
  window->raise();
  window->activateWindow();
  return *window;
}

}  // namespace halvane
