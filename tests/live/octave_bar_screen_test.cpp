#include <gtest/gtest.h>

#include "display_list.h"
#include "live/live_screen.h"

namespace halvane {
namespace {

using testing::HasBox;
using testing::ItemsOf;
using testing::OnlyText;
using testing::Reply;

// The level labels of the frame's scale, bottom first.
std::vector<std::string> ScaleLabels(const Canvas& canvas) {
  std::vector<std::string> labels;
  for (const TextItem& text : ItemsOf<TextItem>(canvas)) {
    if (text.at.x == 5) {
      labels.push_back(text.text);
    }
  }
  return labels;
}

TEST(BarFrame, LabelsOneGridStepPerTenDecibels) {
  Canvas canvas = testing::PanelCanvas();
  ReInit(canvas, 100, 20, "A", "C");
  EXPECT_EQ(ScaleLabels(canvas),
            (std::vector<std::string>{"20", "30", "40", "50", "60", "70", "80", "90", "100"}));
  EXPECT_EQ(OnlyText(canvas, "100").at, (Point{5, 19}));
  EXPECT_EQ(OnlyText(canvas, "dB").at, (Point{25, 14}));
  EXPECT_EQ(OnlyText(canvas, "16").at, (Point{50, 93}));
  EXPECT_EQ(OnlyText(canvas, "16k").at, (Point{450, 93}));
  EXPECT_EQ(OnlyText(canvas, "C").at, (Point{540, 93}));
  EXPECT_TRUE(OnlyText(canvas, "A").font.bold);

  canvas.Clear();
  ReInit(canvas, 130, 40, "A", "C");
  const auto labels = ScaleLabels(canvas);
  ASSERT_EQ(labels.size(), 10U);
  EXPECT_EQ(labels.front(), "40");
  EXPECT_EQ(labels.back(), "130");
  const double third_step = 90 - 70.0 * 3 / 9;
  EXPECT_TRUE(testing::HasLine(canvas, {30, third_step}, {555, third_step}));
}

Canvas BarScreenOf(Reply reply, std::uint8_t mode) {
  Canvas canvas = testing::PanelCanvas();
  DrawOctaveBarScreen(canvas, reply.Set(4, mode).Decode());
  return canvas;
}

TEST(OctaveBarScreen, BandLevelsStandOnTheRangeBottom) {
  const Canvas canvas = BarScreenOf(Reply{}.Set(18, 130).SetLevel(45, 450), 1);
  EXPECT_TRUE(HasBox(canvas, {40, 55}, {70, 90}, ConsoleColor(9)));
  EXPECT_TRUE(testing::HasText(canvas, {0, 6}, "1/1 OCT"));
}

TEST(OctaveBarScreen, BothSpectraDrawOctavesFirstInWhite) {
  Reply reply;
  reply.Set(18, 100);
  for (std::size_t pair = 45; pair < 133; pair += 2) {
    reply.SetLevel(pair, 400);
  }
  const Canvas canvas = BarScreenOf(reply, 3);
  std::vector<Color> bar_colors;
  for (const BoxItem& box : ItemsOf<BoxItem>(canvas)) {
    if (box.corner2.y == 90) {
      bar_colors.push_back(box.fill);
    }
  }
  ASSERT_EQ(bar_colors.size(), 44U);
  EXPECT_EQ(std::count(bar_colors.begin(), bar_colors.begin() + 11, kWhite), 11);
  EXPECT_EQ(bar_colors[11], ConsoleColor(10));
  EXPECT_EQ(bar_colors[12], ConsoleColor(11));
}

// The x of the red cursor line.
double CursorX(const Canvas& canvas) {
  for (const LineItem& line : ItemsOf<LineItem>(canvas)) {
    if (line.pen.color == BgrColor(0x0000FF)) {
      EXPECT_EQ(line.pen.style, LineStyle::Dotted);
      EXPECT_EQ(line.from.y, 18);
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
  EXPECT_EQ(OnlyText(one, "31.5Hz").at, (Point{255, 105}));
  EXPECT_EQ(testing::TextsEqual(one, "  0.0").size(), 3U);  // main, sub and cursor readouts
  EXPECT_TRUE(HasBox(one, {358, 105}, {393, 108}, kBlack));

  const Canvas both = BarScreenOf(Reply{}.Set(22, 19).SetLevel(157, 725), 3);
  EXPECT_EQ(OnlyText(both, "1/1 OCT").at, (Point{125, 103}));
  EXPECT_EQ(OnlyText(both, "1kHz").at, (Point{255, 107}));
  EXPECT_EQ(OnlyText(both, " 72.5").at, (Point{360, 107}));
}

TEST(OctaveBarScreen, FlagsAnAllPassLevelOutsideTheRange) {
  const Canvas over = BarScreenOf(Reply{}.Set(18, 100).SetLevel(25, 1010), 2);
  EXPECT_EQ(OnlyText(over, "Over").at, (Point{522, 15}));
  EXPECT_TRUE(HasBox(over, {480, 20}, {510, 90}, ConsoleColor(9)));
  EXPECT_EQ(OnlyText(BarScreenOf(Reply{}.Set(18, 100), 2), "Under").at, (Point{522, 88}));
}

}  // namespace
}  // namespace halvane
