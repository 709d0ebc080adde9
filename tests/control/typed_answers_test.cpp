#include <gtest/gtest.h>

#include <cmath>

#include "control/meter_commands.h"
#include "control/time_answer.h"
#include "control/typed_number.h"
#include "live/panel_layout.h"

namespace halvane {
namespace {

TEST(ReadNumberTest, IgnoresBlanksStopsAtTheFirstStrayCharacterAndDefaultsToZero) {
  EXPECT_EQ(ReadNumber("90"), 90);
  EXPECT_EQ(ReadNumber(" 1 2 "), 12);
  EXPECT_EQ(ReadNumber("85dB"), 85);
  EXPECT_EQ(ReadNumber("7.5x"), 7.5);
  EXPECT_EQ(ReadNumber("-3"), -3);
  EXPECT_EQ(ReadNumber("abc"), 0);
  EXPECT_EQ(ReadNumber(""), 0);
  EXPECT_EQ(ReadNumber("."), 0);
  EXPECT_EQ(ReadNumber("1e2"), 100);
  EXPECT_EQ(ReadNumber("3e"), 3);
  EXPECT_TRUE(std::isinf(ReadNumber("9e999"))) << "too large stays too large, never wraps";
}

TEST(ReadNumberTest, WholeNumbersNeedTheWholeAnswerAndHalvesRoundToEven) {
  EXPECT_EQ(ReadWholeNumber(" 2 "), 2);
  EXPECT_FALSE(ReadWholeNumber("1 or 2")) << "accepting the default text erases nothing";
  EXPECT_FALSE(ReadWholeNumber("2x"));
  EXPECT_FALSE(ReadWholeNumber(""));
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
}

TEST(TimeAnswerTest, ClampsEachFieldAndReadsOnlyTwoCharactersOfSeconds) {
  EXPECT_EQ(ParseTimeAnswer("25:75:99"), (TimeFields{23, 59, 59}));
  EXPECT_EQ(ParseTimeAnswer("00:00:123"), (TimeFields{0, 0, 12}));
  EXPECT_EQ(ParseTimeAnswer("7:5:3"), (TimeFields{7, 5, 3}));
  EXPECT_EQ(ParseTimeAnswer("24:00:00"), (TimeFields{23, 0, 0}));
  EXPECT_EQ(ParseTimeAnswer(" 1 : 2 : 3"), (TimeFields{1, 2, 3}));
  EXPECT_EQ(ParseTimeAnswer("1.5:2.5::"), (TimeFields{2, 2, 0}));
  EXPECT_EQ(ParseTimeAnswer("0:0:0"), (TimeFields{0, 0, 0}));
}

TEST(TimeAnswerTest, MissingColonsAndMinusSignsBreakTheFormat) {
  EXPECT_FALSE(ParseTimeAnswer("1:30"));
  EXPECT_FALSE(ParseTimeAnswer("130"));
  EXPECT_FALSE(ParseTimeAnswer("-1:00:00"));
  EXPECT_FALSE(ParseTimeAnswer("01:-5:00"));
  EXPECT_FALSE(ParseTimeAnswer("01:05:-1"));
}

TEST(TimeAnswerTest, DefaultTextHasTwoDigitsAField) {
  EXPECT_EQ(TimeDefaultText(1, 5, 0), "01:05:00");
  EXPECT_EQ(TwoDigitHex(0x0A), "0A");
}

TEST(MeterCommandsTest, KeysStepTheMainWeightingsAlongTheMeterCycle) {
  EXPECT_EQ(PressesToReach("A", "Z", kFreqEntries), 2);
  EXPECT_EQ(PressesToReach("Z", "A", kFreqEntries), 1);
  EXPECT_EQ(PressesToReach("Z", "C", kFreqEntries), 2);
  EXPECT_EQ(PressesToReach("I", "t", kTimeEntries), 3);
  EXPECT_EQ(PressesToReach("S", "F", kTimeEntries), 3);
  EXPECT_EQ(PressesToReach("", "C", kFreqEntries), 0);
}

TEST(MeterCommandsTest, CommandsWriteOnlyTheirOwnBytes) {
  OutputReportBuffer report{};
  report.fill(0xEE);
  FillCommand(report, kSettingClass, {setting::kSetPeriod, 1, 2, 3});
  FillKeyCommand(report, kFreqKey);
  EXPECT_EQ(report[0], 0x00);
  EXPECT_EQ(report[1], 0x40);
  EXPECT_EQ(report[2], 0x01);
  EXPECT_EQ(report[3], 0x00);
  EXPECT_EQ(report[4], 2);
  EXPECT_EQ(report[5], 3);
  EXPECT_EQ(report[6], 0xEE);
  EXPECT_EQ(ToPackedBcd(45), 0x45);
  EXPECT_EQ(ToPackedBcd(9), 0x09);
}

}  // namespace
}  // namespace halvane
