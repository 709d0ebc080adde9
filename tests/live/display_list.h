#pragma once
// Helpers that read a display list and build live replies, for the live screen tests.

#include <cstdint>
#include <string_view>
#include <vector>

#include "link/reports.h"
#include "live/live_reply.h"
#include "ui/canvas.h"

namespace halvane::testing {

// The items of one kind, in drawing order.
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

// The text items showing exactly `text`.
std::vector<TextItem> TextsEqual(const Canvas& canvas, std::string_view text);
// The only text item showing `text`; the test fails when there is none or more than one.
TextItem OnlyText(const Canvas& canvas, std::string_view text);
// The position in the display list of the first text showing `text`, or -1.
int IndexOfText(const Canvas& canvas, std::string_view text);
bool HasText(const Canvas& canvas, Point at, std::string_view text);
bool HasBox(const Canvas& canvas, Point corner1, Point corner2, Color fill);
bool HasLine(const Canvas& canvas, Point from, Point to);
// Whether every coordinate in the list is a finite number.
bool AllCoordinatesFinite(const Canvas& canvas);

// A live reply under construction, all bytes 0 to start with.
struct Reply {
  InputReportBuffer bytes{};
  Reply& Set(std::size_t index, std::uint8_t value);
  // A level pair in tenths of a dB, high byte at `high_index`.
  Reply& SetLevel(std::size_t high_index, unsigned tenths);
  LiveReading Decode() const;
};

inline Canvas PanelCanvas() {
  return Canvas(560, 120);
}

}  // namespace halvane::testing
