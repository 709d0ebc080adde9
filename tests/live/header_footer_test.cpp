#include <gtest/gtest.h>

#include "display_list.h"
#include "live/live_screen.h"

namespace halvane {
namespace {

using testing::HasBox;
using testing::OnlyText;
using testing::Reply;
using testing::TextsEqual;

Canvas FooterOf(const Reply& reply) {
  Canvas canvas(560, 120, [](std::string_view, const Font&) { return 100.0; });
  DrawFooter(canvas, reply.Decode());
  return canvas;
}

TEST(Footer, BatterySegmentsFollowTheLevel) {
  const Canvas empty = FooterOf(Reply{}.Set(5, 0));
  EXPECT_TRUE(HasBox(empty, {2, 118}, {4, 119}, ConsoleColor(12)));
  EXPECT_FALSE(HasBox(empty, {2, 118}, {4, 119}, ConsoleColor(14)));

  const Canvas full = FooterOf(Reply{}.Set(5, 4));
  for (const double x : {2.0, 5.0, 8.0, 11.0}) {
    EXPECT_TRUE(HasBox(full, {x, 118}, {x + 2, 119}, ConsoleColor(14))) << "segment at " << x;
  }
  EXPECT_FALSE(HasBox(full, {2, 118}, {4, 119}, ConsoleColor(12)));
  EXPECT_EQ(testing::ItemsOf<BoxItem>(FooterOf(Reply{}.Set(5, 9))).size(), 2U);  // body and tip
}

TEST(Footer, FlagsShowOnRedBoxesOnlyWhenSet) {
  EXPECT_TRUE(TextsEqual(FooterOf(Reply{}), "MFull").empty());
  const Canvas canvas = FooterOf(Reply{}.Set(1, 0b0001'1000).Set(2, 0b0000'0100));
  EXPECT_TRUE(HasBox(canvas, {24, 117.5}, {48, 119.5}, ConsoleColor(12)));
  EXPECT_EQ(OnlyText(canvas, "MFull").at, (Point{25, 117.5}));
  EXPECT_EQ(OnlyText(canvas, "AFull").at, (Point{57, 117.5}));
  const TextItem cmp = OnlyText(canvas, "Cmp");
  EXPECT_EQ(cmp.at, (Point{91, 117.5}));
  EXPECT_EQ(cmp.color, kWhite);
  EXPECT_TRUE(cmp.font.bold);
}

TEST(Footer, DateIsRightAlignedByItsPatternWidth) {
  Reply reply;
  for (std::size_t i = 6; i <= 11; ++i) {
    reply.Set(i, static_cast<std::uint8_t>(0x10 + i));
  }
  EXPECT_EQ(OnlyText(FooterOf(reply), "16/17/18 19:1A:1B").at, (Point{460, 117.5}));
}

TEST(Header, ShowsTriggerStorageAndRecordNumber) {
  Canvas canvas = testing::PanelCanvas();
  DrawHeader(canvas, Reply{}.Set(17, 3).Set(1, 0b1100'0000).Set(12, 42).Set(14, 0x12).Decode());
  const TextItem trigger = OnlyText(canvas, "EXT");
  EXPECT_EQ(trigger.at, (Point{235, 6}));
  EXPECT_EQ(trigger.color, kYellow);
  EXPECT_EQ(OnlyText(canvas, "FL").at, (Point{420, 6}));
  EXPECT_EQ(OnlyText(canvas, "M").at, (Point{460, 6}));
  EXPECT_EQ(OnlyText(canvas, "0042").at, (Point{500, 7}));
  EXPECT_EQ(OnlyText(canvas, "12:00:00").at, (Point{310, 7}));

  canvas.Clear();
  DrawHeader(canvas, Reply{}.Set(17, 5).Set(13, 7).Decode());
  EXPECT_EQ(testing::ItemsOf<TextItem>(canvas).size(), 4U);  // no trigger tag
  OnlyText(canvas, "sd");
  OnlyText(canvas, "A");
  OnlyText(canvas, "0007");
}

}  // namespace
}  // namespace halvane
