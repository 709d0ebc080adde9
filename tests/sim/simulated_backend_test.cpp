// The simulated backend's faults below the link: garbage replies and short reports. Unplugging,
// silence and idle reads are checked through the link, in its tests and in the transfers'.

#include "sim/simulated_backend.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "link/reports.h"
#include "sim/simulated_meter.h"

namespace halvane {
namespace {

using Data = std::vector<std::uint8_t>;

// A meter whose wall clock stands still, so that meters of one seed answer byte for byte alike.
SimulatedMeter StillMeter() {
  return SimulatedMeter(1, [] { return std::chrono::system_clock::time_point{}; });
}

// Writes a live poll to `backend`'s meter and reads into a buffer of 0xEE: the result and the
// buffer.
std::pair<int, Data> Poll(SimulatedBackend& backend) {
  const std::unique_ptr<HidDevice> device = backend.Open(SimulatedBackend::kMeterPath);
  device->Write(std::array<std::uint8_t, kOutputReportSize>{0x00, 0x42});
  Data data(kInputReportSize - 1, 0xEE);
  const int result = device->Read(data, 2000);
  return {result, data};
}

TEST(SimulatedBackend, GarbageIsSeededFullLengthAndShortReportsLeaveTheRestOfTheBuffer) {
  SimulatedMeter meter = StillMeter(), twin = StillMeter(), other_meter = StillMeter();
  SimulatedBackend backend(meter), plain(twin), other(other_meter);
  backend.SetGarbage(true);
  other.SetGarbage(true);
  const auto [result, garbage] = Poll(backend);
  EXPECT_EQ(result, 160);
  const Data twin_reply = Poll(plain).second;
  EXPECT_NE(garbage, twin_reply);
  EXPECT_EQ(garbage, Poll(other).second);

  backend.SetGarbage(false);
  backend.SetShortReports(20);
  Data expected = Poll(plain).second;
  std::fill(expected.begin() + 20, expected.end(), 0xEE);
  EXPECT_EQ(Poll(backend), (std::pair{20, expected}));
  backend.SetShortReports(0);
  EXPECT_EQ(Poll(backend).first, 160);
}

// A paced meter takes its time for each reply it delivers, and only for those.
TEST(SimulatedBackend, PacedMeterWaitsForTheRepliesItDelivers) {
  SimulatedMeter meter = StillMeter();
  SimulatedBackend backend(meter);
  std::vector<int> waits;
  backend.SetWait([&waits](int ms) { waits.push_back(ms); });
  backend.SetPace(30);
  backend.SetIdleReads(IdleReads::TimeOut);
  const std::unique_ptr<HidDevice> device = backend.Open(SimulatedBackend::kMeterPath);
  device->Write(std::array<std::uint8_t, kOutputReportSize>{0x00, 0x42});
  Data data(kInputReportSize - 1);
  EXPECT_EQ(device->Read(data, 2000), 160);
  EXPECT_EQ(device->Read(data, 2000), 0);
  EXPECT_EQ(waits, (std::vector<int>{30, 2000}));
}

}  // namespace
}  // namespace halvane
