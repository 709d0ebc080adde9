#pragma once
// Modeless windows that stay above all others and belong to the main window: created as its
// child on first use, found again afterwards, and brought forward each time they are shown.

#include <QScreen>
#include <QString>
#include <QWidget>
#include <algorithm>
#include <utility>

namespace halvane {

class TopmostWindow : public QWidget {
 public:
  explicit TopmostWindow(QWidget* owner) : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint) {
    // Closing the main window ends the program even while this window is open.
    setAttribute(Qt::WA_QuitOnClose, false);
  }
};

// A new tool window opens to the right of the main window, kept on the screen, so that it
// does not cover the toolbar or the live display where there is room beside them.
inline void PlaceBeside(const QWidget& owner, QWidget& window) {
  window.adjustSize();
  const QRect screen = owner.screen()->availableGeometry();
  const QRect frame = owner.frameGeometry();
  const int x = std::min(frame.right() + 1, screen.right() + 1 - window.width());
  window.move(std::max(x, screen.left()), std::max(frame.top(), screen.top()));
}

// `Window` needs Q_OBJECT so that the search finds only windows of its own type.
template <typename Window, typename... Args>
Window& ShowOwnedWindow(QWidget& owner, Args&&... args) {
  Window* window = owner.findChild<Window*>(QString(), Qt::FindDirectChildrenOnly);
  if (window == nullptr) {
    window = new Window(std::forward<Args>(args)..., &owner);
    PlaceBeside(owner, *window);
  }
  window->show();
  window->raise();
  window->activateWindow();
  return *window;
}

}  // namespace halvane
