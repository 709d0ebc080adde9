#pragma once
// Where windows open: the main window within the screen's free area, and each tool window in a
// column beside it, clear of the main window and of the tool windows already open.

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace halvane {

// The title bar and borders that the window manager adds, assumed while a window's own frame
// is still unknown (before it is first shown).
inline constexpr QMargins kFrameAllowance(8, 40, 8, 8);

// The top-left corner of a tool window whose frame is `frame_size`: just right of the main
// window's frame, as high as it, and lower down where the frames of tool windows already open
// are in the way; kept on `screen`, the free area of the screen.
QPoint ToolWindowPlace(const QRect& screen, const QRect& main_frame, QSize frame_size,
                       const std::vector<QRect>& open_frames);

// Moves `tool`, a window of `main_window` about to open, to its place beside the main window.
void PlaceToolWindow(QWidget& tool, const QWidget& main_window);

// Moves `window`, a large window of `main_window` about to open, beside the main window as a
// tool window goes, first made narrower to fit the room the screen leaves there (though never
// narrower than its contents allow) and lower to fit the screen: it opens wholly on the screen.
void PlaceWideWindow(QWidget& window, const QWidget& main_window);

}  // namespace halvane
