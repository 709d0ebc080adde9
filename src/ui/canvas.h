#pragma once
// A drawing surface in the window's user units (origin top left, y down) that records what is
// drawn as a display list. Screens draw on it; a Qt widget replays the list, and tests read it.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace halvane {

struct Color {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(Color, Color) = default;
};

// Colour n (0 to 15) of the 16-colour console palette; numbers outside it give black.
Color ConsoleColor(int n);
// A colour written as 0xBBGGRR, the blue-green-red order of the meter program's RGB values.
Color BgrColor(std::uint32_t bgr);

inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kWhite{255, 255, 255};
inline constexpr Color kYellow{255, 255, 0};

struct Point {
  double x = 0;
  double y = 0;
  friend bool operator==(Point, Point) = default;
};

enum class LineStyle { Solid, Dotted };

struct Pen {
  Color color = kBlack;
  LineStyle style = LineStyle::Solid;
  int width = 1;  // in pixels, as line widths are on screen
  friend bool operator==(const Pen&, const Pen&) = default;
};

struct Font {
  double size_pt = 8.25;
  bool bold = false;
  bool fixed_pitch = false;  // every character as wide as the next, for blank-aligned columns
  friend bool operator==(const Font&, const Font&) = default;
};

struct LineItem {
  Point from;
  Point to;
  Pen pen;
};

// A filled rectangle between two corners, border included, in one colour.
struct BoxItem {
  Point corner1;
  Point corner2;
  Color fill;
};

// Text whose top-left corner stands at `at`.
struct TextItem {
  Point at;
  std::string text;
  Font font;
  Color color;
};

using DrawItem = std::variant<LineItem, BoxItem, TextItem>;

// Width of a text in user units for a font; supplied by whoever knows the pixel mapping.
using TextMeasure = std::function<double(std::string_view text, const Font& font)>;

class Canvas {
 public:
  Canvas(double width_units, double height_units, TextMeasure measure = {});

  double Width() const { return width_; }
  double Height() const { return height_; }

  void Clear() { items_.clear(); }

  // The pen that plain lines and bar outlines use (the window's foreground colour and style).
  const Pen& CurrentPen() const { return pen_; }
  void SetCurrentPen(const Pen& pen) { pen_ = pen; }

  void Line(Point from, Point to) { Line(from, to, pen_); }
  void Line(Point from, Point to, const Pen& pen);
  void Box(Point corner1, Point corner2, Color fill);
  void Text(Point at, std::string text, const Font& font, Color color);
  double TextWidth(std::string_view text, const Font& font) const;

  const std::vector<DrawItem>& Items() const { return items_; }
  void SetTextMeasure(TextMeasure measure) { measure_ = std::move(measure); }

 private:
  double width_;
  double height_;
  TextMeasure measure_;
  Pen pen_;
  std::vector<DrawItem> items_;
};

}  // namespace halvane
