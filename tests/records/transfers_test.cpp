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
    meter.KeepReceivedReports();
    backend.SetWait([](int) {});
  }

  std::size_t ReportsSent() const { return meter.ReceivedReports().size(); }

  SimulatedMeter meter;
  SimulatedBackend backend;
  USB usb;
};

// A set of `length` + 2 bytes whose length field says `length`; every byte value occurs.
std::string RawSet(std::uint32_t length) {
  std::string text(length + 2, '\0');
  for (std::size_t i = 4; i < text.size(); ++i) {
    text[i] = static_cast<char>(i * 7 % 256);
  }
  for (std::size_t byte = 0; byte < 4; ++byte) {
    text[byte] = static_cast<char>(length >> (24 - 8 * byte));
  }
  return text;
}

// The download and the simulated meter agree on the page count: the meter has no page left.
TEST_F(TransfersTest, ASetOfExactlyKPagesTakesKReadsAndOneByteMoreTakesAnother) {
  for (const std::uint32_t length : {320U, 321U}) {
    const std::string set = RawSet(length);
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
          return true;
        });
    EXPECT_TRUE(download.error.empty());
    std::string padded = set;
    padded.resize(PageCount(length) * kPageBytes, '\0');
    EXPECT_EQ(download.set_text, padded);
    backend.SetIdleReads(IdleReads::TimeOut);
    usb.ReceiveReport();
    EXPECT_FALSE(usb.MeterConnected()) << "a page more than the download read";
    backend.SetIdleReads(IdleReads::RepeatLast);
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
