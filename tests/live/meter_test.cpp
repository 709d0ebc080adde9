#include "live/meter.h"

#include <gtest/gtest.h>

#include "display_list.h"

namespace halvane {
namespace {

using testing::ItemsOf;

TEST(MeterDecoders, FormatLevelShowsTenthsWithOneDecimal) {
  EXPECT_EQ(FormatLevel(0x03, 0xE8), "100.0");
  EXPECT_EQ(FormatLevel(0x00, 0x09), "0.9");
  EXPECT_EQ(FormatLevel(0xFF, 0xFF), "6553.5");
  EXPECT_EQ(FormatLevel(0x00, 0x00), "0.0");
  EXPECT_DOUBLE_EQ(LevelValue(0xFF, 0xFF), 6553.5);
}

TEST(MeterDecoders, UnknownCodesGiveEmptyTexts) {
  EXPECT_EQ(FreqWeightingLetter(2) + TimeWeightingLetter(2), "Zt");
  EXPECT_EQ(FreqWeightingLetter(3) + FreqWeightingLetter(-1) + TimeWeightingLetter(4), "");
  EXPECT_EQ(ItemLabel(1, "C", "S"), "LCeq");
  EXPECT_EQ(ItemLabel(5, "A", "F"), "LAF05");
  EXPECT_EQ(ItemLabel(12, "A", "F"), "");
}

// The corners of the only bar drawn.
std::pair<Point, Point> OnlyBar(double value, int band, bool third) {
  Canvas canvas = testing::PanelCanvas();
  third ? DrawThirdOctaveBar(canvas, value, 100, 20, 10, band)
        : DrawOctaveBar(canvas, value, 100, 20, 10, band);
  const auto boxes = ItemsOf<BoxItem>(canvas);
  EXPECT_EQ(boxes.size(), 1U);
  return boxes.empty() ? std::pair<Point, Point>{} : std::pair{boxes[0].corner1, boxes[0].corner2};
}

TEST(Bars, SpanTheirBandAndRiseWithTheLevel) {
  using Span = std::pair<Point, Point>;
  EXPECT_EQ(OnlyBar(60, 0, true), (Span{{40, 55}, {50, 90}}));
  EXPECT_EQ(OnlyBar(60, 4, true), (Span{{90, 55}, {100, 90}}));
  EXPECT_EQ(OnlyBar(60, 32, true), (Span{{460, 55}, {470, 90}}));
  EXPECT_EQ(OnlyBar(60, 12, false), (Span{{520, 55}, {550, 90}}));
  EXPECT_EQ(OnlyBar(250, 3, false).first.y, 20);  // clamped to the top
}

TEST(Bars, OutlineInTheCurrentPenLeavesTheBottomOpen) {
  Canvas canvas = testing::PanelCanvas();
  const Pen pen{ConsoleColor(4), LineStyle::Dotted, 1};
  canvas.SetCurrentPen(pen);
  DrawOctaveBar(canvas, 60, 100, 20, 9, 0);
  const auto lines = ItemsOf<LineItem>(canvas);
  ASSERT_EQ(lines.size(), 3U);
  for (const LineItem& line : lines) {
    EXPECT_EQ(line.pen, pen);
    EXPECT_FALSE(line.from.y == 90 && line.to.y == 90) << "bottom edge drawn";
  }
}

TEST(Bars, NothingAtTheBottomOrAgainstAnEmptyRange) {
  Canvas canvas = testing::PanelCanvas();
  DrawOctaveBar(canvas, 20, 100, 20, 9, 3);
  DrawThirdOctaveBar(canvas, 5, 100, 20, 9, 3);
  DrawOctaveBar(canvas, 50, 20, 20, 9, 3);
  DrawThirdOctaveBar(canvas, 50, 10, 20, 9, 3);
  EXPECT_TRUE(canvas.Items().empty());
}

}  // namespace
}  // namespace halvane
