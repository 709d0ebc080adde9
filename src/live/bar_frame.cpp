#include <algorithm>
#include <cmath>
#include <string>

#include "live/band_labels.h"
#include "live/live_screen.h"
#include "live/screen_parts.h"

namespace halvane {
namespace {

constexpr double kBaseline = 90;
constexpr double kTopLine = 20;
// Grid lines closer than one unit cannot be told apart; the cap also keeps a wild range from a
// record file from drawing without end.
constexpr double kMaxGridSteps = 70;

Pen WithStyle(const Pen& pen, LineStyle style, int width) {
  return Pen{pen.color, style, width};
}

// The dotted grid with its ticks and level labels; returns the height of the top grid line.
double DrawLevelGrid(Canvas& canvas, double range_top, double range_bottom, const Font& font) {
  const double steps = range_top < 120 ? (range_top - range_bottom) / 10 : 9;
  const Pen dotted = WithStyle(canvas.CurrentPen(), LineStyle::Dotted, 1);
  const Pen solid = WithStyle(canvas.CurrentPen(), LineStyle::Solid, 1);
  const int last_step = static_cast<int>(std::floor(std::min(steps, kMaxGridSteps)));
  double y = kBaseline;
  for (int j = 0; j <= last_step; ++j) {
    y = kBaseline - (kBaseline - kTopLine) * j / steps;
    canvas.Line({30, y}, {555, y}, dotted);
    canvas.Line({29, y}, {27, y}, solid);
    if (j % 2 == 0) {
      canvas.Line({29, y}, {25, y}, solid);
    }
    const double level = range_bottom + 10.0 * j;
    canvas.Text({5, y - 1}, std::to_string(std::lround(level)), font, kBlack);
  }
  return y;
}

}  // namespace

void DrawBarFrame(Canvas& canvas, double range_top, double range_bottom, std::string_view main_freq,
                  std::string_view sub_freq, const BarFrameStyle& style) {
  const Pen dotted = WithStyle(canvas.CurrentPen(), LineStyle::Dotted, 1);
  canvas.Line({30, kTopLine}, {30, kBaseline}, dotted);
  canvas.Line({30, kBaseline}, {555, kBaseline}, dotted);

  // An empty range has no steps to divide; the frame keeps its top line's place for "dB".
  const bool has_range = range_top > range_bottom;
  const double top_grid_line =
      has_range ? DrawLevelGrid(canvas, range_top, range_bottom, style.label_font) : kTopLine;
  if (style.db_label) {
    canvas.Text({25, top_grid_line - 6}, "dB", style.label_font, kBlack);
  }

  const Pen axis = WithStyle(canvas.CurrentPen(), LineStyle::Solid, 2);
  canvas.Line({29, 18}, {29, style.axis_y}, axis);
  canvas.Line({29, style.axis_y}, {554, style.axis_y}, axis);

  for (std::size_t band = 1; band < 33; band += 3) {
    const double x =
        40.0 * static_cast<double>(band / 3 + 1) + 10.0 * static_cast<double>(band % 3);
    canvas.Text({x, 93}, std::string(ThirdOctaveBandLabels[band]), style.label_font, kBlack);
  }
  canvas.Text({490, 93}, std::string(main_freq), style.weighting_font, kBlack);
  canvas.Text({540, 93}, std::string(sub_freq), style.weighting_font, kBlack);
}

void ReInit(Canvas& canvas, double range_top, double range_bottom, std::string_view main_freq,
            std::string_view sub_freq) {
  DrawBarFrame(canvas, range_top, range_bottom, main_freq, sub_freq,
               {90.4, kSmallFont, kSmallBoldFont, true});
}

}  // namespace halvane
