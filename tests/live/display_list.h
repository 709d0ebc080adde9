#pragma once
// Display lists in the tests: written out one item a line, to be compared whole with a data
// file, or searched; and live replies built byte by byte.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "live/live_screen.h"

namespace halvane::test {

// One line an item, in drawing order: "line x1 y1 x2 y2 colour solid|dotted width",
// "box x1 y1 x2 y2 colour" and "text x y colour points[b][f] "text"" (b bold, f fixed pitch);
// numbers to six digits.
inline std::string DisplayListText(const Canvas& canvas) {
  const auto number = [](double value) {
    char text[32];
    return std::string(
        text, std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6).ptr);
  };
  const auto points = [&](Point a, Point b) {
    return number(a.x) + " " + number(a.y) + " " + number(b.x) + " " + number(b.y) + " ";
  };
  const auto colour = [](Color c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", c.r, c.g, c.b);
    return std::string(text);
  };
  std::string list;
  for (const DrawItem& item : canvas.Items()) {
    if (const auto* line = std::get_if<LineItem>(&item)) {
      list += "line " + points(line->from, line->to) + colour(line->pen.color) +
              (line->pen.style == LineStyle::Dotted ? " dotted " : " solid ") +
              std::to_string(line->pen.width) + "\n";
    } else if (const auto* box = std::get_if<BoxItem>(&item)) {
      list += "box " + points(box->corner1, box->corner2) + colour(box->fill) + "\n";
    } else if (const auto* text = std::get_if<TextItem>(&item)) {
      list += "text " + number(text->at.x) + " " + number(text->at.y) + " " + colour(text->color) +
              " " + number(text->font.size_pt) + (text->font.bold ? "b" : "") +
              (text->font.fixed_pitch ? "f" : "") + " \"" + text->text + "\"\n";
    }
  }
  return list;
}

// How many text items show `text`.
inline std::size_t TextCount(const Canvas& canvas, std::string_view text) {
  return static_cast<std::size_t>(std::ranges::count_if(canvas.Items(), [&](const DrawItem& item) {
    const auto* shown = std::get_if<TextItem>(&item);
    return shown != nullptr && shown->text == text;
  }));
}
inline bool AllCoordinatesFinite(const Canvas& canvas) {
  const auto finite = [](Point p) { return std::isfinite(p.x) && std::isfinite(p.y); };
  return std::ranges::all_of(canvas.Items(), [&](const DrawItem& item) {
    const auto* line = std::get_if<LineItem>(&item);
    const auto* box = std::get_if<BoxItem>(&item);
    const auto* text = std::get_if<TextItem>(&item);
    return (!line || (finite(line->from) && finite(line->to))) &&
           (!box || (finite(box->corner1) && finite(box->corner2))) && (!text || finite(text->at));
  });
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
inline Canvas Drawn(const Reply& reply,
                    void (*draw)(Canvas&, const LiveReading&) = DrawLiveScreen) {
  Canvas canvas(kPanelWidthUnits, kPanelHeightUnits);
  draw(canvas, reply.Decode());
  return canvas;
}

}  // namespace halvane::test
