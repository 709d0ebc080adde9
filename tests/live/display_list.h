#pragma once
// Reading display lists and building live replies, for the live screen tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "live/live_screen.h"

namespace halvane::testing {

// The items of type Item that `pick` accepts, or all of them, in drawing order.
template <typename Item>
std::vector<Item> ItemsOf(const Canvas& canvas, std::function<bool(const Item&)> pick = {}) {
  std::vector<Item> found;
  for (const DrawItem& item : canvas.Items()) {
    const auto* typed = std::get_if<Item>(&item);
    if (typed != nullptr && (!pick || pick(*typed)))
      found.push_back(*typed);
  }
  return found;
}
inline std::vector<TextItem> Texts(const Canvas& canvas, std::string_view text) {
  return ItemsOf<TextItem>(canvas, [&](const TextItem& t) { return t.text == text; });
}
// The strings of the text items that `pick` accepts, in drawing order.
inline std::vector<std::string> StringsOf(const Canvas& canvas,
                                          std::function<bool(const TextItem&)> pick) {
  std::vector<std::string> strings;
  std::ranges::transform(ItemsOf<TextItem>(canvas, pick), std::back_inserter(strings),
                         &TextItem::text);
  return strings;
}
// The only text item showing `text`; the test fails when there is none or more than one.
inline TextItem OnlyText(const Canvas& canvas, std::string_view text) {
  const std::vector<TextItem> found = Texts(canvas, text);
  EXPECT_EQ(found.size(), 1U) << "texts \"" << text << "\"";
  return found.empty() ? TextItem{} : found.front();
}

// Fails for each wanted text that no text item shows at its position.
inline void ExpectTexts(const Canvas& canvas,
                        std::initializer_list<std::pair<Point, std::string_view>> wanted) {
  for (const auto& [at, text] : wanted) {
    const auto shown = [&](const TextItem& t) { return t.at == at && t.text == text; };
    EXPECT_FALSE(ItemsOf<TextItem>(canvas, shown).empty())
        << text << " at " << at.x << ", " << at.y;
  }
}
inline bool HasBox(const Canvas& canvas, Point corner1, Point corner2, Color fill) {
  const auto same = [&](const BoxItem& b) {
    return b.corner1 == corner1 && b.corner2 == corner2 && b.fill == fill;
  };
  return !ItemsOf<BoxItem>(canvas, same).empty();
}
inline bool HasLine(const Canvas& canvas, Point from, Point to) {
  const auto same = [&](const LineItem& l) { return l.from == from && l.to == to; };
  return !ItemsOf<LineItem>(canvas, same).empty();
}
inline bool AllCoordinatesFinite(const Canvas& canvas) {
  const auto ok = [](Point p) { return std::isfinite(p.x) && std::isfinite(p.y); };
  const auto bad_line = [&](const LineItem& l) { return !ok(l.from) || !ok(l.to); };
  const auto bad_box = [&](const BoxItem& b) { return !ok(b.corner1) || !ok(b.corner2); };
  const auto bad_text = [&](const TextItem& t) { return !ok(t.at); };
  return ItemsOf<LineItem>(canvas, bad_line).empty() && ItemsOf<BoxItem>(canvas, bad_box).empty() &&
         ItemsOf<TextItem>(canvas, bad_text).empty();
}

// A live reply under construction, all bytes 0 to start with.
struct Reply {
  InputReportBuffer bytes{};
  Reply& Set(std::size_t index, std::uint8_t value) {
    bytes.at(index) = value;
    return *this;
  }
  Reply& SetLevel(std::size_t high_index, unsigned tenths) {  // high byte first
    Set(high_index, static_cast<std::uint8_t>(tenths >> 8));
    return Set(high_index + 1, static_cast<std::uint8_t>(tenths & 0xFF));
  }
  LiveReading Decode() const { return DecodeLiveReply(bytes); }
};

// What `draw` puts on a fresh panel canvas for `reply`.
inline Canvas Drawn(const Reply& reply, void (*draw)(Canvas&, const LiveReading&) = DrawLiveScreen,
                    TextMeasure measure = {}) {
  Canvas canvas(kPanelWidthUnits, kPanelHeightUnits, std::move(measure));
  draw(canvas, reply.Decode());
  return canvas;
}

}  // namespace halvane::testing
