#pragma once
// Fonts and drawing pieces that several live screens share.

#include <string>
#include <string_view>

#include "ui/canvas.h"

namespace halvane {

inline constexpr Font kSmallFont{8.25, false};
inline constexpr Font kSmallBoldFont{8.25, true};
inline constexpr Font kHeadingFont{8, false};
inline constexpr Font kReadoutFont{12, false};
inline constexpr Font kTableFont{16, true};
inline constexpr Font kListFont{24, false};
inline constexpr Font kBadgeFont{24, true};
inline constexpr Font kBigFont{36, true};

// The title of a display mode ("SLM", "1/1 OCT", ...); empty for modes without a screen.
std::string_view ModeTitle(int display_mode);
// A screen's title on the header's black box.
void DrawTitle(Canvas& canvas, Point at, std::string_view title);

// A filled box with a caption on it in white, such as "MAIN", "SUB" or "MFull".
void DrawBadge(Canvas& canvas, Point box_from, Point box_to, Color fill, Point text_at,
               std::string_view text, const Font& font);
// A black box with a yellow text, the meter's way of showing a level.
void DrawOnBlackBox(Canvas& canvas, Point box_from, Point box_to, Point text_at, std::string text,
                    const Font& font);
// A large message alone in the middle of the cleared area.
void DrawMessage(Canvas& canvas, std::string_view text);

}  // namespace halvane
