#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "link/usb.h"
#include "sim/simulated_backend.h"
#include "sim/simulated_meter.h"

namespace halvane {
namespace {

using Data = std::vector<std::uint8_t>;

constexpr std::array<std::uint8_t, kOutputReportSize> kPollReport{0x00, 0x42};

// A wall clock that stands still, so that meters of one seed answer byte for byte alike.
const SimulatedMeter::WallClock kStillClock = [] {
  return std::chrono::system_clock::time_point{};
};

class BackendTest : public ::testing::Test {
 protected:
  BackendTest() {
    meter.KeepReceivedReports();
    backend.SetWait([this](int ms) { waits.push_back(ms); });
  }

  std::unique_ptr<HidDevice> OpenMeter() { return backend.Open(SimulatedBackend::kMeterPath); }
  // Writes a live poll when asked, then reads into a buffer of 0xEE: the result and the buffer.
  std::pair<int, Data> Read(HidDevice& device, bool poll_first = false) {
    EXPECT_EQ(poll_first ? device.Write(kPollReport) : 17, 17);
    Data data(kInputReportSize - 1, 0xEE);
    const int result = device.Read(data, 2000);
    return {result, data};
  }
  // The data of the next live reply of a meter of the same seed.
  Data TwinData() {
    twin.Receive(kPollReport);
    const InputReportBuffer reply = twin.TakeReply().value();
    return {reply.begin() + 1, reply.end()};
  }

  SimulatedMeter meter{1, kStillClock};
  SimulatedMeter twin{1, kStillClock};
  SimulatedBackend backend{meter};
  std::vector<int> waits;
};

TEST_F(BackendTest, UnplugKillsDevicesAndTheirRepliesAndReplugNeedsANewOpen) {
  EXPECT_TRUE(backend.Enumerate(MeterVendorId, MeterProductId + 1).empty());
  EXPECT_EQ(SimulatedBackend(meter, MeterIds{0x1234, 0x5678}).Enumerate(0x1234, 0x5678).size(), 1u);
  EXPECT_EQ(backend.Open("sim:elsewhere"), nullptr);
  const auto old_device = OpenMeter();
  old_device->Write(kPollReport);  // its reply is lost with the unplug
  backend.Unplug();
  EXPECT_TRUE(backend.Enumerate(MeterVendorId, MeterProductId).empty());
  EXPECT_EQ(OpenMeter(), nullptr);
  EXPECT_EQ(old_device->Write(kPollReport), -1);
  EXPECT_EQ(Read(*old_device).first, -1);
  EXPECT_EQ(meter.ReceivedReports().size(), 1u);

  backend.Replug();
  EXPECT_EQ(backend.Enumerate(MeterVendorId, MeterProductId).size(), 1u);
  EXPECT_EQ(old_device->Write(kPollReport), -1);
  const auto new_device = OpenMeter();
  ASSERT_NE(new_device, nullptr);
  EXPECT_EQ(Read(*new_device).first, 0);  // nothing survived the unplug
  EXPECT_EQ(Read(*new_device, true).first, 160);
  EXPECT_EQ(waits, std::vector<int>{2000});
}

TEST_F(BackendTest, SilentMeterLogsButTimesOutAndIdleReadsRepeatTheLastReplyOrTimeOut) {
  auto device = OpenMeter();
  EXPECT_EQ(Read(*device).first, 0);  // no reply yet on this connection
  backend.SetSilent(true);
  EXPECT_EQ(Read(*device, true).first, 0);
  EXPECT_EQ(meter.ReceivedReports().size(), 1u);
  EXPECT_EQ(waits, (std::vector<int>{2000, 2000}));
  backend.SetSilent(false);
  TwinData();  // the answer to the second poll, not the silenced first
  const auto last = Read(*device, true);
  EXPECT_EQ(last, (std::pair{160, TwinData()}));
  EXPECT_EQ(Read(*device), last);
  device = OpenMeter();
  EXPECT_EQ(Read(*device).first, 0);  // a new connection starts without a last reply
  backend.SetIdleReads(IdleReads::TimeOut);
  EXPECT_EQ(Read(*device, true).first, 160);
  EXPECT_EQ(Read(*device).first, 0);
  EXPECT_EQ(backend.TimedOutReads(), (std::vector<int>{2000, 2000, 2000, 2000}));
  EXPECT_EQ(waits, backend.TimedOutReads());

  // A paced meter takes its time for each reply it delivers, and only for those.
  backend.SetPace(30);
  waits.clear();
  EXPECT_EQ(Read(*device, true).first, 160);
  EXPECT_EQ(Read(*device).first, 0);
  EXPECT_EQ(waits, (std::vector<int>{30, 2000}));
}

TEST_F(BackendTest, GarbageIsSeededFullLengthAndShortReportsLeaveTheRestOfTheBuffer) {
  SimulatedMeter other_meter(1, kStillClock);
  SimulatedBackend other(other_meter);
  backend.SetGarbage(true);
  other.SetGarbage(true);
  const auto device = OpenMeter();
  const auto [result, garbage] = Read(*device, true);
  EXPECT_EQ(result, 160);
  EXPECT_NE(garbage, TwinData());
  EXPECT_EQ(garbage, Read(*other.Open(SimulatedBackend::kMeterPath), true).second);

  backend.SetGarbage(false);
  backend.SetShortReports(20);
  Data expected = TwinData();
  std::fill(expected.begin() + 20, expected.end(), 0xEE);
  EXPECT_EQ(Read(*device, true), (std::pair{20, expected}));
  backend.SetShortReports(0);
  EXPECT_EQ(Read(*device, true).first, 160);
}

}  // namespace
}  // namespace halvane
