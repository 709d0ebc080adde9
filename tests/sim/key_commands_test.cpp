#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <vector>

#include "sim/simulated_meter.h"
#include "sim_test_support.h"

namespace halvane {
namespace {

struct Key {
  std::uint8_t byte2;
  std::uint8_t byte3;
};
constexpr Key kFreq{0x01, 0}, kTime{0x02, 0}, kStore{0x08, 0}, kRight{0x40, 0}, kLeft{0x80, 0},
    kPause{0, 0x01}, kMode{0, 0x02}, kStartStop{0, 0x08}, kOct{0, 0x10}, kMenu{0, 0x20},
    kLevelDown{0, 0x40};

// Byte `index` of the live reply after each press of `keys` in turn.
std::vector<int> AfterEach(SimulatedMeter& meter, const std::vector<Key>& keys, std::size_t index) {
  std::vector<int> seen;
  for (const Key key : keys) {
    EXPECT_EQ(Send(meter, {0x40, key.byte2, key.byte3}), InputReportBuffer{});
    seen.push_back(Poll(meter)[index]);
  }
  return seen;
}
std::vector<Key> Times(int presses, Key key) {
  return std::vector<Key>(std::size_t(presses), key);
}

TEST(Keys, FreqAndTimeStepTheMainChannelAroundItsCycleAndLeaveTheSubChannel) {
  SimulatedMeter meter;
  EXPECT_EQ(AfterEach(meter, Times(4, kFreq), 19), (std::vector<int>{0x11, 0x12, 0x10, 0x11}));
  EXPECT_EQ(AfterEach(meter, Times(5, kTime), 20),
            (std::vector<int>{0x11, 0x12, 0x13, 0x10, 0x11}));
}

TEST(Keys, ModeGoesThroughTheScreenFamiliesOctWithinThemMenuAwayAndBack) {
  SimulatedMeter meter;
  EXPECT_EQ(AfterEach(meter,
                      {kMode, kMode, kMode, kOct, kOct, kMode, kOct, kOct, kOct, kMode, kMode, kOct,
                       kOct, kMenu, kMode, kMenu},
                      4),
            (std::vector<int>{1, 4, 0, 1, 2, 5, 6, 4, 5, 0, 2, 3, 1, 8, 8, 1}));
}

TEST(Keys, StartStopAndPauseContSetTheFlagsAndCountRecords) {
  ManualClock wall;
  SimulatedMeter meter(1, wall.Reader());
  EXPECT_EQ(AfterEach(meter, {kPause, kStartStop, kPause, kPause, kPause, kStartStop}, 2),
            (std::vector<int>{0x20, 0xA0, 0xE0, 0xA0, 0xE0, 0x20}));
  AfterEach(meter, {kStartStop}, 2);
  wall.now += std::chrono::seconds{7};
  EXPECT_EQ(ReplyBytes(Poll(meter), 12, 5), (std::vector<int>{0, 2, 0, 0, 7}));
  meter.State().record_manually = true;
  AfterEach(meter, {kStartStop, kStartStop}, 2);
  EXPECT_EQ(ReplyBytes(Poll(meter), 12, 5), (std::vector<int>{1, 2, 0, 0, 0}));
  EXPECT_EQ(AfterEach(meter, {kStore}, 12), (std::vector<int>{2}));
}

TEST(Keys, LevelAndBandKeysStayInTheirLimitsAndTheOctaveBarsMoveByOctaves) {
  SimulatedMeter meter;
  EXPECT_EQ(AfterEach(meter, Times(8, kLevelDown), 18),
            (std::vector<int>{120, 110, 100, 90, 80, 70, 60, 60}));
  EXPECT_EQ(AfterEach(meter, Times(13, kRight), 22).back(), 32);
  meter.State().display_mode = 1;
  EXPECT_EQ(AfterEach(meter, Times(11, kLeft), 22),
            (std::vector<int>{29, 26, 23, 20, 17, 14, 11, 8, 5, 2, 2}));
}

TEST(Keys, BitsOfNoSingleKeyChangeNothing) {
  ManualClock wall;
  SimulatedMeter meter(1, wall.Reader());
  const std::vector<int> before = ReplyBytes(Poll(meter), 1, 22);
  for (const Key bits : {Key{0x04, 0}, Key{0, 0x80}, Key{0x03, 0}, Key{0x01, 0x01}}) {
    AfterEach(meter, {bits}, 0);
    EXPECT_EQ(ReplyBytes(Poll(meter), 1, 22), before) << int(bits.byte2) << " " << int(bits.byte3);
  }
}

}  // namespace
}  // namespace halvane
