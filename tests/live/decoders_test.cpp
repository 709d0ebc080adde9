// The decoders of live replies and the bar routines that the screens share.

#include <gtest/gtest.h>

#include <tuple>

#include "display_list.h"
#include "live/meter.h"

namespace halvane::testing {
namespace {

TEST(Decoders, ReplyFlagBitsRangeBottomAndEachChannelsLetters) {
  const LiveReading none = Reply{}.Set(1, 0b0010'0111).Set(2, 0b0001'0011).Decode();
  EXPECT_FALSE(none.MemoryFull || none.AutoMemoryFull || none.RecordManually ||
               none.StorageIsFlash || none.Recording || none.Paused || none.UsbActive ||
               none.Stopped || none.ComparatorOutput);
  const LiveReading all = Reply{}.Set(1, 0b1101'1000).Set(2, 0b1110'1100).Decode();
  EXPECT_TRUE(all.MemoryFull && all.AutoMemoryFull && all.RecordManually && all.StorageIsFlash &&
              all.Recording && all.Paused && all.UsbActive && all.Stopped && all.ComparatorOutput);
  for (const auto& [top, bottom] : {std::pair{130, 40}, {120, 30}, {110, 20}, {100, 20}}) {
    EXPECT_EQ(Reply{}.Set(18, static_cast<std::uint8_t>(top)).Decode().RangeBottom, bottom);
  }
  const LiveReading r = Reply{}.Set(19, 0x21).Set(20, 0x30).Set(21, 0xF3).Decode();
  EXPECT_EQ(r.MainItemLabel + " " + r.SubItemLabel, "LCFmax LZImax");
  // Codes just past their tables give no letter or label; the header test has the trigger's.
  const LiveReading unknown = Reply{}.Set(19, 0x3F).Set(20, 0x4F).Set(21, 0x0A).Decode();
  EXPECT_EQ(unknown.SubFreqWeighting + unknown.SubTimeWeighting + unknown.MainItemLabel, "");
}

TEST(Decoders, ReplyOfAnyLengthAndNothingReadPastTheBuffer) {
  const LiveReading short_reply = DecodeLiveReply(std::vector<std::uint8_t>{0, 0, 0, 0, 5});
  EXPECT_EQ(short_reply.DisplayMode, 5);
  EXPECT_EQ(short_reply.SubItemLevels.back(), "0.0");
  const LiveReading long_reply = DecodeLiveReply(std::vector<std::uint8_t>(500, 0xFF));
  EXPECT_EQ(long_reply.Level(159), "6553.5");
  EXPECT_EQ(long_reply.Level(160), "0.0");  // its low byte would lie past the buffer
  EXPECT_EQ(long_reply.Level(static_cast<std::size_t>(-1)), "0.0");
}

TEST(Bars, FillTheirBandUpToTheClampedLevelWithTheOutlineOpenAtTheBottom) {
  const Pen pen{ConsoleColor(4), LineStyle::Dotted, 1};
  const auto side = [&](const LineItem& l) {
    return l.pen == pen && (l.from.y != 90 || l.to.y != 90);
  };
  for (const auto& [third, band, value, from, to] :
       {std::tuple<bool, int, double, Point, Point>{true, 0, 60, {40, 55}, {50, 90}},
        {true, 4, 60, {90, 55}, {100, 90}},
        {true, 32, 60, {460, 55}, {470, 90}},
        {false, 12, 60, {520, 55}, {550, 90}},
        {false, 12, 250, {520, 20}, {550, 90}}}) {
    Canvas canvas(kPanelWidthUnits, kPanelHeightUnits);
    canvas.SetCurrentPen(pen);
    third ? DrawThirdOctaveBar(canvas, value, 100, 20, 10, band)
          : DrawOctaveBar(canvas, value, 100, 20, 10, band);
    EXPECT_TRUE(ItemsOf<BoxItem>(canvas).size() == 1 && HasBox(canvas, from, to, ConsoleColor(10)))
        << "band " << band;
    EXPECT_TRUE(ItemsOf<LineItem>(canvas).size() == 3 &&
                ItemsOf<LineItem>(canvas, side).size() == 3)
        << "band " << band;
  }
  Canvas canvas(kPanelWidthUnits, kPanelHeightUnits);  // at the bottom, or in an empty range
  DrawOctaveBar(canvas, 20, 100, 20, 9, 3);
  DrawThirdOctaveBar(canvas, 5, 100, 20, 9, 3);
  DrawOctaveBar(canvas, 50, 20, 20, 9, 3);
  DrawThirdOctaveBar(canvas, 50, 10, 20, 9, 3);
  EXPECT_TRUE(canvas.Items().empty());
}

}  // namespace
}  // namespace halvane::testing
