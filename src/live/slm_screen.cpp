#include <array>
#include <string>

#include "live/level_text.h"
#include "live/live_screen.h"
#include "live/meter.h"
#include "live/screen_parts.h"

namespace halvane {
namespace {

constexpr double kScaleLeft = 30;
constexpr double kScaleWidth = 500;

// The level scale across the top with the bar of bytes 45, 46 in it.
void DrawLevelScale(Canvas& canvas, const LiveReading& reading) {
  const double top = reading.RangeTop;
  const double bottom = reading.RangeBottom;
  canvas.Text({25, 16}, std::to_string(reading.RangeBottom), kSmallFont, kBlack);
  canvas.Text({525, 16}, std::to_string(reading.RangeTop), kSmallFont, kBlack);
  canvas.Line({29, 19}, {531, 19});
  canvas.Line({29, 31}, {531, 31});
  canvas.Line({29, 19}, {29, 31});
  canvas.Line({531, 19}, {531, 31});
  if (!(top > bottom)) {
    return;  // an empty range has no divisions and no place for a level
  }

  const double divisions = (top - bottom) / 10;
  for (int i = 1; i <= divisions - 1; ++i) {
    const double x = kScaleLeft + i * kScaleWidth / divisions;
    canvas.Line({x, 20}, {x, 19});
    canvas.Line({x, 30}, {x, 31});
    canvas.Text({x - 4, 16}, std::to_string(reading.RangeBottom + 10 * i), kSmallFont, kBlack);
  }

  double level = reading.LevelNumber(45);
  if (level > top) {
    canvas.Box({535, 28}, {545, 30}, kBlack);
    canvas.Text({536, 28}, "OV", kSmallBoldFont, kYellow);
    level = top;
  } else if (level < bottom) {
    canvas.Box({15, 28}, {25, 30}, kBlack);
    canvas.Text({15, 28}, "UN", kSmallBoldFont, kYellow);
    level = bottom;
  }
  const double bar_right = kScaleLeft + kScaleWidth * (level - bottom) / (top - bottom);
  canvas.Box({kScaleLeft, 20}, {bar_right, 30}, ConsoleColor(9));
}

// Where one channel's block and list stand, and which bytes feed them.
struct ChannelLayout {
  double left;     // x of the list; the level box stands 114 units right of it
  double label_x;  // x of the item label and of the badge's text
  std::string_view badge;
  double badge_right;
  int badge_color;
  std::size_t current_index;  // high byte of the current value
  std::size_t leq_index;      // high byte of Leq; LE to L95 follow two bytes apart
};

constexpr ChannelLayout kMainLayout{30, 30, "MAIN", 80, 1, 133, 135};
constexpr ChannelLayout kSubLayout{280, 270, "SUB", 310, 4, 25, 27};

void DrawChannelBlock(Canvas& canvas, const LiveReading& reading, const ChannelLayout& layout,
                      const std::string& item_label) {
  const double x = layout.left;
  canvas.Text({layout.label_x, 45}, item_label, kBigFont, kBlack);
  DrawOnBlackBox(canvas, {x + 114, 45}, {x + 214, 53}, {x + 115, 45},
                 PadLeft(ShownLevel(reading, layout.current_index), 5), kBigFont);
  canvas.Text({x + 215, 50}, "dB", kReadoutFont, kBlack);
  DrawBadge(canvas, {layout.label_x - 2, 35}, {layout.badge_right, 41},
            ConsoleColor(layout.badge_color), {layout.label_x, 35}, layout.badge, kBadgeFont);
}

// Leq, LE, Lmax, ..., L95 (item codes 1 to 9) with their levels right-aligned in one column.
void DrawChannelList(Canvas& canvas, const LiveReading& reading, const ChannelLayout& layout,
                     std::string_view freq, std::string_view time) {
  static constexpr std::array<std::size_t, 9> kLevelWidths{10, 11, 8, 8, 9, 9, 9, 9, 9};
  for (std::size_t row = 0; row < kLevelWidths.size(); ++row) {
    std::string line = ItemLabel(static_cast<int>(row) + 1, freq, time);
    line += PadLeft(ShownLevel(reading, layout.leq_index + 2 * row), kLevelWidths[row]);
    canvas.Text({layout.left, 60.0 + 6.0 * static_cast<double>(row)}, std::move(line), kListFont,
                kBlack);
  }
}

}  // namespace

void DrawSlmScreen(Canvas& canvas, const LiveReading& reading) {
  DrawTitle(canvas, {50, 6}, "SLM");
  DrawLevelScale(canvas, reading);
  DrawChannelBlock(canvas, reading, kMainLayout, reading.MainItemLabel);
  DrawChannelList(canvas, reading, kMainLayout, reading.MainFreqWeighting,
                  reading.MainTimeWeighting);
  DrawChannelBlock(canvas, reading, kSubLayout, reading.SubItemLabel);
  DrawChannelList(canvas, reading, kSubLayout, reading.SubFreqWeighting, reading.SubTimeWeighting);
}

}  // namespace halvane
