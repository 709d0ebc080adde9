// The toolbar's commands, the settings lists, the trigger setup and the keypad over the simulated
// meter: each step written out with what it sent and read, asked and said and paused, and the
// lists and poll it left, compared whole with the transcripts in tests/data/control.

#include <QLineEdit>
#include <QTest>

#include "tests/gui/panel_fixture.h"

namespace halvane::test {
namespace {

using namespace std::chrono_literals;

class ControlSession : public PanelFixture {
 protected:
  ControlSession() { Connect(); }
  // What the meter shows after a poll.
  void NoteReading() {
    Poll();
    Note("meter shows display mode " + std::to_string(panel.Reading().DisplayMode) + ", main " +
         panel.Reading().MainFreqWeighting + panel.Reading().MainTimeWeighting);
  }
};

TEST_F(ControlSession, ToolbarCommandsReadAskAndSend) {
  Step("show ComboRecMode; show ComboMainSubAC; show ComboFreq; timer off; click Storage");
  Step("click Storage");
  meter.State().backlight = 2;
  Step("timer on; click BackLight");
  meter.State().sub_freq_weighting = 2;
  Step("click AC; choose ComboMainSubAC Sub Channel");
  Note("sub channel setting " + controls.SubChannel().SubFreqSetting);
  meter.State().recording_period = 1h + 5min;
  Step("answer 1:30; answer 0:0:0; answer 0.4:0:0; answer 25:75:99; click Period");
  Step("answer 00:00:123; click Intv");
  Step("click Intv");
  Step("timer off; answer 3; click Erase; answer abc; click Erase; answer ; click Erase");
  Step("answer 1 or 2; click Erase");
  Step("answer  2 ; click Erase");
  Step("click CtrButton; press CmdMode");
  NoteReading();
  Step("press CmdOct");
  NoteReading();
  ExpectDataFile(transcript, "control/toolbar_commands.txt");
}

TEST_F(ControlSession, SettingsListsSendTheirEntriesAndWeightingsStepAlongTheMetersCycle) {
  Step("choose ComboBkLight 3 min; choose ComboDevice SD Card; choose ComboRecMode Manually");
  Step(
      "timer off; show ComboBkLight; choose ComboBkLight Exit; show ComboDevice; "
      "choose ComboDevice Exit; show ComboRecMode; choose ComboRecMode Exit; "
      "show ComboMainSubAC; choose ComboMainSubAC Exit; show ComboMainSubFS; "
      "choose ComboMainSubFS Exit; show ComboTrigger; choose ComboTrigger Exit; "
      "show PicTriggerdB; press CmdTriggerdBExit");
  meter.State().main_time_weighting = 3;
  for (const char* step : {"show ComboMainSubAC; show ComboFreq; choose ComboMainSubAC Main "
                           "Channel; choose ComboFreq Z",
                           "show ComboMainSubAC; show ComboFreq; choose ComboMainSubAC Main "
                           "Channel; choose ComboFreq A",
                           "show ComboMainSubFS; show ComboTime; choose ComboMainSubFS Main "
                           "Channel; choose ComboTime t",
                           "show ComboMainSubFS; show ComboTime; choose ComboMainSubFS Main "
                           "Channel; choose ComboTime t"}) {
    Step(std::string("timer on; ") + step);
    NoteReading();
  }
  Step(
      "choose ComboMainSubAC Sub Channel; choose ComboFreq C; "
      "choose ComboMainSubFS Sub Channel; choose ComboTime I");
  Step("Q typed into each weighting list", [&] {
    for (QComboBox* weighting : {Lists().ComboFreq, Lists().ComboTime}) {
      weighting->show();
      QTest::keyClicks(weighting->lineEdit(), "Q");
      QTest::keyClick(weighting->lineEdit(), Qt::Key_Return);
    }
  });
  Step("type ComboFreq Z; tick");
  ExpectDataFile(transcript, "control/settings_lists.txt");
}

TEST_F(ControlSession, TriggerSetupSendsTheModeAndItsLevelOrTime) {
  Step("show PicTriggerdB; choose ComboTrigger External");
  meter.State().level_triggers[1] = {85, 33};
  Step("choose ComboTrigger Trigger Level2");
  for (const char* refused : {"type CombodB 300; type ComboBand 1k",
                              "type CombodB 90; type ComboBand xyz", "type CombodB abc"}) {
    Step(refused + std::string("; press CmdTriggerdBOK"));
  }
  Step("type CombodB 90; type ComboBand 1k; press CmdTriggerdBOK");
  Step("answer 24:00:00; choose ComboTrigger Time");
  Step("answer 0:0:0; choose ComboTrigger Time");
  Step("show ComboTrigger; choose ComboTrigger Time");
  ExpectDataFile(transcript, "control/trigger_setup.txt");
}

}  // namespace
}  // namespace halvane::test
