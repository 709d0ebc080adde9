#pragma once
// Replays a display list with a QPainter, mapping user units linearly onto a pixel rectangle.

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QRectF>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "ui/canvas.h"

namespace halvane {

// The fixed face every window draws in, so that rendering is the same on every machine. Its
// glyphs have the widths of Arial, the face the screens were laid out for.
inline constexpr const char* kDrawingFontFamily = "Liberation Sans";
// The fixed-pitch face, with the widths of Courier New.
inline constexpr const char* kFixedPitchFontFamily = "Liberation Mono";

class CanvasPainter {
 public:
  void Paint(QPainter& painter, const std::vector<DrawItem>& items, double width_units,
             double height_units, const QRectF& target);

  // Width in user units of a text drawn in `font` when `width_units` span `width_pixels`.
  double TextWidth(std::string_view text, const Font& font, double width_units,
                   double width_pixels);

 private:
  struct CachedFont {
    QFont font;
    QFontMetricsF metrics;
  };
  const CachedFont& FontFor(const Font& font);

  std::map<std::tuple<int, bool, bool>, CachedFont> fonts_;
};

}  // namespace halvane
