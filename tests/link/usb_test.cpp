#include "link/usb.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "link/tracing_backend.h"
#include "sim/simulated_backend.h"
#include "sim/simulated_meter.h"
#include "tests/file_text.h"

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

  SimulatedMeter meter{1, [] { return std::chrono::system_clock::time_point{}; }};  // traces repeat
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
  test::ExpectDataFile(trace.str(), "link/foreign_devices.trace");
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
  test::ExpectDataFile(trace.str(), "link/repeated_search.trace");
}

// A silent meter costs one bounded read; an unplugged one fails the next read at once. Either
// drops the link, keeps the last good reply, and the meter is found afresh on the next exchange.
TEST_F(LinkTest, SilentOrUnpluggedMeterDropsTheLinkAndIsFoundAgainOnTheNextExchange) {
  Poll();
  const InputReportBuffer last_good = usb.InputReportCopy();
  backend.SetSilent(true);
  Poll();
  EXPECT_THAT(waited_ms, ElementsAre(2000));
  EXPECT_FALSE(usb.MeterConnected());
  EXPECT_EQ(usb.InputReportCopy(), last_good);
  test::ExpectDataFile(trace.str(), "link/silent_meter.trace");  // every byte of each report

  backend.SetSilent(false);
  Poll();
  EXPECT_TRUE(usb.MeterConnected());
  EXPECT_EQ(backend.OpenCount(), 2) << "the device is opened afresh";
  backend.Unplug();
  Poll();
  EXPECT_FALSE(usb.MeterConnected());
  EXPECT_THAT(waited_ms, ElementsAre(2000));
  backend.Replug();
  meter.ClearReceivedReports();
  Poll();
  EXPECT_TRUE(usb.MeterConnected());
  EXPECT_EQ(meter.ReceivedReports().size(), 1u);
  EXPECT_EQ(backend.SearchCount(), 3);
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

}  // namespace
}  // namespace halvane
