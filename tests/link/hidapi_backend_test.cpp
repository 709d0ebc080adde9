// The hidapi backend and the link together, over a fake of the hid_* functions.

#include "link/hidapi_backend.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "fake_hidapi.h"
#include "link/tracing_backend.h"
#include "link/usb.h"

namespace halvane {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::Gt;
using ::testing::Le;

using Bytes = std::vector<std::uint8_t>;

constexpr ReportLayout kUnnumbered{161, 17, false, 0xFF00};

// A live reply's data: 160 bytes counting up from `first`.
Bytes Reply(std::uint8_t first) {
  Bytes data(160);
  for (std::size_t i = 0; i < data.size(); ++i) {
    data[i] = static_cast<std::uint8_t>(first + i);
  }
  return data;
}

class HidapiLinkTest : public ::testing::Test {
 protected:
  HidapiLinkTest() { ResetFake(); }

  // The link over the backend, with every device's layout taken from `layouts` by path.
  void Start(std::map<std::string, ReportLayout> device_layouts = {}) {
    layouts = std::move(device_layouts);
    backend = std::make_unique<HidapiBackend>([this](const std::string& path) {
      const auto found = layouts.find(path);
      return found == layouts.end() ? std::nullopt : std::optional(found->second);
    });
    tracing = std::make_unique<TracingBackend>(*backend, trace,
                                               [] { return std::chrono::milliseconds(0); });
    usb = std::make_unique<USB>(*tracing);
    usb->SetTrace(tracing.get());
  }
  void Poll() {
    usb->OutputReport()[1] = 0x42;
    usb->ExchangeReports();
  }
  Bytes CopiedData() const {
    return {usb->InputReportCopy().begin() + 1, usb->InputReportCopy().end()};
  }

  std::map<std::string, ReportLayout> layouts;
  std::unique_ptr<HidapiBackend> backend;
  std::ostringstream trace;
  std::unique_ptr<TracingBackend> tracing;
  std::unique_ptr<USB> usb;
};

TEST_F(HidapiLinkTest, SearchPassesOverAKeyboardPageAndALockedDeviceAndOpensTheMeter) {
  Fake().devices = {{"/dev/hidraw1", 0x0001, 1, L"Gadget"},
                    {"/dev/hidraw2", 0xFF00, 0, L"Gadget", EACCES},
                    {"/dev/hidraw3", 0, 0, L"Sound Level Meter"}};
  Fake().reads = {{160, Reply(1)}};
  Start({{"/dev/hidraw3", kUnnumbered}});
  Poll();
  EXPECT_TRUE(usb->MeterConnected());
  EXPECT_THAT(Fake().opened, ElementsAre("/dev/hidraw3"));
  ASSERT_EQ(Fake().writes.size(), 1u);
  EXPECT_EQ(Fake().writes[0].size(), 17u);
  EXPECT_EQ(CopiedData(), Reply(1));
  EXPECT_EQ(trace.str().substr(0, trace.str().find("\n0 W")),
            "0 S search 0483:5750: 3 devices with these IDs\n"
            "0 S   /dev/hidraw1 \"Gadget\" interface 1, usage page 0x0001: passed over: not a "
            "vendor-defined usage page\n"
            "0 S   /dev/hidraw2 \"Gadget\" interface 0, usage page 0xFF00: passed over: cannot "
            "open (Permission denied)\n"
            "0 S   /dev/hidraw3 \"Sound Level Meter\" interface 0, usage page 0xFF00: opened");
}

TEST_F(HidapiLinkTest, ReadsOfDataNothingOrAnErrorAndInterruptedReadsThatGoOn) {
  Fake().devices = {{"/dev/hidraw0"}};
  Fake().reads = {{160, Reply(1)}, {-1, {}, EINTR}, {-1, {}, EINTR}, {160, Reply(7)},
                  {0, {}},         {160, Reply(9)}, {-1, {}, EIO}};
  Start();
  Poll();
  Poll();
  EXPECT_TRUE(usb->MeterConnected()) << "a signal during the wait does not drop the link";
  EXPECT_EQ(CopiedData(), Reply(7));
  EXPECT_THAT(Fake().read_timeouts, ElementsAre(2000, 2000, Le(2000), Le(2000)));
  EXPECT_THAT(Fake().read_timeouts, Each(Gt(0)));
  Poll();
  EXPECT_FALSE(usb->MeterConnected()) << "a time-out drops the link";
  Poll();
  Poll();
  EXPECT_FALSE(usb->MeterConnected()) << "an error drops the link";
  EXPECT_EQ(CopiedData(), Reply(9));
  EXPECT_EQ(Fake().open_handles, 0);
  EXPECT_EQ(Fake().opened.size(), 2u);
}

TEST_F(HidapiLinkTest, ReportLengthsComeFromTheDeviceAndNumberedReportsKeepTheDataAtByteOne) {
  Fake().devices = {{"/dev/hidraw0"}, {"/dev/hidraw1"}};
  Bytes numbered{0x05};
  const Bytes data = Reply(3);
  numbered.insert(numbered.end(), data.begin(), data.end());
  Fake().reads = {{161, numbered}};
  // A shorter output report, numbered input reports; the second device has no layout at all.
  Start({{"/dev/hidraw0", {161, 9, true, 0xFF00}}});
  Poll();
  EXPECT_EQ(usb->OutputReportLength(), 9u);
  EXPECT_EQ(Fake().writes.at(0).size(), 9u);
  EXPECT_EQ(Fake().read_lengths.at(0), 161u);
  EXPECT_EQ(usb->InputReportCopy()[0], 0x05);
  EXPECT_EQ(CopiedData(), data);

  Fake().devices.erase(Fake().devices.begin());
  Poll();  // the time-out drops the first device
  Fake().reads = {{160, Reply(4)}};
  Poll();
  EXPECT_EQ(Fake().opened.back(), "/dev/hidraw1");
  EXPECT_EQ(Fake().writes.back().size(), 17u) << "the meter's own lengths when unknown";
  EXPECT_EQ(Fake().read_lengths.back(), 160u);
  EXPECT_EQ(CopiedData(), Reply(4));
}

#ifndef _WIN32
TEST(HidrawReportLayoutTest, ReadsTheNodesDescriptorFromTheClassFolder) {
  char folder_template[] = "/tmp/halvane-sysfs-XXXXXX";
  ASSERT_NE(mkdtemp(folder_template), nullptr);
  const std::filesystem::path folder = folder_template;
  std::filesystem::create_directories(folder / "hidraw4" / "device");
  const Bytes descriptor{0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08,
                         0x95, 0x40, 0x81, 0x02, 0x95, 0x08, 0x91, 0x02, 0xC0};
  std::ofstream(folder / "hidraw4" / "device" / "report_descriptor", std::ios::binary)
      .write(reinterpret_cast<const char*>(descriptor.data()),
             static_cast<std::streamsize>(descriptor.size()));

  const std::optional<ReportLayout> layout = HidrawReportLayout("/dev/hidraw4", folder);
  ASSERT_TRUE(layout.has_value());
  EXPECT_EQ(layout->input_length, 65u);
  EXPECT_EQ(layout->output_length, 9u);
  EXPECT_EQ(layout->usage_page, 0xFF00);
  EXPECT_FALSE(HidrawReportLayout("/dev/hidraw5", folder).has_value());
  EXPECT_FALSE(HidrawReportLayout("/dev/usb/hiddev0", folder).has_value());
  std::filesystem::remove_all(folder);
}
#endif

}  // namespace
}  // namespace halvane
