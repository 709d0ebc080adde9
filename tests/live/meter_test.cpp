#include "live/meter.h"

#include <gtest/gtest.h>

#include "display_list.h"

namespace halvane {
namespace {

using testing::ItemsOf;
using testing::PanelCanvas;

TEST(FormatLevel, ShowsTenthsWithOneDecimal) {
  EXPECT_EQ(FormatLevel(0x03, 0xE8), "100.0");
  EXPECT_EQ(FormatLevel(0x00, 0x09), "0.9");
  EXPECT_EQ(FormatLevel(0xFF, 0xFF), "6553.5");
  EXPECT_EQ(FormatLevel(0x00, 0x00), "0.0");
  EXPECT_EQ(FormatLevel(0x03, 0xA7), "93.5");
  EXPECT_DOUBLE_EQ(LevelValue(0xFF, 0xFF), 6553.5);
}

TEST(WeightingLetters, DecodeKnownCodesAndLeaveOthersEmpty) {
  EXPECT_EQ(FreqWeightingLetter(0) + FreqWeightingLetter(1) + FreqWeightingLetter(2), "ACZ");
  EXPECT_EQ(TimeWeightingLetter(0) + TimeWeightingLetter(1) + TimeWeightingLetter(2) +
                TimeWeightingLetter(3),
            "FStI");
  EXPECT_EQ(FreqWeightingLetter(3), "");
  EXPECT_EQ(FreqWeightingLetter(-1), "");
  EXPECT_EQ(TimeWeightingLetter(4), "");
  EXPECT_EQ(TimeWeightingLetter(15), "");
}

TEST(ItemLabel, CombinesLettersByItem) {
  EXPECT_EQ(ItemLabel(0, "A", "F"), "LAF");
  EXPECT_EQ(ItemLabel(1, "C", "S"), "LCeq");
  EXPECT_EQ(ItemLabel(2, "Z", "I"), "LZE");
  EXPECT_EQ(ItemLabel(3, "A", "t"), "LAtmax");
  EXPECT_EQ(ItemLabel(5, "A", "F"), "LAF05");
  EXPECT_EQ(ItemLabel(9, "C", "F"), "LCF95");
  EXPECT_EQ(ItemLabel(12, "A", "F"), "");
  EXPECT_EQ(ItemLabel(-1, "A", "F"), "");
}

// The filled box of the only bar drawn.
BoxItem OnlyBar(const Canvas& canvas) {
  const auto boxes = ItemsOf<BoxItem>(canvas);
  EXPECT_EQ(boxes.size(), 1U);
  return boxes.empty() ? BoxItem{} : boxes.front();
}

TEST(Bars, ThirdOctaveBandsCoverTheirOctaveSlot) {
  for (const auto& [band, left] : {std::pair{0, 40.0}, {4, 90.0}, {32, 460.0}}) {
    Canvas canvas = PanelCanvas();
    DrawThirdOctaveBar(canvas, 60, 100, 20, 10, band);
    const BoxItem bar = OnlyBar(canvas);
    EXPECT_EQ(bar.corner1, (Point{left, 55})) << "band " << band;
    EXPECT_EQ(bar.corner2, (Point{left + 10, 90})) << "band " << band;
    EXPECT_EQ(bar.fill, ConsoleColor(10));
  }
}

TEST(Bars, OctaveSlotsAreThirtyUnitsWide) {
  Canvas canvas = PanelCanvas();
  DrawOctaveBar(canvas, 60, 100, 20, 4, 12);
  EXPECT_EQ(OnlyBar(canvas).corner1, (Point{520, 55}));
  EXPECT_EQ(OnlyBar(canvas).corner2, (Point{550, 90}));
}

TEST(Bars, OutlineLeavesTheBottomEdgeOpenInTheCurrentPen) {
  Canvas canvas = PanelCanvas();
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

TEST(Bars, ValueAboveTopIsClampedAndAtBottomIsNotDrawn) {
  Canvas canvas = PanelCanvas();
  DrawOctaveBar(canvas, 250, 100, 20, 9, 3);
  EXPECT_EQ(OnlyBar(canvas).corner1.y, 20);

  canvas.Clear();
  DrawOctaveBar(canvas, 20, 100, 20, 9, 3);
  DrawThirdOctaveBar(canvas, 5, 100, 20, 9, 3);
  EXPECT_TRUE(canvas.Items().empty());
}

TEST(Bars, EmptyRangeDrawsNothing) {
  Canvas canvas = PanelCanvas();
  DrawOctaveBar(canvas, 50, 20, 20, 9, 3);
  DrawThirdOctaveBar(canvas, 50, 10, 20, 9, 3);
  EXPECT_TRUE(canvas.Items().empty());
}

}  // namespace
}  // namespace halvane
