#include "display_list.h"

#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

namespace halvane::testing {

std::vector<TextItem> TextsEqual(const Canvas& canvas, std::string_view text) {
  std::vector<TextItem> found = ItemsOf<TextItem>(canvas);
  std::erase_if(found, [&](const TextItem& item) { return item.text != text; });
  return found;
}

TextItem OnlyText(const Canvas& canvas, std::string_view text) {
  const std::vector<TextItem> found = TextsEqual(canvas, text);
  EXPECT_EQ(found.size(), 1U) << "texts \"" << text << "\"";
  return found.empty() ? TextItem{} : found.front();
}

bool HasText(const Canvas& canvas, Point at, std::string_view text) {
  const auto found = TextsEqual(canvas, text);
  return std::any_of(found.begin(), found.end(), [&](const TextItem& t) { return t.at == at; });
}

bool HasBox(const Canvas& canvas, Point corner1, Point corner2, Color fill) {
  const auto boxes = ItemsOf<BoxItem>(canvas);
  return std::any_of(boxes.begin(), boxes.end(), [&](const BoxItem& b) {
    return b.corner1 == corner1 && b.corner2 == corner2 && b.fill == fill;
  });
}

bool HasLine(const Canvas& canvas, Point from, Point to) {
  const auto lines = ItemsOf<LineItem>(canvas);
  return std::any_of(lines.begin(), lines.end(),
                     [&](const LineItem& l) { return l.from == from && l.to == to; });
}

bool AllCoordinatesFinite(const Canvas& canvas) {
  std::vector<Point> points;
  for (const LineItem& line : ItemsOf<LineItem>(canvas)) {
    points.insert(points.end(), {line.from, line.to});
  }
  for (const BoxItem& box : ItemsOf<BoxItem>(canvas)) {
    points.insert(points.end(), {box.corner1, box.corner2});
  }
  for (const TextItem& text : ItemsOf<TextItem>(canvas)) {
    points.push_back(text.at);
  }
  return std::all_of(points.begin(), points.end(),
                     [](Point p) { return std::isfinite(p.x) && std::isfinite(p.y); });
}

Reply& Reply::Set(std::size_t index, std::uint8_t value) {
  bytes.at(index) = value;
  return *this;
}

Reply& Reply::SetLevel(std::size_t high_index, unsigned tenths) {
  Set(high_index, static_cast<std::uint8_t>(tenths >> 8));
  return Set(high_index + 1, static_cast<std::uint8_t>(tenths & 0xFF));
}

}  // namespace halvane::testing
