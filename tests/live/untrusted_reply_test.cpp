// Replies with a range the meter should never report, or with indices outside the tables.

#include <gtest/gtest.h>

#include "display_list.h"
#include "live/live_screen.h"

namespace halvane {
namespace {

using testing::HasText;
using testing::ItemsOf;
using testing::Reply;
using testing::TextsEqual;

Canvas ScreenOf(const Reply& reply) {
  Canvas canvas = testing::PanelCanvas();
  DrawLiveScreen(canvas, reply.Decode());
  return canvas;
}

int BoxesOfColor(const Canvas& canvas, Color fill) {
  const auto boxes = ItemsOf<BoxItem>(canvas);
  return static_cast<int>(
      std::count_if(boxes.begin(), boxes.end(), [&](const BoxItem& b) { return b.fill == fill; }));
}

TEST(EmptyRange, SlmScaleKeepsFrameAndEndLabelsOnly) {
  const Canvas canvas = ScreenOf(Reply{}.Set(18, 20).SetLevel(45, 500));
  EXPECT_TRUE(HasText(canvas, {25, 16}, "20") && HasText(canvas, {525, 16}, "20"));
  EXPECT_TRUE(testing::HasLine(canvas, {29, 19}, {531, 19}));
  EXPECT_EQ(BoxesOfColor(canvas, ConsoleColor(9)), 0);
  EXPECT_TRUE(TextsEqual(canvas, "OV").empty());
  for (const LineItem& line : ItemsOf<LineItem>(canvas)) {
    EXPECT_FALSE(line.from.y == 20 && line.to.y == 19) << "division tick at x " << line.from.x;
  }
}

TEST(EmptyRange, BarFrameKeepsAxesAndLabelsButNoGridOrBars) {
  Reply reply;
  reply.Set(4, 3).Set(18, 10).SetLevel(25, 600).SetLevel(45, 300).SetLevel(67, 300);
  const Canvas canvas = ScreenOf(reply);
  EXPECT_TRUE(testing::AllCoordinatesFinite(canvas));
  EXPECT_TRUE(HasText(canvas, {25, 14}, "dB") && HasText(canvas, {450, 93}, "16k"));
  EXPECT_TRUE(HasText(canvas, {490, 93}, "A") && HasText(canvas, {540, 93}, "A"));
  EXPECT_TRUE(testing::HasLine(canvas, {29, 90.4}, {554, 90.4}));
  EXPECT_FALSE(testing::HasLine(canvas, {30, 20}, {555, 20}));  // no grid line
  EXPECT_EQ(BoxesOfColor(canvas, kWhite) + BoxesOfColor(canvas, ConsoleColor(10)) +
                BoxesOfColor(canvas, ConsoleColor(9)),
            0);
  EXPECT_TRUE(TextsEqual(canvas, "Over").empty() && TextsEqual(canvas, "Under").empty());
}

TEST(OutOfTableIndex, CursorReadoutsDropLabelsOutsideTheTables) {
  for (const auto& [mode, cursor] :
       {std::pair<std::uint8_t, std::uint8_t>{1, 0}, {1, 36}, {2, 34}, {2, 255}, {3, 200}}) {
    for (const TextItem& text : ItemsOf<TextItem>(ScreenOf(Reply{}.Set(4, mode).Set(22, cursor)))) {
      EXPECT_EQ(text.text.find("Hz"), std::string::npos)
          << "mode " << int{mode} << " cursor " << int{cursor} << ": " << text.text;
    }
  }
  EXPECT_TRUE(HasText(ScreenOf(Reply{}.Set(4, 2).Set(22, 33)), {255, 105}, "APHz"));
}

TEST(OutOfTableIndex, EveryByteValueDrawsFiniteScreens) {
  for (const std::size_t index : {4, 5, 17, 18, 19, 20, 21, 22}) {
    for (int value = 0; value < 256; ++value) {
      for (std::uint8_t mode = 0; mode < 8; ++mode) {
        Reply reply;
        reply.Set(4, mode).Set(18, 100).Set(index, static_cast<std::uint8_t>(value));
        ASSERT_TRUE(testing::AllCoordinatesFinite(ScreenOf(reply)))
            << "byte " << index << " = " << value << ", mode " << int{mode};
      }
    }
  }
}

}  // namespace
}  // namespace halvane
