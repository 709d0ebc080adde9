#include "link/tracing_backend.h"

#include <gtest/gtest.h>

#include <sstream>

#include "link/usb.h"
#include "sim/simulated_backend.h"
#include "sim/simulated_meter.h"

namespace halvane {
namespace {

TEST(TracingBackendTest, LogsEveryReportWrittenAndReadWithTimeAndDirection) {
  SimulatedMeter meter;
  SimulatedBackend device(meter);
  device.SetWait([](int) {});
  std::ostringstream trace;
  std::chrono::milliseconds now{1250};
  TracingBackend tracing(device, trace, [&] { return now; });
  USB usb(tracing);

  usb.OutputReport()[1] = 0x42;
  usb.ExchangeReports();
  device.SetSilent(true);
  now = std::chrono::milliseconds{3400};
  usb.ExchangeReports();

  std::istringstream lines(trace.str());
  std::string write_line, read_line, second_write, timeout_line;
  std::getline(lines, write_line);
  std::getline(lines, read_line);
  std::getline(lines, second_write);
  std::getline(lines, timeout_line);
  EXPECT_EQ(write_line.rfind("1250 W 00 42 00 ", 0), 0u) << write_line;
  EXPECT_EQ(write_line.size(), std::string("1250 W").size() + 3 * kOutputReportSize);
  EXPECT_EQ(read_line.rfind("1250 R ", 0), 0u) << read_line;
  EXPECT_EQ(read_line.size(), std::string("1250 R").size() + 3 * (kInputReportSize - 1));
  EXPECT_EQ(timeout_line, "3400 R timeout");
}

}  // namespace
}  // namespace halvane
