// The hidapi backend and the link together, over a fake of the hid_* functions linked in
// instead of libhidapi.

#include "link/hidapi_backend.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <hidapi.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <fstream>
#include <sstream>
#include <utility>

#include "link/tracing_backend.h"
#include "link/usb.h"

namespace {

struct FakeDevice {
  std::string path;
  unsigned short usage_page = 0xFF00;
  int open_errno = 0;  // not 0: hid_open_path fails with this errno
};
// What one hid_read_timeout returns; the bytes count up from `first`.
struct FakeRead {
  int result;
  int error = 0;
  std::uint8_t first = 0;
};

std::vector<FakeDevice> devices;
std::deque<FakeRead> reads;  // when empty, reads time out
std::vector<std::size_t> written, read_lengths;
std::vector<int> read_timeouts;
std::wstring last_error;

}  // namespace

struct hid_device_ {};

extern "C" {
int hid_init() {
  return 0;
}
int hid_exit() {
  return 0;
}
hid_device_info* hid_enumerate(unsigned short vendor_id, unsigned short product_id) {
  hid_device_info* list = nullptr;
  for (auto device = devices.rbegin(); device != devices.rend(); ++device) {
    auto* info = new hid_device_info{};
    info->path = strdup(device->path.c_str());
    info->next = std::exchange(list, info);
    info->vendor_id = vendor_id;
    info->product_id = product_id;
    info->product_string = const_cast<wchar_t*>(L"Meter");
    info->usage_page = device->usage_page;
  }
  return list;
}
void hid_free_enumeration(hid_device_info* list) {
  while (list != nullptr) {
    std::free(list->path);
    delete std::exchange(list, list->next);
  }
}
hid_device* hid_open_path(const char* path) {
  const auto device = std::find_if(devices.begin(), devices.end(),
                                   [&](const FakeDevice& each) { return each.path == path; });
  errno = device == devices.end() ? ENOENT : device->open_errno;
  if (errno != 0) {
    const std::string reason = std::strerror(errno);
    last_error.assign(reason.begin(), reason.end());
    return nullptr;
  }
  return new hid_device;
}
void hid_close(hid_device* device) {
  delete device;
}
int hid_write(hid_device*, const unsigned char*, size_t length) {
  written.push_back(length);
  return static_cast<int>(length);
}
int hid_read_timeout(hid_device*, unsigned char* data, size_t length, int milliseconds) {
  read_lengths.push_back(length);
  read_timeouts.push_back(milliseconds);
  const FakeRead read = reads.empty() ? FakeRead{0} : reads.front();
  if (!reads.empty()) {
    reads.pop_front();
  }
  for (int i = 0; i < read.result; ++i) {
    data[i] = static_cast<unsigned char>(read.first + i);
  }
  errno = read.error;
  return read.result;
}
const wchar_t* hid_error(hid_device*) {
  return last_error.c_str();
}
}  // extern "C"

namespace halvane {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Le;

class HidapiLinkTest : public ::testing::Test {
 protected:
  // The link over the backend, the layout of "/dev/hidraw0" being `first_layout`.
  void Start(std::vector<FakeDevice> present, std::optional<ReportLayout> first_layout = {}) {
    devices = std::move(present);
    reads.clear();
    written.clear();
    read_lengths.clear();
    read_timeouts.clear();
    backend = std::make_unique<HidapiBackend>([=](const std::string& path) {
      return path == "/dev/hidraw0" ? first_layout : std::nullopt;
    });
    tracing = std::make_unique<TracingBackend>(*backend, trace);
    usb = std::make_unique<USB>(*tracing);
    usb->SetTrace(tracing.get());
  }
  // Polls once; the first data byte of the copy when connected after it, else -1.
  int Poll() {
    usb->ExchangeReports();
    return usb->MeterConnected() ? usb->InputReportCopy()[1] : -1;
  }

  std::unique_ptr<HidapiBackend> backend;
  std::ostringstream trace;
  std::unique_ptr<TracingBackend> tracing;
  std::unique_ptr<USB> usb;
};

TEST_F(HidapiLinkTest, SearchPassesOverAKeyboardPageAndALockedDeviceAndOpensTheMeter) {
  Start({{"/dev/hidraw1", 0x0001}, {"/dev/hidraw2", 0xFF00, EACCES}, {"/dev/hidraw0", 0}},
        ReportLayout{161, 17, false, 0xFF00});
  reads = {{160, 0, 1}};
  EXPECT_EQ(Poll(), 1);
  EXPECT_THAT(written, ElementsAre(17u));
  EXPECT_THAT(read_lengths, ElementsAre(160u));
  EXPECT_THAT(trace.str(),
              HasSubstr("hidraw1 \"Meter\" interface 0, usage page 0x0001: passed over"));
  EXPECT_THAT(trace.str(), HasSubstr("hidraw2 \"Meter\" interface 0, usage page 0xFF00: passed "
                                     "over: cannot open (Permission denied)"));
  EXPECT_THAT(trace.str(), HasSubstr("hidraw0 \"Meter\" interface 0, usage page 0xFF00: opened"))
      << "the usage page hidapi left unknown comes from the descriptor";
  EXPECT_FALSE(usb->AccessRefused()) << "a meter that opens is all that counts";
}

TEST_F(HidapiLinkTest, ANodeTheUserMayNotOpenIsToldApartFromOtherFailures) {
  for (const int error : {EACCES, EPERM, EBUSY}) {
    Start({{"/dev/hidraw0", 0xFF00, error}});
    EXPECT_EQ(Poll(), -1);
    EXPECT_EQ(usb->AccessRefused(), error != EBUSY) << std::strerror(error);
  }
}

TEST_F(HidapiLinkTest, ReadsOfDataNothingOrAnErrorAndInterruptedReadsThatGoOn) {
  Start({{"/dev/hidraw0"}});
  reads = {{160, 0, 1}, {-1, EINTR}, {-1, EINTR}, {160, 0, 7}, {0}, {160, 0, 9}, {-1, EIO}};
  EXPECT_EQ(Poll(), 1);
  EXPECT_EQ(Poll(), 7) << "a signal during the wait does not drop the link";
  EXPECT_THAT(read_timeouts, ElementsAre(2000, 2000, Le(2000), Le(2000)));
  EXPECT_EQ(Poll(), -1) << "a time-out drops the link";
  EXPECT_EQ(Poll(), 9);
  EXPECT_EQ(Poll(), -1) << "an error drops the link";
  EXPECT_EQ(usb->InputReportCopy()[1], 9);
}

TEST_F(HidapiLinkTest, LengthsComeFromTheDeviceAndNumberedReportsKeepTheDataAtByteOne) {
  Start({{"/dev/hidraw0"}, {"/dev/hidraw1"}}, ReportLayout{161, 9, true, 0xFF00});
  reads = {{161, 0, 0x05}};
  EXPECT_EQ(Poll(), 0x06);
  EXPECT_EQ(usb->InputReportCopy()[0], 0x05) << "the report ID";
  devices.erase(devices.begin());
  Poll();
  reads = {{160, 0, 4}};
  EXPECT_EQ(Poll(), 4);
  EXPECT_THAT(written, ElementsAre(9u, 9u, 17u)) << "the meter's own lengths when unknown";
  EXPECT_THAT(read_lengths, ElementsAre(161u, 161u, 160u));
}

TEST(HidrawReportLayoutTest, ReadsTheNodesDescriptorFromTheClassFolder) {
  char folder_template[] = "/tmp/halvane-sysfs-XXXXXX";
  ASSERT_NE(mkdtemp(folder_template), nullptr);
  const std::filesystem::path folder = folder_template;
  std::filesystem::create_directories(folder / "hidraw4" / "device");
  const char descriptor[] = "\x06\x00\xFF\xA1\x01\x75\x08\x95\x40\x81\x02\x95\x08\x91\x02\xC0";
  std::ofstream(folder / "hidraw4" / "device" / "report_descriptor", std::ios::binary)
      .write(descriptor, sizeof descriptor - 1);
  EXPECT_EQ(HidrawReportLayout("/dev/hidraw4", folder), (ReportLayout{65, 9, false, 0xFF00}));
  EXPECT_FALSE(HidrawReportLayout("/dev/hidraw5", folder).has_value());
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace halvane
