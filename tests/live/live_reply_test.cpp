#include "live/live_reply.h"

#include <gtest/gtest.h>

#include <vector>

#include "display_list.h"

namespace halvane {
namespace {

using testing::Reply;

TEST(DecodeLiveReply, ReadsOnlyTheFlagBits) {
  const LiveReading none = Reply{}.Set(1, 0b0010'0111).Set(2, 0b0001'0011).Decode();
  EXPECT_FALSE(none.MemoryFull || none.AutoMemoryFull || none.RecordManually ||
               none.StorageIsFlash || none.Recording || none.Paused || none.UsbActive ||
               none.Stopped || none.ComparatorOutput);
  const LiveReading all = Reply{}.Set(1, 0b1101'1000).Set(2, 0b1110'1100).Decode();
  EXPECT_TRUE(all.MemoryFull && all.AutoMemoryFull && all.RecordManually && all.StorageIsFlash &&
              all.Recording && all.Paused && all.UsbActive && all.Stopped && all.ComparatorOutput);
}

TEST(DecodeLiveReply, DerivesRangeBottomFromTop) {
  for (const auto& [top, bottom] : {std::pair{130, 40}, {120, 30}, {110, 20}, {100, 20}}) {
    EXPECT_EQ(Reply{}.Set(18, static_cast<std::uint8_t>(top)).Decode().RangeBottom, bottom);
  }
}

TEST(DecodeLiveReply, GivesEachChannelItsOwnLettersForTheSameItem) {
  const LiveReading r = Reply{}.Set(19, 0x21).Set(20, 0x30).Set(21, 0xF3).Decode();
  EXPECT_EQ(r.MainItemLabel, "LCFmax");
  EXPECT_EQ(r.SubItemLabel, "LZImax");
  const LiveReading unknown = Reply{}.Set(19, 0x3F).Set(20, 0x4F).Set(21, 0x0C).Decode();
  EXPECT_EQ(unknown.MainFreqWeighting + unknown.SubTimeWeighting + unknown.MainItemLabel, "");
}

TEST(DecodeLiveReply, ShowsBcdBytesAsTwoHexDigits) {
  const LiveReading r = Reply{}.Set(6, 0x24).Set(10, 0x5A).Set(11, 0x07).Set(14, 0x01).Decode();
  EXPECT_EQ(r.MeterClock, (std::array<std::string, 6>{"24", "00", "00", "00", "5A", "07"}));
  EXPECT_EQ(r.MeasurementTime[0], "01");
}

TEST(DecodeLiveReply, ReadsAnyLengthAndNothingPastTheBuffer) {
  const LiveReading short_reply = DecodeLiveReply(std::vector<std::uint8_t>{0, 0, 0, 0, 5});
  EXPECT_EQ(short_reply.DisplayMode, 5);
  EXPECT_EQ(short_reply.SubItemLevels.back(), "0.0");
  const LiveReading long_reply = DecodeLiveReply(std::vector<std::uint8_t>(500, 0xFF));
  EXPECT_EQ(long_reply.Level(159), "6553.5");
  EXPECT_EQ(long_reply.Level(160), "0.0");  // its low byte would lie past the buffer
  EXPECT_EQ(long_reply.Level(static_cast<std::size_t>(-1)), "0.0");
}

TEST(TriggerDisplayFor, NamesModesZeroToFourOnly) {
  EXPECT_EQ(TriggerDisplayFor(0)->tag, "Ntrig");
  EXPECT_EQ(TriggerDisplayFor(4)->entry, "Time");
  EXPECT_FALSE(TriggerDisplayFor(5).has_value());
  EXPECT_FALSE(TriggerDisplayFor(-1).has_value());
}

}  // namespace
}  // namespace halvane
