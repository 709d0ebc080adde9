// Replies with a range the meter should never report, or with indices outside the tables.

#include <gtest/gtest.h>

#include "display_list.h"
#include "live/live_screen.h"

namespace halvane {
namespace {

using testing::AllCoordinatesFinite;
using testing::ItemsOf;
using testing::Reply;
using testing::TextsEqual;

Canvas ScreenOf(const Reply& reply) {
  Canvas canvas = testing::PanelCanvas();
  DrawLiveScreen(canvas, reply.Decode());
  return canvas;
}

bool HasBoxOfColor(const Canvas& canvas, Color fill) {
  const auto boxes = ItemsOf<BoxItem>(canvas);
  return std::any_of(boxes.begin(), boxes.end(), [&](const BoxItem& b) { return b.fill == fill; });
}

TEST(EmptyRange, SlmScaleKeepsFrameAndEndLabelsOnly) {
  const Canvas canvas = ScreenOf(Reply{}.Set(18, 20).SetLevel(45, 500));
  EXPECT_EQ(TextsEqual(canvas, "20").size(), 2U);
  EXPECT_TRUE(testing::HasLine(canvas, {29, 19}, {531, 19}));
  EXPECT_FALSE(HasBoxOfColor(canvas, ConsoleColor(9)));
  EXPECT_TRUE(TextsEqual(canvas, "OV").empty());
  for (const LineItem& line : ItemsOf<LineItem>(canvas)) {
    EXPECT_FALSE(line.from.y == 20 && line.to.y == 19) << "division tick at x " << line.from.x;
  }
}

TEST(EmptyRange, BarFrameKeepsAxesAndLabelsButNoGridOrBars) {
  Reply reply;
  reply.Set(4, 3).Set(18, 10).SetLevel(25, 600).SetLevel(45, 300).SetLevel(67, 300);
  const Canvas canvas = ScreenOf(reply);
  EXPECT_TRUE(AllCoordinatesFinite(canvas));
  EXPECT_TRUE(testing::HasText(canvas, {25, 14}, "dB"));
  EXPECT_FALSE(TextsEqual(canvas, "16k").empty());
  EXPECT_TRUE(testing::HasText(canvas, {490, 93}, "A") && testing::HasText(canvas, {540, 93}, "A"));
  EXPECT_TRUE(testing::HasLine(canvas, {29, 90.4}, {554, 90.4}));
  EXPECT_FALSE(testing::HasLine(canvas, {30, 20}, {555, 20}));  // no grid line
  EXPECT_FALSE(HasBoxOfColor(canvas, ConsoleColor(9)) || HasBoxOfColor(canvas, kWhite) ||
               HasBoxOfColor(canvas, ConsoleColor(10)));
  EXPECT_TRUE(TextsEqual(canvas, "Over").empty() && TextsEqual(canvas, "Under").empty());
}

TEST(OutOfTableIndex, CursorReadoutsDropLabelsOutsideTheTables) {
  for (const auto& [mode, cursor] :
       {std::pair<std::uint8_t, std::uint8_t>{1, 0}, {1, 36}, {2, 34}, {2, 255}, {3, 200}}) {
    const Canvas canvas = ScreenOf(Reply{}.Set(4, mode).Set(22, cursor));
    for (const TextItem& text : ItemsOf<TextItem>(canvas)) {
      EXPECT_EQ(text.text.find("Hz"), std::string::npos)
          << "mode " << int{mode} << " cursor " << int{cursor} << ": " << text.text;
    }
  }
  EXPECT_EQ(testing::OnlyText(ScreenOf(Reply{}.Set(4, 2).Set(22, 33)), "APHz").at.x, 255);
}

TEST(OutOfTableIndex, EveryByteValueDrawsFiniteScreens) {
  for (const std::size_t index : {4, 5, 17, 18, 19, 20, 21, 22}) {
    for (int value = 0; value < 256; ++value) {
      for (std::uint8_t mode = 0; mode < 8; ++mode) {
        Reply reply;
        reply.Set(4, mode).Set(18, 100).Set(index, static_cast<std::uint8_t>(value));
        ASSERT_TRUE(AllCoordinatesFinite(ScreenOf(reply)))
            << "byte " << index << " = " << value << ", mode " << int{mode};
      }
    }
  }
}

}  // namespace
}  // namespace halvane
