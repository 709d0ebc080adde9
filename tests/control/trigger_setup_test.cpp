#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

#include "control/level_band.h"
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
}

TEST_F(TriggerTest, ALevelOrBandThatMeansNothingIsRefusedAndNothingIsSent) {
  const std::string level = "message: " + std::string(kInvalidLevelMessage);
  const std::string band = "message: " + std::string(kInvalidBandMessage);
  // The comparator's test goes through the refused texts; here one of each, and both at once.
  const std::tuple<const char*, const char*, std::string> refused[] = {
      {"300", "1k", level}, {"90", "xyz", band}, {"abc", "xyz", level}};
  panel.Lists().PicTriggerdB->show();
  for (const auto& [typed_level, typed_band, message] : refused) {
    SCOPED_TRACE(std::string(typed_level) + " dB, band " + typed_band);
    dialogs.shown.clear();
    panel.Lists().CombodB->setEditText(typed_level);
    panel.Lists().ComboBand->setEditText(typed_band);
    panel.Lists().CmdTriggerdBOK->click();
    EXPECT_THAT(dialogs.shown, ElementsAre(message));
    EXPECT_THAT(Traffic(), IsEmpty());
    EXPECT_FALSE(panel.Lists().PicTriggerdB->isHidden()) << "the panel stays for a correction";
    EXPECT_TRUE(panel.Timer1().isActive());
  }
  EXPECT_FALSE(dialogs.poll_ran_during_dialog);
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

}  // namespace
}  // namespace halvane
