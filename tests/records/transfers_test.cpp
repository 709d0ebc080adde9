// Lengths a meter should never report are refused before any page is read. The page transfers
// themselves are checked through the data logger window's transcripts.

#include "records/transfers.h"

#include <gtest/gtest.h>

#include "sim/simulated_backend.h"
#include "sim/simulated_meter.h"

namespace halvane {
namespace {

TEST(Transfers, LengthsBeyondWhatTheMeterHoldsAreRefusedBeforeAnyPageIsRead) {
  SimulatedMeter meter;
  SimulatedBackend backend(meter);
  USB usb(backend);
  meter.KeepReceivedReports();
  const SdDownload huge = DownloadSdSet(usb, {1, kMaxSdSetLength + 1});
  EXPECT_NE(huge.error.find("Nothing was downloaded"), std::string::npos);
  EXPECT_TRUE(meter.ReceivedReports().empty());

  meter.State().flash_image.assign(kLoggerCapacity + 1, 0);
  EXPECT_NE(QueryLoggerSize(usb).error.find("Nothing was read"), std::string::npos);
  meter.State().flash_image.clear();
  EXPECT_EQ(QueryLoggerSize(usb).error, kNoFlashData);
}

}  // namespace
}  // namespace halvane
