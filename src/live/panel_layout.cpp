#include "live/panel_layout.h"

namespace halvane {

std::string ToggleVersionCaption(std::string_view caption) {
  std::string result(kPanelCaption);
  if (caption.find(kBuildNumber) == std::string_view::npos) {
    result += "   ";
    result += kBuildNumber;
  }
  return result;
}

WindowSize ApplyMinimumSize(WindowSize twips) {
  if (twips.width < 13680) {
    twips.width = 13600;
  }
  if (twips.height < 9465) {
    twips.height = 9465;
  }
  return twips;
}

}  // namespace halvane
