#include "live/live_reply.h"

#include <gtest/gtest.h>

#include <vector>

#include "display_list.h"

namespace halvane {
namespace {

using testing::Reply;

TEST(DecodeLiveReply, ReadsTheFlagBits) {
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
    const LiveReading r = Reply{}.Set(18, static_cast<std::uint8_t>(top)).Decode();
    EXPECT_EQ(r.RangeTop, top);
    EXPECT_EQ(r.RangeBottom, bottom) << "top " << top;
  }
}

TEST(DecodeLiveReply, SplitsWeightingsByChannelAndLabelsTheItem) {
  const LiveReading r = Reply{}.Set(19, 0x21).Set(20, 0x30).Set(21, 0xF3).Decode();
  EXPECT_EQ(r.MainFreqWeighting, "C");
  EXPECT_EQ(r.SubFreqWeighting, "Z");
  EXPECT_EQ(r.MainTimeWeighting, "F");
  EXPECT_EQ(r.SubTimeWeighting, "I");
  EXPECT_EQ(r.MainItemLabel, "LCFmax");
  EXPECT_EQ(r.SubItemLabel, "LZImax");

  const LiveReading unknown = Reply{}.Set(19, 0x3F).Set(20, 0x4F).Set(21, 0x0C).Decode();
  EXPECT_EQ(unknown.MainFreqWeighting + unknown.SubTimeWeighting + unknown.MainItemLabel, "");
}

TEST(DecodeLiveReply, ShowsClockBytesAsHexDigits) {
  Reply reply;
  const std::uint8_t clock[] = {0x24, 0x03, 0x09, 0x23, 0x5A, 0x07, 0, 0, 0x01, 0x10, 0x00};
  for (std::size_t i = 0; i < std::size(clock); ++i) {
    reply.Set(6 + i, clock[i]);
  }
  const LiveReading r = reply.Set(12, 7).Set(13, 255).Decode();
  EXPECT_EQ(r.MeterClock, (std::array<std::string, 6>{"24", "03", "09", "23", "5A", "07"}));
  EXPECT_EQ(r.MeasurementTime, (std::array<std::string, 3>{"01", "10", "00"}));
  EXPECT_EQ(r.ManualRecordNumber, 7);
  EXPECT_EQ(r.AutoRecordNumber, 255);
}

TEST(DecodeLiveReply, KeepsSubLevelsAsTexts) {
  const LiveReading r = Reply{}.SetLevel(23, 935).SetLevel(43, 1000).Decode();
  EXPECT_EQ(r.SubItemLevels.front(), "93.5");
  EXPECT_EQ(r.SubItemLevels[1], "0.0");
  EXPECT_EQ(r.SubItemLevels.back(), "100.0");
}

TEST(DecodeLiveReply, ShortAndLongRepliesFillExactlyTheBuffer) {
  const std::vector<std::uint8_t> short_reply{0, 0, 0, 0, 5};
  const LiveReading r = DecodeLiveReply(short_reply);
  EXPECT_EQ(r.DisplayMode, 5);
  EXPECT_EQ(r.RangeTop, 0);
  EXPECT_EQ(r.Level(159), "0.0");

  const std::vector<std::uint8_t> long_reply(500, 0xFF);
  EXPECT_EQ(DecodeLiveReply(long_reply).Level(159), "6553.5");
  EXPECT_EQ(DecodeLiveReply(long_reply).Level(160), "0.0");  // pair past the end
  EXPECT_EQ(DecodeLiveReply({}).DisplayMode, 0);
}

TEST(TriggerDisplayFor, NamesModesZeroToFourOnly) {
  EXPECT_EQ(TriggerDisplayFor(0)->tag, "Ntrig");
  EXPECT_EQ(TriggerDisplayFor(1)->entry, "Trigger Level1");
  EXPECT_EQ(TriggerDisplayFor(2)->tag, "LV2");
  EXPECT_EQ(TriggerDisplayFor(3)->tag, "EXT");
  EXPECT_EQ(TriggerDisplayFor(4)->entry, "Time");
  EXPECT_FALSE(TriggerDisplayFor(5).has_value());
  EXPECT_FALSE(TriggerDisplayFor(-1).has_value());
}

}  // namespace
}  // namespace halvane
