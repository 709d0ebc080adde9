#include <gtest/gtest.h>

#include "display_list.h"
#include "live/live_screen.h"

namespace halvane {
namespace {

using testing::HasBox;
using testing::OnlyText;
using testing::Reply;
using testing::TextsEqual;

Canvas SlmOf(const Reply& reply) {
  Canvas canvas = testing::PanelCanvas();
  DrawSlmScreen(canvas, reply.Decode());
  return canvas;
}

// The texts of the inner division labels of the scale (at y 16, between the end labels).
std::vector<std::string> DivisionLabels(const Canvas& canvas) {
  std::vector<std::string> labels;
  for (const TextItem& text : testing::ItemsOf<TextItem>(canvas)) {
    if (text.at.y == 16 && text.at.x > 25 && text.at.x < 525) {
      labels.push_back(text.text);
    }
  }
  return labels;
}

TEST(SlmScale, DividesTheRangeInTensOfDecibels) {
  const Canvas canvas = SlmOf(Reply{}.Set(18, 110));
  EXPECT_EQ(OnlyText(canvas, "20").at, (Point{25, 16}));
  EXPECT_EQ(OnlyText(canvas, "110").at, (Point{525, 16}));
  EXPECT_EQ(DivisionLabels(canvas),
            (std::vector<std::string>{"30", "40", "50", "60", "70", "80", "90", "100"}));
  const double first_tick = 30 + 500.0 / 9;
  EXPECT_TRUE(testing::HasLine(canvas, {first_tick, 20}, {first_tick, 19}));
  EXPECT_EQ(OnlyText(canvas, "30").at, (Point{first_tick - 4, 16}));

  const Canvas high = SlmOf(Reply{}.Set(18, 130));
  EXPECT_EQ(OnlyText(high, "40").at, (Point{25, 16}));
  EXPECT_EQ(DivisionLabels(high).back(), "120");
}

TEST(SlmScale, MarksLevelsOutsideTheRange) {
  const Canvas over = SlmOf(Reply{}.Set(18, 100).SetLevel(45, 1200));
  EXPECT_EQ(OnlyText(over, "OV").at, (Point{536, 28}));
  EXPECT_TRUE(HasBox(over, {30, 20}, {530, 30}, ConsoleColor(9)));
  EXPECT_TRUE(TextsEqual(over, "UN").empty());

  const Canvas under = SlmOf(Reply{}.Set(18, 100).SetLevel(45, 150));
  EXPECT_EQ(OnlyText(under, "UN").color, kYellow);
  EXPECT_TRUE(HasBox(under, {30, 20}, {30, 30}, ConsoleColor(9)));

  EXPECT_TRUE(
      HasBox(SlmOf(Reply{}.Set(18, 100).SetLevel(45, 600)), {30, 20}, {280, 30}, ConsoleColor(9)));
}

TEST(SlmScreen, ShowsBothChannelsWithDashesForZeroLevels) {
  Reply reply;
  reply.Set(19, 0x10).Set(20, 0x01).Set(21, 1).SetLevel(133, 935).SetLevel(139, 1000);
  const Canvas canvas = SlmOf(reply);
  const TextItem main_value = OnlyText(canvas, " 93.5");
  EXPECT_EQ(main_value.at, (Point{145, 45}));
  EXPECT_EQ(main_value.color, kYellow);
  EXPECT_EQ(OnlyText(canvas, "---.-").at, (Point{395, 45}));  // the sub current value
  EXPECT_EQ(OnlyText(canvas, "LAeq").at, (Point{30, 45}));
  EXPECT_EQ(OnlyText(canvas, "LCeq").at, (Point{270, 45}));
  EXPECT_EQ(OnlyText(canvas, "MAIN").at, (Point{30, 35}));
  EXPECT_TRUE(HasBox(canvas, {268, 35}, {310, 41}, ConsoleColor(4)));

  EXPECT_EQ(OnlyText(canvas, "LAeq     ---.-").at, (Point{30, 60}));
  EXPECT_EQ(OnlyText(canvas, "LASmax   100.0").at, (Point{30, 72}));
  EXPECT_EQ(OnlyText(canvas, "LCFmax   ---.-").at, (Point{280, 72}));
  EXPECT_EQ(OnlyText(canvas, "LCF95    ---.-").at, (Point{280, 108}));
  EXPECT_EQ(OnlyText(canvas, "LCE      ---.-").font, (Font{24, false}));
}

TEST(SlmScreen, ListKeepsLongLevelsWhole) {
  const Canvas canvas = SlmOf(Reply{}.SetLevel(137, 65535).SetLevel(133, 65535));
  OnlyText(canvas, "LAE     6553.5");
  OnlyText(canvas, "6553.5");  // the main value box would hold 5 characters; none is cut
}

}  // namespace
}  // namespace halvane
