#include "ui/canvas.h"

#include <array>

namespace halvane {

Color ConsoleColor(int n) {
  static constexpr std::array<Color, 16> kPalette{{
      {0, 0, 0},
      {0, 0, 128},
      {0, 128, 0},
      {0, 128, 128},
      {128, 0, 0},
      {128, 0, 128},
      {128, 128, 0},
      {192, 192, 192},
      {128, 128, 128},
      {0, 0, 255},
      {0, 255, 0},
      {0, 255, 255},
      {255, 0, 0},
      {255, 0, 255},
      {255, 255, 0},
      {255, 255, 255},
  }};
  if (n < 0 || n >= static_cast<int>(kPalette.size())) {
    return kBlack;
  }
  return kPalette[static_cast<std::size_t>(n)];
}

Color BgrColor(std::uint32_t bgr) {
  return Color{static_cast<std::uint8_t>(bgr & 0xFF), static_cast<std::uint8_t>((bgr >> 8) & 0xFF),
               static_cast<std::uint8_t>((bgr >> 16) & 0xFF)};
}

Canvas::Canvas(double width_units, double height_units, TextMeasure measure)
    : width_(width_units), height_(height_units), measure_(std::move(measure)) {}

void Canvas::Line(Point from, Point to, const Pen& pen) {
  items_.push_back(LineItem{from, to, pen});
}

void Canvas::Box(Point corner1, Point corner2, Color fill) {
  items_.push_back(BoxItem{corner1, corner2, fill});
}

void Canvas::Text(Point at, std::string text, const Font& font, Color color) {
  items_.push_back(TextItem{at, std::move(text), font, color});
}

double Canvas::TextWidth(std::string_view text, const Font& font) const {
  if (measure_) {
    return measure_(text, font);
  }
  // Without a real font: an average glyph of 0.6 em at 96 dpi, on a 907-pixel-wide window.
  const double pixels = 0.6 * font.size_pt * 96.0 / 72.0 * static_cast<double>(text.size());
  return pixels * width_ / 907.0;
}

}  // namespace halvane
