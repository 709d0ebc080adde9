#include <gtest/gtest.h>

#include "display_list.h"
#include "live/live_screen.h"

namespace halvane {
namespace {

using testing::HasBox;
using testing::HasText;
using testing::ItemsOf;
using testing::Reply;

// The level labels of the frame's scale, bottom first.
std::vector<std::string> ScaleLabels(double top, double bottom) {
  Canvas canvas = testing::PanelCanvas();
  ReInit(canvas, top, bottom, "A", "C");
  std::vector<std::string> labels;
  for (const TextItem& text : ItemsOf<TextItem>(canvas)) {
    if (text.at.x == 5) {
      labels.push_back(text.text);
    }
  }
  return labels;
}

TEST(BarFrame, LabelsOneGridStepPerTenDecibels) {
  EXPECT_EQ(ScaleLabels(100, 20),
            (std::vector<std::string>{"20", "30", "40", "50", "60", "70", "80", "90", "100"}));
  const auto high = ScaleLabels(130, 40);
  EXPECT_EQ(high.size(), 10U);
  EXPECT_EQ(high.back(), "130");

  Canvas canvas = testing::PanelCanvas();
  ReInit(canvas, 100, 20, "A", "C");
  EXPECT_TRUE(HasText(canvas, {5, 19}, "100") && HasText(canvas, {25, 14}, "dB"));
  EXPECT_TRUE(HasText(canvas, {50, 93}, "16") && HasText(canvas, {450, 93}, "16k"));
  EXPECT_TRUE(HasText(canvas, {540, 93}, "C") && testing::OnlyText(canvas, "A").font.bold);
  EXPECT_TRUE(testing::HasLine(canvas, {30, 90 - 70.0 * 3 / 8}, {555, 90 - 70.0 * 3 / 8}));
}

Canvas BarScreenOf(Reply reply, std::uint8_t mode) {
  Canvas canvas = testing::PanelCanvas();
  DrawOctaveBarScreen(canvas, reply.Set(4, mode).Decode());
  return canvas;
}

TEST(OctaveBarScreen, BandLevelsStandOnTheRangeBottom) {
  const Canvas canvas = BarScreenOf(Reply{}.Set(18, 130).SetLevel(45, 450), 1);
  EXPECT_TRUE(HasBox(canvas, {40, 55}, {70, 90}, ConsoleColor(9)));
  EXPECT_TRUE(HasText(canvas, {0, 6}, "1/1 OCT"));
}

TEST(OctaveBarScreen, ModeThreeDrawsWhiteOctavesUnderTheThirds) {
  Reply reply;
  for (std::size_t pair = 45; pair < 133; pair += 2) {
    reply.Set(18, 100).SetLevel(pair, 400);
  }
  std::vector<Color> bar_colors;
  for (const BoxItem& box : ItemsOf<BoxItem>(BarScreenOf(reply, 3))) {
    if (box.corner2.y == 90) {
      bar_colors.push_back(box.fill);
    }
  }
  ASSERT_EQ(bar_colors.size(), 44U);
  EXPECT_EQ(std::count(bar_colors.begin(), bar_colors.begin() + 11, kWhite), 11);
  EXPECT_EQ(bar_colors[11], ConsoleColor(10));
  EXPECT_EQ(bar_colors[12], ConsoleColor(11));
}

double CursorX(const Canvas& canvas) {
  for (const LineItem& line : ItemsOf<LineItem>(canvas)) {
    if (line.pen == Pen{BgrColor(0x0000FF), LineStyle::Dotted, 1} && line.from.y == 18) {
      return line.from.x;
    }
  }
  ADD_FAILURE() << "no cursor line";
  return 0;
}

TEST(OctaveBarScreen, CursorStandsOnTheSelectedBand) {
  EXPECT_EQ(CursorX(BarScreenOf(Reply{}.Set(22, 7), 1)), 95);
  EXPECT_EQ(CursorX(BarScreenOf(Reply{}.Set(22, 7), 2)), 135);
  EXPECT_EQ(CursorX(BarScreenOf(Reply{}.Set(22, 32), 3)), 465);
}

TEST(OctaveBarScreen, ReadoutsShowZeroLevelsAsNumbers) {
  const Canvas one = BarScreenOf(Reply{}.Set(22, 7), 1);
  EXPECT_TRUE(HasText(one, {255, 105}, "31.5Hz") && HasText(one, {360, 105}, "  0.0"));
  EXPECT_TRUE(HasText(one, {360, 98}, "  0.0") && HasText(one, {360, 112}, "  0.0"));
  EXPECT_TRUE(HasBox(one, {358, 105}, {393, 108}, kBlack));

  const Canvas both = BarScreenOf(Reply{}.Set(22, 19).SetLevel(157, 725), 3);
  EXPECT_TRUE(HasText(both, {125, 103}, "1/1 OCT") && HasText(both, {255, 107}, "1kHz"));
  EXPECT_TRUE(HasText(both, {360, 107}, " 72.5"));
}

TEST(OctaveBarScreen, FlagsAnAllPassLevelOutsideTheRange) {
  const Canvas over = BarScreenOf(Reply{}.Set(18, 100).SetLevel(25, 1010), 2);
  EXPECT_TRUE(HasText(over, {522, 15}, "Over"));
  EXPECT_TRUE(HasBox(over, {480, 20}, {510, 90}, ConsoleColor(9)));
  EXPECT_TRUE(HasText(BarScreenOf(Reply{}.Set(18, 100), 2), {522, 88}, "Under"));
}

}  // namespace
}  // namespace halvane
