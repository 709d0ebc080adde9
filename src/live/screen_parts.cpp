#include "live/screen_parts.h"

#include <array>

namespace halvane {

std::string_view ModeTitle(int display_mode) {
  static constexpr std::array<std::string_view, 8> kTitles{
      "SLM",     "1/1 OCT", "1/3 OCT",       "1/1 & 1/3 OCT",
      "1/1 OCT", "1/3 OCT", "1/1 & 1/3 OCT", "1/1 & 1/3 OCT"};
  if (display_mode < 0 || display_mode >= static_cast<int>(kTitles.size())) {
    return {};
  }
  return kTitles[static_cast<std::size_t>(display_mode)];
}

void DrawTitle(Canvas& canvas, Point at, std::string_view title) {
  canvas.Text(at, std::string(title), kBadgeFont, kWhite);
}

void DrawBadge(Canvas& canvas, Point box_from, Point box_to, Color fill, Point text_at,
               std::string_view text, const Font& font) {
  canvas.Box(box_from, box_to, fill);
  canvas.Text(text_at, std::string(text), font, kWhite);
}

void DrawOnBlackBox(Canvas& canvas, Point box_from, Point box_to, Point text_at, std::string text,
                    const Font& font) {
  canvas.Box(box_from, box_to, kBlack);
  canvas.Text(text_at, std::move(text), font, kYellow);
}

void DrawMessage(Canvas& canvas, std::string_view text) {
  canvas.Clear();
  canvas.Text({30, canvas.Height() / 2}, std::string(text), kBigFont, kBlack);
}

}  // namespace halvane
