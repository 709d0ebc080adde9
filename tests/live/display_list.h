#pragma once
// Reading display lists and building live replies, for the live screen tests.

#include <cstdint>
#include <string_view>
#include <vector>

#include "live/live_reply.h"
#include "ui/canvas.h"

namespace halvane::testing {

template <typename Item>
std::vector<Item> ItemsOf(const Canvas& canvas) {
  std::vector<Item> found;
  for (const DrawItem& item : canvas.Items()) {
    if (const auto* typed = std::get_if<Item>(&item)) {
      found.push_back(*typed);
    }
  }
  return found;
}

std::vector<TextItem> TextsEqual(const Canvas& canvas, std::string_view text);
// The only text item showing `text`; the test fails when there is none or more than one.
TextItem OnlyText(const Canvas& canvas, std::string_view text);
bool HasText(const Canvas& canvas, Point at, std::string_view text);
bool HasBox(const Canvas& canvas, Point corner1, Point corner2, Color fill);
bool HasLine(const Canvas& canvas, Point from, Point to);
bool AllCoordinatesFinite(const Canvas& canvas);

// A live reply under construction, all bytes 0 to start with.
struct Reply {
  InputReportBuffer bytes{};
  Reply& Set(std::size_t index, std::uint8_t value);
  Reply& SetLevel(std::size_t high_index, unsigned tenths);  // high byte first
  LiveReading Decode() const { return DecodeLiveReply(bytes); }
};

inline Canvas PanelCanvas() {
  return Canvas(560, 120);
}

}  // namespace halvane::testing
