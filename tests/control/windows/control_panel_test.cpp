// The keypad: the toolbar's one keypad window, and every key's report with the live poll off.

#include "control/control_panel.h"

#include <QPushButton>
#include <tuple>

#include "control/meter_answer.h"
#include "window_fixture.h"

namespace halvane {
namespace {

// Each key's button, its caption, and bytes 2 and 3 of the report that presses it.
constexpr std::tuple<const char*, const char*, std::uint8_t, std::uint8_t> kKeys[] = {
    {"CmdFreq", "FREQ", 0x01, 0},
    {"CmdTime", "TIME", 0x02, 0},
    {"CmdEnter", "ENTER", 0x04, 0},
    {"CmdStore", "STORE", 0x08, 0},
    {"CmdUp", "UP", 0x10, 0},
    {"CmdDown", "DOWN", 0x20, 0},
    {"CmdRight", "RIGHT", 0x40, 0},
    {"CmdLeft", "LEFT", 0x80, 0},
    {"CmdPauseCont", "PAUSE/CONT", 0, 0x01},
    {"CmdMode", "MODE", 0, 0x02},
    {"CmdLevelUp", "LEVEL UP", 0, 0x04},
    {"CmdStartStop", "START/STOP", 0, 0x08},
    {"CmdBkLight", "BACKLIGHT", 0, 0x08},
    {"CmdOct", "OCT", 0, 0x10},
    {"CmdMenu", "MENU", 0, 0x20},
    {"CmdLevelDown", "LEVEL DOWN", 0, 0x40},
    {"CmdGrp", "GRP", 0, 0x80}};

class ControlPanelTest : public WindowFixture {
 protected:
  ControlPanel& keypad = ControlPanel::Open(owner, context);  // the toolbar's "CtrButton"
};

TEST_F(ControlPanelTest, CtrButtonShowsOneTopmostKeypadWhoseButtonsPressTheirKeysWithThePollOff) {
  EXPECT_TRUE(keypad.windowFlags().testFlag(Qt::WindowStaysOnTopHint) &&
              !keypad.testAttribute(Qt::WA_QuitOnClose));
  keypad.close();
  EXPECT_EQ(&ControlPanel::Open(owner, context), &keypad);
  EXPECT_TRUE(QTest::qWaitForWindowActive(&keypad));
  EXPECT_TRUE(meter.ReceivedReports().empty());
  ASSERT_EQ(keypad.findChildren<QPushButton*>().size(), std::ssize(kKeys));
  for (const auto& [button, caption, byte2, byte3] : kKeys) {
    SCOPED_TRACE(button);
    meter.ClearReceivedReports();
    ASSERT_NE(Find(button), nullptr);
    EXPECT_EQ(Find<QPushButton>(button)->text().toStdString(), caption);
    Click(button);
    EXPECT_THAT(Sent(4), ElementsAre(Bytes{0x00, 0x40, byte2, byte3}));
  }
  EXPECT_TRUE(timer1.isActive());
}

TEST_F(ControlPanelTest, APressThatFindsNoMeterSaysSoAndLeavesThePollOn) {
  EXPECT_CALL(dialogs, ShowCritical(std::string(kMeterNotConnectedMessage)))
      .Times(2)
      .WillRepeatedly([this](const std::string&) { EXPECT_FALSE(timer1.isActive()); });
  backend.Unplug();
  Click("CmdEnter");
  EXPECT_TRUE(meter.ReceivedReports().empty());
  EXPECT_TRUE(timer1.isActive());
  backend.Replug();
  Connect();
  backend.SetSilent(true);
  Click("CmdMode");
  EXPECT_THAT(link_waits, ElementsAre(USB::kReadTimeoutMs));  // one wait, no hang
  EXPECT_TRUE(timer1.isActive());
}

}  // namespace
}  // namespace halvane
