#pragma once
// The toolbar buttons' pictograms, scalable drawings among the resources, and the main
// window's recording-state images, drawn in code.

#include <QIcon>
#include <QPixmap>
#include <string_view>

namespace halvane {

// The icon of the toolbar button with this key ("RecMode", "SD", ...); a blank icon for others.
// It is drawn afresh at whatever size it is shown.
QIcon ToolbarIcon(std::string_view key);

enum class StatusImage { Record, Pause, Stop, Usb };
QPixmap StatusImagePixmap(StatusImage image);

}  // namespace halvane
