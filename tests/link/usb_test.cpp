#include "link/usb.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "sim/simulated_backend.h"
#include "sim/simulated_meter.h"

namespace halvane {
namespace {

using ::testing::ElementsAre;

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<std::uint8_t> bytes;
  for (int value : values) {
    bytes.push_back(static_cast<std::uint8_t>(value));
  }
  return bytes;
}

class LinkTest : public ::testing::Test {
 protected:
  LinkTest() : backend(meter), usb(backend) {
    backend.SetWait([this](int ms) { waited_ms.push_back(ms); });
    usb.SetNameLabelSink([this](std::string_view caption) { name_label = caption; });
  }

  void Poll() {
    usb.OutputReport()[0] = 0x00;
    usb.OutputReport()[1] = 0x42;
    usb.ExchangeReports();
  }

  SimulatedMeter meter;
  SimulatedBackend backend;
  USB usb;
  std::vector<int> waited_ms;
  std::string name_label;
};

TEST_F(LinkTest, AbsentMeterCostsOneSearchPerExchangeAndNothingIsWritten) {
  backend.Unplug();
  for (int call = 1; call <= 3; ++call) {
    Poll();
    EXPECT_EQ(backend.SearchCount(), call);
    EXPECT_FALSE(usb.MeterConnected());
  }
  EXPECT_EQ(name_label, " No Connection");
  EXPECT_TRUE(meter.ReceivedReports().empty());
  EXPECT_TRUE(waited_ms.empty());
}

TEST_F(LinkTest, FirstExchangeSearchesThenWritesTheWholeReportAndReadsTheReply) {
  Poll();
  EXPECT_TRUE(usb.MeterConnected());
  EXPECT_EQ(backend.SearchCount(), 1);
  ASSERT_EQ(meter.ReceivedReports().size(), 1u);
  EXPECT_EQ(meter.ReceivedReports()[0].size(), kOutputReportSize);
  EXPECT_EQ(meter.ReceivedReports()[0][1], 0x42);
  EXPECT_EQ(usb.InputReportCopy()[18], meter.State().range_top);
  EXPECT_EQ(name_label, " Simulated Sound Level Meter");

  Poll();
  EXPECT_EQ(backend.SearchCount(), 1) << "a connected link does not search again";
}

TEST_F(LinkTest, SilentMeterCostsOneBoundedReadDropsTheLinkAndKeepsTheLastGoodReply) {
  Poll();
  const InputReportBuffer last_good = usb.InputReportCopy();
  backend.SetSilent(true);
  Poll();
  EXPECT_THAT(waited_ms, ElementsAre(2000));
  EXPECT_FALSE(usb.MeterConnected());
  EXPECT_EQ(usb.InputReportCopy(), last_good);

  backend.SetSilent(false);
  Poll();
  EXPECT_EQ(backend.SearchCount(), 2) << "the next exchange searches again";
  EXPECT_TRUE(usb.MeterConnected());
  EXPECT_EQ(backend.OpenCount(), 2) << "and opens the device afresh";
}

TEST_F(LinkTest, UnplugDropsTheLinkOnTheFailedReadAndReplugRecoversOnTheNextExchange) {
  Poll();
  backend.Unplug();
  Poll();
  EXPECT_FALSE(usb.MeterConnected());
  EXPECT_TRUE(waited_ms.empty()) << "a vanished device fails at once, it does not time out";
  Poll();
  EXPECT_EQ(name_label, " No Connection");

  backend.Replug();
  meter.ClearReceivedReports();
  Poll();
  EXPECT_TRUE(usb.MeterConnected());
  EXPECT_EQ(meter.ReceivedReports().size(), 1u)
      << "a successful search is followed by the exchange";
}

TEST_F(LinkTest, SendAndReceiveWhileDisconnectedOnlySearch) {
  usb.OutputReport()[1] = 0x41;
  usb.SendReport();
  EXPECT_TRUE(usb.MeterConnected());
  EXPECT_TRUE(meter.ReceivedReports().empty()) << "nothing is sent in the call that searched";

  backend.SetSilent(true);
  usb.ReceiveReport();
  EXPECT_FALSE(usb.MeterConnected());
  backend.SetSilent(false);
  usb.ReceiveReport();
  EXPECT_TRUE(usb.MeterConnected());
  EXPECT_THAT(waited_ms, ElementsAre(2000)) << "the searching call reads nothing";

  usb.SendReport();
  EXPECT_EQ(meter.ReceivedReports().size(), 1u);
}

TEST_F(LinkTest, BytesACommandDoesNotSetGoOutAsTheLastCommandLeftThem) {
  OutputReportBuffer& report = usb.OutputReport();
  const auto six_bytes = Bytes({0x00, 0x41, 0x12, 0x01, 0x02, 0x03});
  std::copy(six_bytes.begin(), six_bytes.end(), report.begin());
  usb.ExchangeReports();
  report[1] = 0x41;
  report[2] = 0x09;
  usb.ExchangeReports();
  ASSERT_EQ(meter.ReceivedReports().size(), 2u);
  const std::vector<std::uint8_t>& second = meter.ReceivedReports()[1];
  EXPECT_THAT(std::vector<std::uint8_t>(second.begin(), second.begin() + 6),
              ElementsAre(0x00, 0x41, 0x09, 0x01, 0x02, 0x03));
}

TEST_F(LinkTest, ShortReportLeavesTheRestAsTheLastLongerReportLeftIt) {
  Poll();
  const InputReportBuffer full = usb.InputReportCopy();
  backend.SetShortReports(10);
  Poll();
  EXPECT_TRUE(usb.MeterConnected());
  EXPECT_TRUE(std::equal(full.begin() + 11, full.end(), usb.InputReportCopy().begin() + 11));
}

TEST_F(LinkTest, BareReadWithoutAMeterDropsTheLinkWithoutSearching) {
  usb.ReadInputReport();
  EXPECT_FALSE(usb.MeterConnected());
  EXPECT_EQ(backend.SearchCount(), 0);
}

// Devices of the meter's IDs in a fixed order; some refuse to open.
class ScriptedBackend : public HidBackend {
 public:
  struct Entry {
    std::string path;
    bool opens;
  };
  explicit ScriptedBackend(std::vector<Entry> entries) : entries_(std::move(entries)) {}

  std::vector<HidDeviceInfo> Enumerate(std::uint16_t vendor, std::uint16_t product) override {
    std::vector<HidDeviceInfo> found;
    for (const Entry& entry : entries_) {
      found.push_back(HidDeviceInfo{entry.path, vendor, product, ""});
    }
    return found;
  }
  std::unique_ptr<HidDevice> Open(const std::string& path) override {
    attempts.push_back(path);
    for (const Entry& entry : entries_) {
      if (entry.path == path && entry.opens) {
        return std::make_unique<NullDevice>();
      }
    }
    return nullptr;
  }

  std::vector<std::string> attempts;

 private:
  struct NullDevice : HidDevice {
    std::size_t InputReportLength() const override { return 65; }
    std::size_t OutputReportLength() const override { return 9; }
    int Write(std::span<const std::uint8_t> report) override {
      return static_cast<int>(report.size());
    }
    int Read(std::span<std::uint8_t>, int) override { return 0; }
  };
  std::vector<Entry> entries_;
};

TEST(FindMeterTest, RefusingDevicesArePassedOverAndTheFirstThatOpensWins) {
  ScriptedBackend backend({{"kbd", false}, {"meter-1", true}, {"meter-2", true}});
  USB usb(backend);
  EXPECT_TRUE(usb.FindMeter());
  EXPECT_THAT(backend.attempts, ElementsAre("kbd", "meter-1"));
  EXPECT_EQ(usb.InputReportLength(), 65u);
  EXPECT_EQ(usb.OutputReportLength(), 9u);
}

TEST(FindMeterTest, ReportLengthsNeverExceedTheBuffers) {
  struct HugeDevice : HidDevice {
    std::size_t InputReportLength() const override { return 4096; }
    std::size_t OutputReportLength() const override { return 4096; }
    int Write(std::span<const std::uint8_t> report) override {
      written = report.size();
      return static_cast<int>(report.size());
    }
    int Read(std::span<std::uint8_t> data, int) override {
      requested = data.size();
      return static_cast<int>(data.size());
    }
    std::size_t written = 0;
    std::size_t requested = 0;
  };
  struct HugeBackend : HidBackend {
    std::vector<HidDeviceInfo> Enumerate(std::uint16_t v, std::uint16_t p) override {
      return {HidDeviceInfo{"huge", v, p, ""}};
    }
    std::unique_ptr<HidDevice> Open(const std::string&) override {
      auto device = std::make_unique<HugeDevice>();
      opened = device.get();
      return device;
    }
    HugeDevice* opened = nullptr;
  } backend;
  USB usb(backend);
  usb.ExchangeReports();
  ASSERT_NE(backend.opened, nullptr);
  EXPECT_EQ(backend.opened->written, kOutputReportSize);
  EXPECT_EQ(backend.opened->requested, kInputReportSize - 1);
}

}  // namespace
}  // namespace halvane
