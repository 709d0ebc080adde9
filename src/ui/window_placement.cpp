#include "ui/window_placement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace halvane {

namespace {

constexpr int kGap = 4;  // pixels between stacked tool windows

// The frame a window has, or will have once the window manager has framed it.
QRect ExpectedFrame(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  return frame != window.geometry() ? frame : window.geometry().marginsAdded(kFrameAllowance);
}

// Moves `tool` to ToolWindowPlace for its present size.
void MoveBeside(QWidget& tool, const QWidget& main_window) {
  const QRect own_frame = QRect(QPoint(0, 0), tool.size()).marginsAdded(kFrameAllowance);
  std::vector<QRect> open_frames;
  for (const QWidget* other : main_window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (other != &tool && other->isWindow() && other->isVisible()) {
      open_frames.push_back(ExpectedFrame(*other));
    }
  }
  tool.move(ToolWindowPlace(main_window.screen()->availableGeometry(), ExpectedFrame(main_window),
                            own_frame.size(), open_frames));
}

}  // namespace

QPoint ToolWindowPlace(const QRect& screen, const QRect& main_frame, QSize frame_size,
                       const std::vector<QRect>& open_frames) {
  const int x = std::max(std::min(main_frame.right() + 1, screen.right() + 1 - frame_size.width()),
                         screen.left());
  QRect place(QPoint(x, std::max(main_frame.top(), screen.top())), frame_size);
  const auto first_in_the_way = [&] {
    return std::ranges::find_if(open_frames,
                                [&](const QRect& open) { return open.intersects(place); });
  };
  for (auto in_the_way = first_in_the_way(); in_the_way != open_frames.end();
       in_the_way = first_in_the_way()) {
    place.moveTop(in_the_way->bottom() + 1 + kGap);
  }
  place.moveBottom(std::min(place.bottom(), screen.bottom()));
  return place.topLeft();
}

void PlaceToolWindow(QWidget& tool, const QWidget& main_window) {
  tool.adjustSize();
  MoveBeside(tool, main_window);
}

void PlaceWideWindow(QWidget& window, const QWidget& main_window) {
  const QRect screen = main_window.screen()->availableGeometry();
  const int frame_width = kFrameAllowance.left() + kFrameAllowance.right();
  const int room = screen.right() - ExpectedFrame(main_window).right() - frame_width;
  QSize size = window.size().boundedTo(screen.marginsRemoved(kFrameAllowance).size());
  size.setWidth(std::max(std::min(size.width(), room), window.minimumSizeHint().width()));
  window.resize(size);
  MoveBeside(window, main_window);
}

}  // namespace halvane
