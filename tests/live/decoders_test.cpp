// The decoders of live replies.

#include <gtest/gtest.h>

#include "tests/live/display_list.h"

namespace halvane::test {
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

}  // namespace
}  // namespace halvane::test
