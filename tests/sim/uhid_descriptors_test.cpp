// What the kernel's HID core is told about the devices on uhid, read back by the link's parser.

#include <gtest/gtest.h>

#include "link/report_descriptor.h"
#include "sim/uhid/report_descriptors.h"

namespace halvane {
namespace {

TEST(UhidDescriptorsTest, TheMetersReportsUnnumberedOrNumberedAndAKeyboardsPage) {
  EXPECT_EQ(ParseReportDescriptor(MeterReportDescriptor(false)),
            (ReportLayout{161, 17, false, 0xFF00}));
  EXPECT_EQ(ParseReportDescriptor(MeterReportDescriptor(true)),
            (ReportLayout{161, 17, true, 0xFF00}));
  EXPECT_EQ(ParseReportDescriptor(KeyboardReportDescriptor()), (ReportLayout{9, 0, false, 0x0001}));
}

}  // namespace
}  // namespace halvane
