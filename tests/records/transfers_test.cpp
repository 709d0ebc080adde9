// The page transfers over the simulated meter: how many pages a length takes, and the lengths
// that are refused before anything is read.

#include <gtest/gtest.h>

#include "records/transfers.h"
#include "sim/simulated_backend.h"
#include "sim/simulated_meter.h"

namespace halvane {
namespace {

class TransfersTest : public ::testing::Test {
 protected:
  TransfersTest() : backend(meter), usb(backend) {
    backend.SetWait([](int) {});
  }

  std::size_t ReportsSent() const { return meter.ReceivedReports().size(); }

  SimulatedMeter meter;
  SimulatedBackend backend;
  USB usb;
};

TEST_F(TransfersTest, ASetOfExactlyKPagesTakesKReadsAndOneByteMoreTakesAnother) {
  for (const std::uint32_t length : {320U, 321U}) {
    std::string set(length, 'x');
    set[0] = 0;
    set[1] = 0;
    set[2] = static_cast<char>(length >> 8);
    set[3] = static_cast<char>(length & 0xFF);
    meter.State().sd_entries = {std::nullopt, set};
    const SdScan scan = ScanSdCard(usb);
    ASSERT_EQ(scan.table.SdSetCount(), 1U);
    EXPECT_EQ(scan.table.sets[0].position, 2);
    EXPECT_EQ(scan.table.sets[0].length, length);
    std::uint64_t last_page = 0;
    const SdDownload download =
        DownloadSdSet(usb, scan.table.sets[0], [&](std::uint64_t page, std::uint64_t pages) {
          EXPECT_EQ(page, last_page + 1);
          last_page = page;
          EXPECT_EQ(pages, length == 320 ? 2U : 3U);
        });
    EXPECT_TRUE(download.error.empty());
    EXPECT_EQ(download.set_text.size(), PageCount(length) * kPageBytes);
    EXPECT_EQ(download.set_text.substr(0, length), set);
  }
}

TEST_F(TransfersTest, LengthsBeyondWhatTheMeterHoldsAreRefusedBeforeAnyPageIsRead) {
  const std::size_t before = ReportsSent();
  const SdDownload huge = DownloadSdSet(usb, {1, kMaxSdSetLength + 1});
  EXPECT_NE(huge.error.find("Nothing was downloaded"), std::string::npos);
  EXPECT_EQ(ReportsSent(), before);

  meter.State().flash_image.assign(kLoggerCapacity + 1, 0);
  const LoggerSize size = QueryLoggerSize(usb);
  EXPECT_NE(size.error.find("Nothing was read"), std::string::npos);
  meter.State().flash_image.clear();
  EXPECT_EQ(QueryLoggerSize(usb).error, kNoFlashData);
}

}  // namespace
}  // namespace halvane
