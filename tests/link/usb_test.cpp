#include "link/usb.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "link/tracing_backend.h"
#include "sim/simulated_backend.h"
#include "sim/simulated_meter.h"

namespace halvane {
namespace {

using ::testing::ElementsAre;

class LinkTest : public ::testing::Test {
 protected:
  LinkTest() : backend(meter), tracing(backend, trace, [this] { return now; }), usb(tracing) {
    usb.SetTrace(&tracing);
    meter.KeepReceivedReports();
    backend.SetWait([this](int ms) { waited_ms.push_back(ms); });
    usb.SetNameLabelSink([this](std::string_view caption) { name_label = caption; });
  }

  void Poll() {
    usb.OutputReport()[1] = 0x42;
    usb.ExchangeReports();
  }

  // The trace's search lines ("S"), or all its other lines.
  std::string TraceLines(bool searches = true) const {
    std::istringstream lines(trace.str());
    std::string found;
    for (std::string line; std::getline(lines, line);) {
      if ((line.find(" S ") != std::string::npos) == searches) {
        found += line + '\n';
      }
    }
    return found;
  }

  SimulatedMeter meter;
  SimulatedBackend backend;
  std::ostringstream trace;
  std::chrono::milliseconds now{0};
  TracingBackend tracing;
  USB usb;
  std::vector<int> waited_ms;
  std::string name_label;
};

TEST_F(LinkTest, AbsentMeterCostsOneSearchPerExchangeAndNothingIsWritten) {
  backend.Unplug();
  Poll();
  Poll();
  EXPECT_EQ(backend.SearchCount(), 2);
  EXPECT_FALSE(usb.MeterConnected());
  EXPECT_EQ(name_label, " No Connection");
  EXPECT_TRUE(meter.ReceivedReports().empty());
  EXPECT_TRUE(waited_ms.empty());
}

TEST_F(LinkTest, ForeignDevicesWithTheMetersIdsArePassedOverOrTriedLastAndTheSearchEndsOnTheMeter) {
  backend.AddForeignDevice(ForeignDevice::KeyboardPage);
  backend.AddForeignDevice(ForeignDevice::RefusesToOpen);
  backend.AddForeignDevice(ForeignDevice::NeverAnswers);
  Poll();
  now = std::chrono::milliseconds(2000);
  Poll();
  Poll();
  EXPECT_TRUE(usb.MeterConnected());
  EXPECT_EQ(backend.ForeignReports(), 1) << "only the first poll went to the silent gadget";
  EXPECT_THAT(waited_ms, ElementsAre(2000));
  EXPECT_EQ(meter.ReceivedReports().size(), 2u);
  EXPECT_EQ(name_label, " Simulated Sound Level Meter");
  EXPECT_EQ(TraceLines(),
            "0 S search 0483:5750: 4 devices with these IDs\n"
            "0 S   sim:keyboard-1 \"Simulated Gadget\" interface 1, usage page 0x0001: passed "
            "over: not a vendor-defined usage page\n"
            "0 S   sim:in-use-2 \"Simulated Device In Use\" interface 0, usage page 0xFF00: passed "
            "over: cannot open (Permission denied)\n"
            "0 S   sim:silent-3 \"Simulated Gadget\" interface 0, usage page 0xFF00: opened\n"
            "0 S sim:silent-3 did not answer its first report; later searches try it last\n"
            "2000 S search 0483:5750: 4 devices with these IDs\n"
            "2000 S   sim:keyboard-1 \"Simulated Gadget\" interface 1, usage page 0x0001: passed "
            "over: not a vendor-defined usage page\n"
            "2000 S   sim:in-use-2 \"Simulated Device In Use\" interface 0, usage page 0xFF00: "
            "passed over: cannot open (Permission denied)\n"
            "2000 S   sim:meter \"Simulated Sound Level Meter\" interface 0, usage page 0xFF00: "
            "opened\n");
}

TEST_F(LinkTest, ARepeatedSearchIsTracedAtMostOnceASecondAndAChangedOneAtOnce) {
  backend.Unplug();
  for (const int ms : {0, 400, 999, 1000, 1900, 2000}) {
    now = std::chrono::milliseconds(ms);
    if (ms == 2000) {
      backend.Replug();
    }
    Poll();
  }
  EXPECT_EQ(TraceLines(),
            "0 S search 0483:5750: 0 devices with these IDs, no meter\n"
            "1000 S search 0483:5750: 0 devices with these IDs, no meter\n"
            "2000 S search 0483:5750: 1 device with these IDs\n"
            "2000 S   sim:meter \"Simulated Sound Level Meter\" interface 0, usage page 0xFF00: "
            "opened\n");
}

TEST_F(LinkTest, SilentMeterCostsOneBoundedReadDropsTheLinkAndKeepsTheLastGoodReply) {
  Poll();
  const InputReportBuffer last_good = usb.InputReportCopy();
  backend.SetSilent(true);
  Poll();
  EXPECT_THAT(waited_ms, ElementsAre(2000));
  EXPECT_FALSE(usb.MeterConnected());
  EXPECT_EQ(usb.InputReportCopy(), last_good);
  // Every byte of each report, after the time and the direction.
  std::istringstream traced(TraceLines(false));
  std::vector<std::string> lines;
  for (std::string line; std::getline(traced, line);) {
    lines.push_back(line);
  }
  ASSERT_EQ(lines.size(), 4U);
  EXPECT_EQ(lines[0].rfind("0 W 00 42 00 ", 0), 0U) << lines[0];
  EXPECT_EQ(lines[0].size(), std::string("0 W").size() + 3 * kOutputReportSize);
  EXPECT_EQ(lines[1].size(), std::string("0 R").size() + 3 * (kInputReportSize - 1));
  EXPECT_EQ(lines[3], "0 R timeout");

  backend.SetSilent(false);
  Poll();
  EXPECT_TRUE(usb.MeterConnected());
  EXPECT_EQ(backend.SearchCount(), 2);
  EXPECT_EQ(backend.OpenCount(), 2) << "the device is opened afresh";
}

TEST_F(LinkTest, UnplugFailsTheNextReadAtOnceAndReplugRecoversOnTheFollowingExchange) {
  Poll();
  backend.Unplug();
  Poll();
  EXPECT_FALSE(usb.MeterConnected());
  EXPECT_TRUE(waited_ms.empty());
  backend.Replug();
  meter.ClearReceivedReports();
  Poll();
  EXPECT_TRUE(usb.MeterConnected());
  EXPECT_EQ(meter.ReceivedReports().size(), 1u);
}

TEST_F(LinkTest, SendAndReceiveWhileDisconnectedOnlySearch) {
  usb.SendReport();
  EXPECT_TRUE(usb.MeterConnected());
  EXPECT_TRUE(meter.ReceivedReports().empty()) << "nothing is sent in the call that searched";
  backend.SetSilent(true);
  usb.ReceiveReport();
  backend.SetSilent(false);
  usb.ReceiveReport();
  EXPECT_TRUE(usb.MeterConnected());
  EXPECT_THAT(waited_ms, ElementsAre(2000)) << "the searching call reads nothing";
}

TEST_F(LinkTest, BytesACommandDoesNotSetGoOutAsTheLastCommandLeftThemAndShortRepliesToo) {
  OutputReportBuffer& report = usb.OutputReport();
  report = {0x00, 0x41, 0x12, 0x01, 0x02, 0x03};
  usb.ExchangeReports();
  report[2] = 0x09;
  const InputReportBuffer full = usb.InputReportCopy();
  backend.SetShortReports(10);
  usb.ExchangeReports();
  const std::vector<std::uint8_t>& second = meter.ReceivedReports()[1];
  EXPECT_THAT(std::vector<std::uint8_t>(second.begin(), second.begin() + 6),
              ElementsAre(0x00, 0x41, 0x09, 0x01, 0x02, 0x03));
  EXPECT_TRUE(std::equal(full.begin() + 11, full.end(), usb.InputReportCopy().begin() + 11));
}

TEST_F(LinkTest, BareReadWithoutAMeterDropsTheLinkWithoutSearching) {
  usb.ReadInputReport();
  EXPECT_FALSE(usb.MeterConnected());
  EXPECT_EQ(backend.SearchCount(), 0);
}

// A device whose report lengths exceed the buffers never makes the link overrun them.
TEST(FindMeterTest, ReportLengthsNeverExceedTheBuffers) {
  struct HugeDevice : HidDevice {
    std::size_t InputReportLength() const override { return 4096; }
    std::size_t OutputReportLength() const override { return 4096; }
    int Write(std::span<const std::uint8_t> bytes) override {
      written = bytes.size();
      return 1;
    }
    int Read(std::span<std::uint8_t> data, int) override {
      requested = data.size();
      return 1;
    }
    std::size_t written = 0;
    std::size_t requested = 0;
  };
  struct HugeBackend : HidBackend {
    std::vector<HidDeviceInfo> Enumerate(std::uint16_t v, std::uint16_t p) override {
      return {HidDeviceInfo{"huge", v, p, ""}};
    }
    std::unique_ptr<HidDevice> Open(const std::string&) override {
      return std::unique_ptr<HidDevice>(opened = new HugeDevice);
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
