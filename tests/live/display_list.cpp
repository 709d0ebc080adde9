#include "display_list.h"

#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

namespace halvane::testing {

std::vector<TextItem> TextsEqual(const Canvas& canvas, std::string_view text) {
  std::vector<TextItem> found;
  for (const TextItem& item : ItemsOf<TextItem>(canvas)) {
    if (item.text == text) {
      found.push_back(item);
    }
  }
  return found;
}

TextItem OnlyText(const Canvas& canvas, std::string_view text) {
  const std::vector<TextItem> found = TextsEqual(canvas, text);
  EXPECT_EQ(found.size(), 1U) << "texts \"" << text << "\"";
  return found.empty() ? TextItem{} : found.front();
}

int IndexOfText(const Canvas& canvas, std::string_view text) {
  const auto& items = canvas.Items();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const auto* item = std::get_if<TextItem>(&items[i]);
    if (item != nullptr && item->text == text) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

bool HasText(const Canvas& canvas, Point at, std::string_view text) {
  const auto found = TextsEqual(canvas, text);
  return std::any_of(found.begin(), found.end(),
                     [&](const TextItem& item) { return item.at == at; });
}

bool HasBox(const Canvas& canvas, Point corner1, Point corner2, Color fill) {
  for (const BoxItem& box : ItemsOf<BoxItem>(canvas)) {
    if (box.corner1 == corner1 && box.corner2 == corner2 && box.fill == fill) {
      return true;
    }
  }
  return false;
}

bool HasLine(const Canvas& canvas, Point from, Point to) {
  for (const LineItem& line : ItemsOf<LineItem>(canvas)) {
    if (line.from == from && line.to == to) {
      return true;
    }
  }
  return false;
}

bool AllCoordinatesFinite(const Canvas& canvas) {
  const auto finite = [](Point p) { return std::isfinite(p.x) && std::isfinite(p.y); };
  for (const DrawItem& item : canvas.Items()) {
    const bool ok = std::visit(
        [&](const auto& drawn) {
          using Item = std::decay_t<decltype(drawn)>;
          if constexpr (std::is_same_v<Item, LineItem>) {
            return finite(drawn.from) && finite(drawn.to);
          } else if constexpr (std::is_same_v<Item, BoxItem>) {
            return finite(drawn.corner1) && finite(drawn.corner2);
          } else {
            return finite(drawn.at);
          }
        },
        item);
    if (!ok) {
      return false;
    }
  }
  return true;
}

Reply& Reply::Set(std::size_t index, std::uint8_t value) {
  bytes.at(index) = value;
  return *this;
}

Reply& Reply::SetLevel(std::size_t high_index, unsigned tenths) {
  bytes.at(high_index) = static_cast<std::uint8_t>(tenths >> 8);
  bytes.at(high_index + 1) = static_cast<std::uint8_t>(tenths & 0xFF);
  return *this;
}

LiveReading Reply::Decode() const {
  return DecodeLiveReply(bytes);
}

}  // namespace halvane::testing
