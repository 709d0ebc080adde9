#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "link/usb.h"
#include "sim/simulated_backend.h"
#include "sim/simulated_meter.h"
#include "sim_test_support.h"

namespace halvane {
namespace {

class SimulatedBackendTest : public ::testing::Test {
 protected:
  SimulatedBackendTest() : meter(1, wall.Reader()), backend(meter) {
    backend.SetWait([this](int ms) { waits.push_back(ms); });
  }

  std::unique_ptr<HidDevice> OpenMeter() { return backend.Open(SimulatedBackend::kMeterPath); }
  std::vector<HidDeviceInfo> Search() { return backend.Enumerate(MeterVendorId, MeterProductId); }
  // Reads into a buffer of 0xEE; returns the read's result and the buffer.
  std::pair<int, std::vector<std::uint8_t>> Read(HidDevice& device) {
    std::vector<std::uint8_t> data(kInputReportSize - 1, 0xEE);
    const int result = device.Read(data, 2000);
    return {result, data};
  }
  // The data a second meter of the same seed and clock answers to the same polls.
  std::vector<std::uint8_t> ReferenceData(int polls) {
    SimulatedMeter reference(1, wall.Reader());
    InputReportBuffer reply{};
    for (int poll = 0; poll < polls; ++poll) {
      reply = Poll(reference);
    }
    return {reply.begin() + 1, reply.end()};
  }

  ManualClock wall;
  SimulatedMeter meter;
  SimulatedBackend backend;
  std::vector<int> waits;
};

TEST_F(SimulatedBackendTest, EnumeratesTheMeterByItsIds) {
  const std::vector<HidDeviceInfo> devices = Search();
  ASSERT_EQ(devices.size(), 1u);
  EXPECT_EQ(devices[0].path, "sim:meter");
  EXPECT_EQ(devices[0].product, "Simulated Sound Level Meter");
  EXPECT_TRUE(backend.Enumerate(MeterVendorId, MeterProductId + 1).empty());
  EXPECT_EQ(backend.SearchCount(), 2);

  SimulatedBackend other_ids(meter, MeterIds{0x1234, 0x5678});
  EXPECT_TRUE(other_ids.Enumerate(MeterVendorId, MeterProductId).empty());
  EXPECT_EQ(other_ids.Enumerate(0x1234, 0x5678).size(), 1u);
}

TEST_F(SimulatedBackendTest, OpenedDeviceTalksToTheMeter) {
  EXPECT_EQ(backend.Open("sim:elsewhere"), nullptr);
  const auto device = OpenMeter();
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(backend.OpenCount(), 1);
  EXPECT_EQ(device->InputReportLength(), 161u);
  EXPECT_EQ(device->OutputReportLength(), 17u);
  EXPECT_EQ(device->Write(kLivePoll), 17);
  EXPECT_EQ(meter.ReceivedReports().size(), 1u);
  const auto [result, data] = Read(*device);
  EXPECT_EQ(result, 160);
  EXPECT_EQ(data, ReferenceData(1));
}

TEST_F(SimulatedBackendTest, UnplugKillsDevicesAndReplugNeedsANewOpen) {
  const auto old_device = OpenMeter();
  old_device->Write(kLivePoll);  // its reply is lost with the unplug
  backend.Unplug();
  EXPECT_TRUE(Search().empty());
  EXPECT_EQ(OpenMeter(), nullptr);
  EXPECT_EQ(old_device->Write(kLivePoll), -1);
  EXPECT_EQ(Read(*old_device).first, -1);
  EXPECT_EQ(meter.ReceivedReports().size(), 1u);

  backend.Replug();
  EXPECT_EQ(Search().size(), 1u);
  EXPECT_EQ(old_device->Write(kLivePoll), -1);
  const auto new_device = OpenMeter();
  ASSERT_NE(new_device, nullptr);
  EXPECT_EQ(Read(*new_device).first, 0);  // nothing survived the unplug
  EXPECT_EQ(new_device->Write(kLivePoll), 17);
  EXPECT_EQ(Read(*new_device).first, 160);
  EXPECT_EQ(backend.OpenCount(), 2);
  EXPECT_EQ(waits, std::vector<int>{2000});
}

TEST_F(SimulatedBackendTest, SilentMeterLogsButReadsTimeOut) {
  const auto device = OpenMeter();
  backend.SetSilent(true);
  EXPECT_EQ(device->Write(kLivePoll), 17);
  EXPECT_EQ(Read(*device).first, 0);
  EXPECT_EQ(waits, std::vector<int>{2000});
  EXPECT_EQ(backend.TimedOutReads(), std::vector<int>{2000});
  EXPECT_EQ(meter.ReceivedReports().size(), 1u);

  backend.SetSilent(false);
  device->Write(kLivePoll);
  const auto [result, data] = Read(*device);
  EXPECT_EQ(result, 160);
  EXPECT_EQ(data, ReferenceData(2));  // the answer to the second poll, not the silenced first
}

TEST_F(SimulatedBackendTest, GarbageRepliesAreSeededRandomBytesOfFullLength) {
  SimulatedMeter twin_meter(1, wall.Reader());
  SimulatedBackend twin(twin_meter);
  backend.SetGarbage(true);
  twin.SetGarbage(true);
  const auto device = OpenMeter();
  const auto twin_device = twin.Open(SimulatedBackend::kMeterPath);
  device->Write(kLivePoll);
  twin_device->Write(kLivePoll);
  const auto [result, data] = Read(*device);
  EXPECT_EQ(result, 160);
  EXPECT_NE(data, ReferenceData(1));
  EXPECT_EQ(data, Read(*twin_device).second);
}

TEST_F(SimulatedBackendTest, ShortReportsLeaveTheRestOfTheBuffer) {
  backend.SetShortReports(20);
  const auto device = OpenMeter();
  device->Write(kLivePoll);
  const auto [result, data] = Read(*device);
  EXPECT_EQ(result, 20);
  const std::vector<std::uint8_t> reference = ReferenceData(1);
  EXPECT_TRUE(std::equal(data.begin(), data.begin() + 20, reference.begin()));
  EXPECT_TRUE(std::all_of(data.begin() + 20, data.end(), [](auto byte) { return byte == 0xEE; }));

  backend.SetShortReports(0);
  device->Write(kLivePoll);
  EXPECT_EQ(Read(*device).first, 160);
}

TEST_F(SimulatedBackendTest, RefusingDevicesComeFirstAndTheLinkPassesThem) {
  backend.AddRefusingDevice();
  backend.AddRefusingDevice();
  const std::vector<HidDeviceInfo> devices = Search();
  ASSERT_EQ(devices.size(), 3u);
  EXPECT_EQ(backend.Open(devices[0].path), nullptr);
  EXPECT_EQ(backend.Open(devices[1].path), nullptr);
  EXPECT_EQ(devices[2].path, "sim:meter");

  USB usb(backend);
  std::string name;
  usb.SetNameLabelSink([&](std::string_view caption) { name = caption; });
  usb.OutputReport()[1] = 0x42;
  usb.ExchangeReports();
  EXPECT_TRUE(usb.MeterConnected());
  EXPECT_EQ(name, " Simulated Sound Level Meter");
  EXPECT_EQ(usb.InputReportCopy()[18], 130);
  EXPECT_EQ(backend.OpenCount(), 1);
}

TEST_F(SimulatedBackendTest, IdleReadsRepeatTheLastReplyOrTimeOut) {
  auto device = OpenMeter();
  EXPECT_EQ(Read(*device).first, 0);  // no reply yet on this connection
  device->Write(kLivePoll);
  const auto first = Read(*device);
  EXPECT_EQ(Read(*device), first);
  EXPECT_EQ(backend.TimedOutReads().size(), 1u);

  device = OpenMeter();
  EXPECT_EQ(Read(*device).first, 0);  // a new connection starts without a last reply

  backend.SetIdleReads(IdleReads::TimeOut);
  device->Write(kLivePoll);
  EXPECT_EQ(Read(*device).first, 160);
  EXPECT_EQ(Read(*device).first, 0);
  EXPECT_EQ(backend.TimedOutReads(), (std::vector<int>{2000, 2000, 2000}));
}

}  // namespace
}  // namespace halvane
