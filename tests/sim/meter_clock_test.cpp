#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <vector>

#include "sim/simulated_meter.h"
#include "sim_test_support.h"

namespace halvane {
namespace {

using namespace std::chrono_literals;
using Bytes = std::array<std::uint8_t, 6>;

Bytes ClockBytes(const InputReportBuffer& reply) {
  return {reply[6], reply[7], reply[8], reply[9], reply[10], reply[11]};
}
Bytes ClockAnswer(const InputReportBuffer& reply) {
  return {reply[1], reply[2], reply[3], reply[4], reply[5], reply[6]};
}

TEST(MeterClock, StartsAtTheWallClockInPackedBcdAndKeepsItsOffset) {
  ManualClock wall;
  SimulatedMeter meter(1, wall.Reader());
  EXPECT_EQ(ClockBytes(Poll(meter)), (Bytes{0x13, 0x08, 0x09, 0x01, 0x14, 0x19}));
  meter.State().clock_offset = 45min;
  EXPECT_EQ(ClockBytes(Poll(meter)), (Bytes{0x13, 0x08, 0x09, 0x01, 0x59, 0x19}));
}

TEST(MeterClock, AdvancesWithTheWallClockAcrossMinuteDayAndYear) {
  ManualClock wall;
  wall.now = std::chrono::sys_days{std::chrono::year{2013} / 12 / 31} + 23h + 59min + 59s;
  SimulatedMeter meter(1, wall.Reader());
  EXPECT_EQ(ClockBytes(Poll(meter)), (Bytes{0x13, 0x12, 0x31, 0x23, 0x59, 0x59}));
  wall.now += 2s;
  EXPECT_EQ(ClockBytes(Poll(meter)), (Bytes{0x14, 0x01, 0x01, 0x00, 0x00, 0x01}));
  wall.now += 59 * 24h;  // 2014 is no leap year
  EXPECT_EQ(ClockBytes(Poll(meter)), (Bytes{0x14, 0x03, 0x01, 0x00, 0x00, 0x01}));
}

TEST(MeterClock, ReadsBackTheTimeSetRunsOnFromItAndIgnoresTimesThatDoNotExist) {
  ManualClock wall;
  SimulatedMeter meter(1, wall.Reader());
  const auto read_clock = [&] { return ClockAnswer(Send(meter, {0x41, 0x01})); };
  EXPECT_EQ(read_clock(), (Bytes{0x13, 0x08, 0x09, 0x01, 0x14, 0x19}));
  wall.now += 500ms;
  EXPECT_EQ(Send(meter, {0x41, 0x02, 0x24, 0x02, 0x29, 0x23, 0x59, 0x58}), InputReportBuffer{});
  EXPECT_EQ(read_clock(), (Bytes{0x24, 0x02, 0x29, 0x23, 0x59, 0x58}));
  wall.now += 2500ms;
  EXPECT_EQ(read_clock(), (Bytes{0x24, 0x03, 0x01, 0x00, 0x00, 0x00}));
  EXPECT_EQ(ClockBytes(Poll(meter)), read_clock()) << "the live reply shows the same clock";

  using Command = std::vector<std::uint8_t>;
  for (const Command& set : {Command{0x41, 0x02, 0x23, 0x02, 0x29, 0x12, 0x00, 0x00},  // no leap
                             {0x41, 0x02, 0x23, 0x01, 0x01, 0x24, 0x00, 0x00},
                             {0x41, 0x02, 0x23, 0x01, 0x01, 0x12, 0x1A, 0x00}}) {
    EXPECT_EQ(Send(meter, set), InputReportBuffer{});
    EXPECT_EQ(read_clock(), (Bytes{0x24, 0x03, 0x01, 0x00, 0x00, 0x00}));
  }
}

TEST(MeasurementTime, RunsOnlyWhileRecordingAndNotPaused) {
  ManualClock wall;
  SimulatedMeter meter(1, wall.Reader());
  const auto measurement_time = [&] {
    const InputReportBuffer reply = Poll(meter);
    return std::array<int, 3>{reply[14], reply[15], reply[16]};
  };
  wall.now += 10s;
  EXPECT_EQ(measurement_time(), (std::array<int, 3>{0, 0, 0}));
  meter.State().recording = true;
  wall.now += 1h + 2min + 5s;
  EXPECT_EQ(measurement_time(), (std::array<int, 3>{0x01, 0x02, 0x05}));
  for (int poll = 0; poll < 25; ++poll) {  // 25 polls 160 ms apart add 4 s
    wall.now += 160ms;
    measurement_time();
  }
  EXPECT_EQ(measurement_time(), (std::array<int, 3>{0x01, 0x02, 0x09}));
  meter.State().paused = true;
  wall.now += 1min;
  EXPECT_EQ(measurement_time(), (std::array<int, 3>{0x01, 0x02, 0x09}));
}

}  // namespace
}  // namespace halvane
