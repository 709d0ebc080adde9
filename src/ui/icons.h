#pragma once
// Icons drawn in code: the toolbar buttons and the main window's recording-state images.

#include <QIcon>
#include <QPixmap>
#include <string_view>

namespace halvane {

// The icon of the toolbar button with this key ("RecMode", "SD", ...); a blank icon for others.
QIcon ToolbarIcon(std::string_view key);

enum class StatusImage { Record, Pause, Stop, Usb };
QPixmap StatusImagePixmap(StatusImage image);

}  // namespace halvane
