#include <gtest/gtest.h>

#include <vector>

#include "sim/simulated_meter.h"
#include "sim_test_support.h"

namespace halvane {
namespace {

TEST(SimulatedMeter, LogsEveryReportAndAnswersEachWithOneReply) {
  SimulatedMeter meter;
  const std::vector<std::uint8_t> unknown_setting{0x00, 0x41, 0x17};
  const std::vector<std::uint8_t> too_short{0x00};
  meter.Receive(kLivePoll);
  meter.Receive(unknown_setting);
  meter.Receive(too_short);
  EXPECT_EQ(meter.ReceivedReports(),
            (std::vector<std::vector<std::uint8_t>>{
                {kLivePoll.begin(), kLivePoll.end()}, unknown_setting, too_short}));

  EXPECT_EQ(meter.TakeReply().value()[18], 130);
  EXPECT_EQ(meter.TakeReply(), InputReportBuffer{});
  EXPECT_EQ(meter.TakeReply(), InputReportBuffer{});
  EXPECT_FALSE(meter.TakeReply().has_value());

  meter.ClearReceivedReports();
  meter.Receive(kLivePoll);
  meter.DiscardReplies();
  EXPECT_EQ(meter.ReceivedReports().size(), 1u);
  EXPECT_FALSE(meter.TakeReply().has_value());
}

}  // namespace
}  // namespace halvane
