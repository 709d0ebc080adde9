#include <gtest/gtest.h>

#include "display_list.h"
#include "live/live_screen.h"

namespace halvane {
namespace {

using testing::HasBox;
using testing::HasText;
using testing::Reply;
using testing::TextsEqual;

Canvas SlmOf(const Reply& reply) {
  Canvas canvas = testing::PanelCanvas();
  DrawSlmScreen(canvas, reply.Decode());
  return canvas;
}

// The scale's labels from left to right.
std::vector<std::string> ScaleLabels(const Canvas& canvas) {
  std::vector<std::string> labels;
  for (const TextItem& text : testing::ItemsOf<TextItem>(canvas)) {
    if (text.at.y == 16) {
      labels.push_back(text.text);
    }
  }
  return labels;
}

TEST(SlmScale, DividesTheRangeInTensOfDecibels) {
  const Canvas canvas = SlmOf(Reply{}.Set(18, 110));
  EXPECT_EQ(ScaleLabels(canvas), (std::vector<std::string>{"20", "110", "30", "40", "50", "60",
                                                           "70", "80", "90", "100"}));
  const double tick = 30 + 500.0 / 9;
  EXPECT_TRUE(testing::HasLine(canvas, {tick, 20}, {tick, 19}) &&
              HasText(canvas, {tick - 4, 16}, "30"));
  EXPECT_EQ(ScaleLabels(SlmOf(Reply{}.Set(18, 130)))[1], "130");
}

TEST(SlmScale, MarksLevelsOutsideTheRange) {
  const Canvas over = SlmOf(Reply{}.Set(18, 100).SetLevel(45, 1200));
  EXPECT_TRUE(HasText(over, {536, 28}, "OV") && TextsEqual(over, "UN").empty());
  EXPECT_TRUE(HasBox(over, {30, 20}, {530, 30}, ConsoleColor(9)));
  const Canvas under = SlmOf(Reply{}.Set(18, 100).SetLevel(45, 150));
  EXPECT_EQ(testing::OnlyText(under, "UN").color, kYellow);
  EXPECT_TRUE(HasBox(under, {30, 20}, {30, 30}, ConsoleColor(9)));
  EXPECT_TRUE(
      HasBox(SlmOf(Reply{}.Set(18, 100).SetLevel(45, 600)), {30, 20}, {280, 30}, ConsoleColor(9)));
}

TEST(SlmScreen, ShowsBothChannelsWithDashesForZeroLevels) {
  Reply reply;
  reply.Set(19, 0x10).Set(20, 0x01).Set(21, 1).SetLevel(133, 935).SetLevel(139, 1000);
  const Canvas canvas = SlmOf(reply);
  EXPECT_EQ(testing::OnlyText(canvas, " 93.5").color, kYellow);
  EXPECT_TRUE(HasText(canvas, {145, 45}, " 93.5") && HasText(canvas, {395, 45}, "---.-"));
  EXPECT_TRUE(HasText(canvas, {30, 45}, "LAeq") && HasText(canvas, {270, 45}, "LCeq"));
  EXPECT_TRUE(HasBox(canvas, {268, 35}, {310, 41}, ConsoleColor(4)));
  EXPECT_TRUE(HasText(canvas, {30, 60}, "LAeq     ---.-"));
  EXPECT_TRUE(HasText(canvas, {30, 72}, "LASmax   100.0"));
  EXPECT_TRUE(HasText(canvas, {280, 84}, "LCF05    ---.-"));
  EXPECT_TRUE(HasText(canvas, {280, 66}, "LCE      ---.-"));
  // A level longer than its column keeps every digit.
  EXPECT_TRUE(HasText(SlmOf(Reply{}.SetLevel(137, 65535)), {30, 66}, "LAE     6553.5"));
}

}  // namespace
}  // namespace halvane
