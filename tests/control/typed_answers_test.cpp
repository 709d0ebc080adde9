#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "control/meter_commands.h"
#include "control/time_answer.h"

namespace halvane {
namespace {

TEST(TypedAnswersTest, TimeFieldsClampRoundHalfToEvenAndMissingColonsOrMinusSignsBreakThem) {
  using Time = std::optional<TimeFields>;
  for (const auto& [text, time] : {std::pair<const char*, Time>{"7:5:3", TimeFields{7, 5, 3}},
                                   {" 1 : 2 : 3", TimeFields{1, 2, 3}},
                                   {"1.5:2.5::", TimeFields{2, 2, 0}},
                                   {"130", std::nullopt},
                                   {"-1:00:00", std::nullopt},
                                   {"01:-5:00", std::nullopt},
                                   {"01:05:-1", std::nullopt}}) {
    EXPECT_EQ(ParseTimeAnswer(text), time) << text;
  }
}

TEST(TypedAnswersTest, CommandsWriteOnlyTheirOwnBytes) {
  OutputReportBuffer report{};
  report.fill(0xEE);
  FillCommand(report, kSettingClass, {setting::kSetPeriod, 1, 2, 3});
  FillKeyCommand(report, kFreqKey);
  EXPECT_EQ((std::vector<int>(report.begin(), report.begin() + 7)),
            (std::vector<int>{0x00, 0x40, 0x01, 0x00, 2, 3, 0xEE}));
}

}  // namespace
}  // namespace halvane
