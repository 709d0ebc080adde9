#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "control_fixture.h"

namespace halvane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using ToolbarTest = ControlFixture;

TEST_F(ToolbarTest, EachButtonFirstHidesTheListsOfTheOtherButtons) {
  panel.Lists().ComboRecMode->show();
  panel.Lists().ComboMainSubAC->show();
  panel.Lists().ComboFreq->show();
  panel.Timer1().stop();
  Click("Storage");
  EXPECT_TRUE(panel.Lists().ComboRecMode->isHidden());
  EXPECT_TRUE(panel.Lists().ComboFreq->isHidden());
  EXPECT_FALSE(panel.Lists().ComboDevice->isHidden());
  Click("Storage");
  EXPECT_FALSE(panel.Lists().ComboDevice->isHidden()) << "its own list stays";
  EXPECT_THAT(Traffic(), IsEmpty());
  EXPECT_FALSE(panel.Timer1().isActive()) << "branches that send nothing leave the poll alone";
}

TEST_F(ToolbarTest, BackLightShowsTheMetersSetting) {
  meter.State().backlight = 2;
  Click("BackLight");
  EXPECT_THAT(Traffic(), ElementsAre("R", "W 41 09 00", "R"));
  EXPECT_FALSE(panel.Lists().ComboBkLight->isHidden());
  EXPECT_EQ(panel.Lists().ComboBkLight->currentText(), "30 sec");
  EXPECT_TRUE(panel.Timer1().isActive());
}

TEST_F(ToolbarTest, FrequencyWeightShowsTheMainLetterAndRemembersTheSubSetting) {
  meter.State().sub_freq_weighting = 2;
  Click("AC");
  EXPECT_THAT(Traffic(), ElementsAre("R", "W 41 18 00", "R"));
  EXPECT_EQ(panel.Lists().ComboMainSubAC->currentText(), "Main Channel");
  EXPECT_EQ(panel.Lists().ComboFreq->currentText(), "A");
  EXPECT_EQ(controls.SubChannel().SubFreqSetting, "Z");
  Choose(panel.Lists().ComboMainSubAC, "Sub Channel");
  EXPECT_EQ(panel.Lists().ComboFreq->currentText(), "Z");
}

TEST_F(ToolbarTest, PeriodAsksUntilTheAnswerKeepsToTheFormatThenClampsAndSends) {
  meter.State().recording_period = std::chrono::hours(1) + std::chrono::minutes(5);
  dialogs.answers = {"1:30", "0:0:0", "0.4:0:0", "25:75:99"};
  Click("Period");
  const std::string ask =
      "ask: Input Sampling Time [01:05:00] Enter the Measurement Time of recording\r\n"
      " (hh:nn:ss) ";
  EXPECT_THAT(dialogs.shown,
              ElementsAre(ask, "message: Invalid, comply with the data format properly\r\n", ask,
                          "message: Invalid Measurement Time\r\n", ask,
                          "message: Invalid Measurement Time\r\n", ask));
  EXPECT_THAT(Traffic(5), ElementsAre("R", "W 41 11 00 00 00", "R", "W 41 12 17 3B 3B", "R"));
  EXPECT_FALSE(dialogs.poll_ran_during_dialog);
  EXPECT_TRUE(panel.Timer1().isActive());
}

TEST_F(ToolbarTest, IntervalReadsTwoCharactersOfSecondsAndCancelSendsNothing) {
  dialogs.answers = {"00:00:123"};
  Click("Intv");
  EXPECT_THAT(Traffic(5), ElementsAre("R", "W 41 03 00 00 00", "R", "W 41 04 00 00 0C", "R"));
  Click("Intv");
  EXPECT_THAT(Traffic(), ElementsAre("R", "W 41 03 00", "R"));
  EXPECT_EQ(dialogs.shown.back(),
            "ask: Input Sampling Time [00:00:12] Enter the Sampling TIME of recording\r\n"
            " (hh:nn:ss) ");
  EXPECT_TRUE(panel.Timer1().isActive());
}

TEST_F(ToolbarTest, EraseOnlyForAnAnswerOfExactlyOneOrTwo) {
  panel.Timer1().stop();
  for (const char* answer : {"3", "abc", "", "1 or 2"}) {
    dialogs.answers = {answer};
    Click("Erase");
  }
  EXPECT_THAT(Traffic(), IsEmpty());
  EXPECT_FALSE(panel.Timer1().isActive()) << "an abandoned erase leaves the poll alone";
  dialogs.answers = {" 2 "};
  Click("Erase");
  EXPECT_THAT(Traffic(), ElementsAre("R", "W 41 10 02", "R"));
  EXPECT_TRUE(panel.Timer1().isActive());
  EXPECT_EQ(dialogs.shown.back(),
            "ask: Erase Data [1 or 2] 1 -- to erase manually recorded data\n\r"
            "2 -- to erase automatically recorded data\n\r");
}

}  // namespace
}  // namespace halvane
