#include "live/meter.h"

namespace halvane {
namespace {

constexpr double kBarBaseline = 90;
constexpr double kBarHeight = 70;

// Fills the bar from the baseline up to the value's height and outlines all but its bottom edge.
void DrawBar(Canvas& target, double value, double top, double bottom, int color_number,
             double x_left, double x_right) {
  if (!(top > bottom)) {
    return;  // an empty range has no height to draw against
  }
  if (value > top) {
    value = top;
  }
  if (!(value > bottom)) {
    return;
  }
  const double y_top = kBarBaseline - kBarHeight * (value - bottom) / (top - bottom);
  target.Box({x_left, y_top}, {x_right, kBarBaseline}, ConsoleColor(color_number));
  target.Line({x_left, y_top}, {x_left, kBarBaseline});
  target.Line({x_left, y_top}, {x_right, y_top});
  target.Line({x_right, y_top}, {x_right, kBarBaseline});
}

}  // namespace

void DrawOctaveBar(Canvas& target, double value, double top, double bottom, int color_number,
                   int slot) {
  const double x_left = 40.0 * slot + 40;
  DrawBar(target, value, top, bottom, color_number, x_left, x_left + 30);
}

void DrawThirdOctaveBar(Canvas& target, double value, double top, double bottom, int color_number,
                        int band) {
  const double x_left = 40.0 * (band / 3 + 1) + 10.0 * (band % 3);
  DrawBar(target, value, top, bottom, color_number, x_left, x_left + 10);
}

}  // namespace halvane
