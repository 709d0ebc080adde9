#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "sim/simulated_meter.h"
#include "sim_test_support.h"

namespace halvane {
namespace {

using Command = std::vector<std::uint8_t>;

void Set(SimulatedMeter& meter, const Command& command) {
  EXPECT_EQ(Send(meter, command), InputReportBuffer{}) << "set commands answer zeros";
}

// The first `count` bytes of a query's answer; the rest must be zero.
std::vector<int> Ask(SimulatedMeter& meter, const Command& query, std::size_t count) {
  const InputReportBuffer reply = Send(meter, query);
  EXPECT_TRUE(std::all_of(reply.begin() + 1 + count, reply.end(), [](auto b) { return b == 0; }));
  return ReplyBytes(reply, 1, count);
}

TEST(Settings, QueriesAnswerTheDefaultThenWhatWasSetAndOutOfRangeSetsAreIgnored) {
  struct Setting {
    Command query;
    std::vector<int> default_answer;
    Command set;
    std::vector<int> answer_after_set;
    std::vector<Command> ignored_sets;
  };
  const std::vector<Setting> settings{
      {{0x41, 0x09, 0}, {3}, {0x41, 0x09, 4}, {4}, {{0x41, 0x09, 5}}},
      {{0x41, 0x18, 0}, {2}, {0x41, 0x18, 3}, {3}, {{0x41, 0x18, 4}}},
      {{0x41, 0x19, 0}, {2}, {0x41, 0x19, 4}, {4}, {{0x41, 0x19, 5}}},
      {{0x41, 0x11},
       {0, 10, 0},
       {0x41, 0x12, 1, 5, 0},
       {1, 5, 0},
       {{0x41, 0x12, 24, 0, 0}, {0x41, 0x12, 0, 60, 0}, {0x41, 0x12, 0, 0, 0}}},
      {{0x41, 0x03}, {0, 0, 1}, {0x41, 0x04, 0, 2, 30}, {0, 2, 30}, {{0x41, 0x04, 0, 0, 60}}},
      {{0x41, 0x05}, {12, 0, 0}, {0x41, 0x06, 0, 0, 0}, {0, 0, 0}, {{0x41, 0x06, 23, 59, 60}}},
      {{0x41, 0x13, 0}, {1}, {0x41, 0x13, 2}, {2}, {{0x41, 0x13, 3}}},
      {{0x41, 0x14, 0},
       {75, 19},
       {0x41, 0x14, 60, 16},
       {60, 16},
       {{0x41, 0x14, 141, 16}, {0x41, 0x14, 60, 34}}},
  };
  for (const Setting& setting : settings) {
    SCOPED_TRACE(int(setting.query[1]));
    SimulatedMeter meter;
    const std::size_t count = setting.default_answer.size();
    EXPECT_EQ(Ask(meter, setting.query, count), setting.default_answer);
    Set(meter, setting.set);
    for (const Command& ignored : setting.ignored_sets) {
      Set(meter, ignored);
    }
    EXPECT_EQ(Ask(meter, setting.query, count), setting.answer_after_set);
  }
}

TEST(Settings, StorageRecordingModeTriggerModeAndEraseShowInTheLiveReply) {
  SimulatedMeter meter;
  meter.State().auto_record_number = 7;
  meter.State().manual_record_number = 3;
  for (const Command& set : {Command{0x41, 0x07, 2},
                             {0x41, 0x08, 1},
                             {0x41, 0x15, 5},
                             {0x41, 0x10, 1},
                             {0x41, 0x07, 3},
                             {0x41, 0x15, 6}}) {
    Set(meter, set);
  }
  const InputReportBuffer reply = Poll(meter);
  EXPECT_EQ(reply[1], 0x40);  // SD card, manually
  EXPECT_EQ(ReplyBytes(reply, 12, 2), (std::vector<int>{0, 7}));
  EXPECT_EQ(reply[17], 4);
}

TEST(Settings, EachLevelTriggerKeepsItsOwnLevelAndBand) {
  SimulatedMeter meter;
  Set(meter, {0x41, 0x15, 2});
  EXPECT_EQ(Poll(meter)[17], 1);
  EXPECT_EQ(Ask(meter, {0x41, 0x16, 0}, 2), (std::vector<int>{85, 19}));
  Set(meter, {0x41, 0x16, 95, 20});
  Set(meter, {0x41, 0x15, 3});
  EXPECT_EQ(Poll(meter)[17], 2);
  EXPECT_EQ(Ask(meter, {0x41, 0x16, 0}, 2), (std::vector<int>{90, 33}));
  Set(meter, {0x41, 0x15, 2});
  EXPECT_EQ(Ask(meter, {0x41, 0x16, 0}, 2), (std::vector<int>{95, 20}));
}

TEST(Settings, ComparatorOutputIsOnWhileEnabledAndTheBandLevelReachesTheThreshold) {
  SimulatedMeter meter;
  meter.State().display_mode = 4;  // band levels as they are
  Set(meter, {0x41, 0x14, 1, 19});
  EXPECT_EQ(Poll(meter)[2] & 0x04, 0) << "disabled";
  Set(meter, {0x41, 0x13, 2});
  for (const std::uint8_t band : Command{19, 33}) {
    const std::size_t level_byte = band == 33 ? 153 : 67 + 2 * band;
    int on = 0;
    for (int poll = 0; poll < 100; ++poll) {  // a threshold at the last level: about half reach it
      const auto threshold = static_cast<std::uint8_t>(std::lround(Level(Poll(meter), level_byte)));
      Set(meter, {0x41, 0x14, threshold, band});
      const InputReportBuffer reply = Poll(meter);
      const bool reached = Tenths(reply, level_byte) >= 10 * threshold;
      EXPECT_EQ((reply[2] & 0x04) != 0, reached) << "band " << int(band) << " poll " << poll;
      on += reached ? 1 : 0;
    }
    EXPECT_GT(on, 20);
    EXPECT_LT(on, 80);
  }
}

}  // namespace
}  // namespace halvane
