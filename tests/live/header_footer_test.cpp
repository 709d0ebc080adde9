#include <gtest/gtest.h>

#include "display_list.h"
#include "live/live_screen.h"

namespace halvane {
namespace {

using testing::HasBox;
using testing::HasText;
using testing::Reply;

Canvas FooterOf(const Reply& reply) {
  Canvas canvas(560, 120, [](std::string_view, const Font&) { return 100.0; });
  DrawFooter(canvas, reply.Decode());
  return canvas;
}

TEST(Footer, BatterySegmentsFollowTheLevel) {
  const Canvas empty = FooterOf(Reply{}.Set(5, 0));
  EXPECT_TRUE(HasBox(empty, {2, 118}, {4, 119}, ConsoleColor(12)));
  EXPECT_EQ(testing::ItemsOf<BoxItem>(empty).size(), 3U);
  const Canvas full = FooterOf(Reply{}.Set(5, 4));
  for (const double x : {2.0, 5.0, 8.0, 11.0}) {
    EXPECT_TRUE(HasBox(full, {x, 118}, {x + 2, 119}, ConsoleColor(14))) << "segment at " << x;
  }
  EXPECT_EQ(testing::ItemsOf<BoxItem>(FooterOf(Reply{}.Set(5, 9))).size(), 2U);  // body, tip
}

TEST(Footer, ShowsSetFlagsAndTheRightAlignedClock) {
  EXPECT_EQ(testing::ItemsOf<TextItem>(FooterOf(Reply{})).size(), 1U);  // the clock alone
  Reply reply;
  reply.Set(1, 0b0001'1000).Set(2, 0b0000'0100).Set(6, 0x24).Set(9, 0x13).Set(11, 0x59);
  const Canvas canvas = FooterOf(reply);
  EXPECT_TRUE(HasBox(canvas, {24, 117.5}, {48, 119.5}, ConsoleColor(12)));
  EXPECT_TRUE(HasText(canvas, {25, 117.5}, "MFull") && HasText(canvas, {57, 117.5}, "AFull"));
  EXPECT_EQ(testing::OnlyText(canvas, "Cmp").color, kWhite);
  EXPECT_TRUE(HasText(canvas, {460, 117.5}, "24/00/00 13:00:59"));
}

TEST(Header, ShowsTriggerStorageAndRecordNumberTags) {
  Canvas canvas = testing::PanelCanvas();
  DrawHeader(canvas, Reply{}.Set(17, 3).Set(1, 0b1100'0000).Set(12, 42).Set(14, 0x12).Decode());
  EXPECT_EQ(testing::OnlyText(canvas, "EXT").color, kYellow);
  EXPECT_TRUE(HasText(canvas, {235, 6}, "EXT") && HasText(canvas, {420, 6}, "FL"));
  EXPECT_TRUE(HasText(canvas, {460, 6}, "M") && HasText(canvas, {500, 7}, "0042"));
  EXPECT_TRUE(HasText(canvas, {310, 7}, "12:00:00"));

  canvas.Clear();
  DrawHeader(canvas, Reply{}.Set(17, 5).Set(13, 7).Decode());
  EXPECT_EQ(testing::ItemsOf<TextItem>(canvas).size(), 4U);  // no trigger tag
  EXPECT_TRUE(HasText(canvas, {420, 6}, "sd") && HasText(canvas, {500, 7}, "0007"));
}

}  // namespace
}  // namespace halvane
