#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "control_fixture.h"

namespace halvane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using TriggerTest = ControlFixture;

TEST_F(TriggerTest, ExternalSetsTheModeHidesThePanelAndReadsOnceMore) {
  panel.Lists().PicTriggerdB->show();
  Choose(panel.Lists().ComboTrigger, "External");
  EXPECT_THAT(Traffic(), ElementsAre("R", "W 41 15 04", "R", "R"));
  EXPECT_TRUE(panel.Lists().PicTriggerdB->isHidden());
  EXPECT_TRUE(panel.Lists().ComboTrigger->isHidden());
  EXPECT_TRUE(panel.Timer1().isActive());
}

TEST_F(TriggerTest, LevelTriggerShowsTheMetersLevelAndBandAndStaysOpenWithThePollRunning) {
  meter.State().level_triggers[1] = {85, 33};
  Choose(panel.Lists().ComboTrigger, "Trigger Level2");
  EXPECT_THAT(Traffic(), ElementsAre("R", "W 41 15 03", "R", "W 41 16 00", "R", "R"));
  EXPECT_FALSE(panel.Lists().PicTriggerdB->isHidden());
  EXPECT_EQ(panel.Lists().CombodB->currentText(), "85");
  EXPECT_EQ(panel.Lists().ComboBand->currentText(), "AP");
  EXPECT_TRUE(panel.Timer1().isActive());
}

TEST_F(TriggerTest, OkSendsTheLevelAndTheBandIndex) {
  panel.Lists().PicTriggerdB->show();
  panel.Lists().CombodB->setEditText("90");
  panel.Lists().ComboBand->setEditText("1k");
  panel.Lists().CmdTriggerdBOK->click();
  EXPECT_THAT(Traffic(4), ElementsAre("R", "W 41 16 5A 13", "R"));
  EXPECT_TRUE(panel.Lists().PicTriggerdB->isHidden());

  panel.Lists().ComboBand->setEditText("1 kHz");
  panel.Lists().CmdTriggerdBOK->click();
  EXPECT_THAT(Traffic(4), ElementsAre("R", "W 41 16 5A 00", "R")) << "an unknown band is 0";
}

TEST_F(TriggerTest, ALevelThatDoesNotFitTheByteIsRefusedAndNothingIsSent) {
  panel.Lists().PicTriggerdB->show();
  for (const char* level : {"300", "-1", "255.6"}) {
    panel.Lists().CombodB->setEditText(level);
    panel.Lists().CmdTriggerdBOK->click();
  }
  EXPECT_THAT(Traffic(), IsEmpty());
  ASSERT_EQ(dialogs.shown.size(), 3u);
  EXPECT_EQ(dialogs.shown[0], "message: Invalid level: enter a whole number of dB from 0 to 255");
  EXPECT_FALSE(panel.Lists().PicTriggerdB->isHidden()) << "the panel stays for a correction";
  EXPECT_TRUE(panel.Timer1().isActive());
}

TEST_F(TriggerTest, TriggerTimeIsClampedAndZeroIsAccepted) {
  dialogs.answers = {"24:00:00"};
  Choose(panel.Lists().ComboTrigger, "Time");
  EXPECT_THAT(Traffic(5), ElementsAre("R", "W 41 15 05 00 00", "R", "W 41 05 05 00 00", "R",
                                      "W 41 06 17 00 00", "R", "R"));
  EXPECT_EQ(dialogs.shown.front(),
            "ask: Input Trigger Time [12:00:00] Enter the Trigger TIME for measurement\r\n"
            " (hh:nn:ss) ");
  dialogs.answers = {"0:0:0"};
  Choose(panel.Lists().ComboTrigger, "Time");
  EXPECT_THAT(Traffic(5), ::testing::Contains("W 41 06 00 00 00"));
}

TEST_F(TriggerTest, CancellingTheTriggerTimeStillEndsWithThePollOnAndTheListHidden) {
  panel.Lists().ComboTrigger->show();
  Choose(panel.Lists().ComboTrigger, "Time");
  EXPECT_THAT(Traffic(), ElementsAre("R", "W 41 15 05", "R", "W 41 05 05", "R", "R"));
  EXPECT_TRUE(panel.Lists().ComboTrigger->isHidden());
  EXPECT_TRUE(panel.Timer1().isActive());
  EXPECT_FALSE(dialogs.poll_ran_during_dialog);
}

TEST_F(TriggerTest, ExitOnlyHides) {
  panel.Timer1().stop();
  panel.Lists().ComboTrigger->show();
  Choose(panel.Lists().ComboTrigger, "Exit");
  panel.Lists().PicTriggerdB->show();
  panel.Lists().CmdTriggerdBExit->click();
  EXPECT_THAT(Traffic(), IsEmpty());
  EXPECT_TRUE(panel.Lists().ComboTrigger->isHidden());
  EXPECT_TRUE(panel.Lists().PicTriggerdB->isHidden());
  EXPECT_FALSE(panel.Timer1().isActive());
}

}  // namespace
}  // namespace halvane
