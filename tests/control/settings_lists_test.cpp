#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "control_fixture.h"

namespace halvane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using SettingsListsTest = ControlFixture;

TEST_F(SettingsListsTest, PlainListsSendTheEntrysPositionAfterOneDiscardedRead) {
  Choose(panel.Lists().ComboBkLight, "3 min");
  Choose(panel.Lists().ComboDevice, "SD Card");
  Choose(panel.Lists().ComboRecMode, "Manually");
  EXPECT_THAT(Traffic(),
              ElementsAre("R", "W 41 09 04", "R", "R", "W 41 07 02", "R", "R", "W 41 08 01", "R"));
  EXPECT_TRUE(panel.Lists().ComboBkLight->isHidden());
  EXPECT_TRUE(panel.Timer1().isActive());
}

TEST_F(SettingsListsTest, ExitEntriesOnlyHideTheirListAndLeaveThePollAsItWas) {
  panel.Timer1().stop();
  for (QComboBox* list :
       {panel.Lists().ComboBkLight, panel.Lists().ComboDevice, panel.Lists().ComboRecMode,
        panel.Lists().ComboMainSubAC, panel.Lists().ComboMainSubFS, panel.Lists().ComboTrigger}) {
    list->show();
    Choose(list, "Exit");
    EXPECT_TRUE(list->isHidden());
  }
  panel.Lists().PicTriggerdB->show();
  panel.Lists().CmdTriggerdBExit->click();
  EXPECT_TRUE(panel.Lists().PicTriggerdB->isHidden());
  EXPECT_TRUE(panel.Lists().ComboFreq->isHidden()) << "a channel list hides its weighting list";
  EXPECT_THAT(Traffic(), IsEmpty());
  EXPECT_FALSE(panel.Timer1().isActive());
}

// The main channel's weightings follow the meter's FREQ and TIME keys.
class MainChannelTest : public ControlFixture {
 protected:
  void ShowMainChannel(QComboBox* channel, QComboBox* weighting) {
    Choose(channel, "Main Channel");
    channel->show();
    weighting->show();
  }
};

// A to Z is two FREQ presses half a second apart, Z to A one, I to t three TIME presses.
TEST_F(MainChannelTest, EachStepAlongTheMetersCycleIsOneKeyPressWithPausesBetween) {
  const auto& lists = panel.Lists();
  struct Step {
    QComboBox *channel, *weighting;
    const char* chosen;
    std::vector<std::string> traffic;
    std::vector<int> pauses;
  };
  const std::string freq = "W 40 01 00", time = "W 40 02 00";
  meter.State().main_time_weighting = 3;
  for (const Step& step :
       {Step{lists.ComboMainSubAC, lists.ComboFreq, "Z", {freq, "R", freq, "R"}, {500}},
        {lists.ComboMainSubAC, lists.ComboFreq, "A", {freq, "R"}, {}},
        {lists.ComboMainSubFS,
         lists.ComboTime,
         "t",
         {time, "R", time, "R", time, "R"},
         {500, 500}}}) {
    SCOPED_TRACE(step.chosen);
    Poll();
    Traffic();
    pauses.clear();
    ShowMainChannel(step.channel, step.weighting);
    Choose(step.weighting, step.chosen);
    EXPECT_EQ(Traffic(), step.traffic);
    EXPECT_EQ(pauses, step.pauses);
    EXPECT_TRUE(step.weighting->isHidden() && step.channel->isHidden());
    Poll();
    EXPECT_EQ(panel.Reading().MainFreqWeighting + panel.Reading().MainTimeWeighting,
              step.weighting == lists.ComboFreq ? step.chosen + std::string("I")
                                                : std::string("A") + step.chosen);
  }
}

TEST_F(MainChannelTest, TheWeightingInForceSendsNothingAndKeepsBothListsOpen) {
  ShowMainChannel(panel.Lists().ComboMainSubAC, panel.Lists().ComboFreq);
  EXPECT_EQ(panel.Lists().ComboFreq->currentText(), "A");
  Choose(panel.Lists().ComboFreq, "A");
  EXPECT_THAT(Traffic(), IsEmpty());
  EXPECT_FALSE(panel.Lists().ComboFreq->isHidden());
  EXPECT_FALSE(panel.Lists().ComboMainSubAC->isHidden());
  EXPECT_TRUE(panel.Timer1().isActive());
}

TEST_F(SettingsListsTest, SubChannelTakesOneSettingCommandWithoutAPreRead) {
  Choose(panel.Lists().ComboMainSubAC, "Sub Channel");
  Choose(panel.Lists().ComboFreq, "C");
  EXPECT_THAT(Traffic(), ElementsAre("W 41 18 02", "R"));
  Choose(panel.Lists().ComboMainSubFS, "Sub Channel");
  Choose(panel.Lists().ComboTime, "I");
  EXPECT_THAT(Traffic(), ElementsAre("W 41 19 04", "R"));
  EXPECT_TRUE(pauses.empty());
}

TEST_F(SettingsListsTest, AWeightingCanOnlyBeChosenFromItsListNotTyped) {
  for (QComboBox* weighting : {panel.Lists().ComboFreq, panel.Lists().ComboTime}) {
    SCOPED_TRACE(weighting->objectName().toStdString());
    Choose(weighting == panel.Lists().ComboFreq ? panel.Lists().ComboMainSubAC
                                                : panel.Lists().ComboMainSubFS,
           "Sub Channel");
    weighting->show();
    const QString shown = weighting->currentText();
    QTest::keyClicks(weighting->lineEdit(), "Q");
    QTest::keyClick(weighting->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(weighting->currentText(), shown);
  }
  EXPECT_THAT(Traffic(), IsEmpty());
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SettingsListsTest, TheLivePollMirroringTheListsSendsNothing) {
  meter.State().record_manually = true;
  Poll();
  Traffic();
  panel.Lists().ComboFreq->setEditText("Z");
  Poll();
  EXPECT_THAT(Traffic(), ElementsAre("W 42 00 00", "R"));
}

}  // namespace
}  // namespace halvane
