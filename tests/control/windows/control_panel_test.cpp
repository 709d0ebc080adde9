// The keypad: every key's report, the bytes it leaves alone, and how the toolbar shows it.

#include "control/control_panel.h"

#include <QPushButton>

#include "control/rtc_window.h"
#include "window_fixture.h"

namespace halvane {
namespace {

class ControlPanelTest : public WindowFixture {
 protected:
  ControlPanelTest() { keypad.show(); }
  void Press(const char* button) {
    QTest::mouseClick(keypad.findChild<QPushButton*>(button), Qt::LeftButton);
  }
  ControlPanel keypad{usb, timer1, &owner};
};

struct KeyCase {
  const char* button;
  const char* caption;
  std::uint8_t byte2;
  std::uint8_t byte3;
};

constexpr KeyCase kKeys[] = {
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
    {"CmdGrp", "GRP", 0, 0x80},
};

TEST_F(ControlPanelTest, EachButtonPressesItsKeyWithThePollOff) {
  EXPECT_EQ(keypad.windowTitle(), "Buttons");
  EXPECT_EQ(keypad.findChildren<QPushButton*>().size(), std::ssize(kKeys));
  for (const KeyCase& key : kKeys) {
    SCOPED_TRACE(key.button);
    meter.ClearReceivedReports();
    ASSERT_NE(keypad.findChild<QPushButton*>(key.button), nullptr);
    EXPECT_EQ(keypad.findChild<QPushButton*>(key.button)->text(), key.caption);
    Press(key.button);
    EXPECT_THAT(Sent(4), ElementsAre(Bytes{0x00, 0x40, key.byte2, key.byte3}));
    EXPECT_TRUE(timer1.isActive());
  }
  EXPECT_EQ(reports_while_polling, 0);
}

TEST_F(ControlPanelTest, BackLightAndStartStopSendTheSameReport) {
  Press("CmdBkLight");
  Press("CmdStartStop");
  ASSERT_EQ(meter.ReceivedReports().size(), 2u);
  EXPECT_EQ(meter.ReceivedReports()[0], meter.ReceivedReports()[1]);
}

TEST_F(ControlPanelTest, KeyPressLeavesTheClockBytesOfTheCommandBefore) {
  RTC clock(
      usb, timer1, nullptr, [](int) {},
      [] { return QDateTime(QDate(2013, 8, 9), QTime(1, 14, 19)); });
  clock.SetMeterTime();
  Press("CmdUp");
  EXPECT_THAT(Sent(9), ElementsAre(Bytes{0x00, 0x41, 0x02, 0x13, 0x08, 0x09, 0x01, 0x14, 0x19},
                                   Bytes{0x00, 0x40, 0x10, 0x00, 0x08, 0x09, 0x01, 0x14, 0x19}));
}

TEST_F(ControlPanelTest, MissingOrVanishingMeterLeavesThePollOn) {
  backend.Unplug();
  Press("CmdEnter");
  EXPECT_TRUE(meter.ReceivedReports().empty());
  EXPECT_TRUE(timer1.isActive());

  backend.Replug();
  Connect();
  backend.SetSilent(true);
  Press("CmdMode");
  EXPECT_THAT(link_waits, ElementsAre(USB::kReadTimeoutMs));  // one wait, no hang
  EXPECT_FALSE(usb.MeterConnected());
  EXPECT_TRUE(timer1.isActive());
}

using CtrButtonTest = WindowFixture;

TEST_F(CtrButtonTest, CreatesTheKeypadOnceAndBringsItForward) {
  ControlPanel& first = ControlPanel::Open(owner, usb, timer1);
  EXPECT_FALSE(first.isModal());
  EXPECT_TRUE(first.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(first.testAttribute(Qt::WA_QuitOnClose));
  first.close();
  ControlPanel& second = ControlPanel::Open(owner, usb, timer1);
  EXPECT_EQ(&second, &first);
  EXPECT_TRUE(second.isVisible());
  EXPECT_TRUE(QTest::qWaitForWindowActive(&second));
  EXPECT_EQ(owner.findChildren<ControlPanel*>().size(), 1);
  EXPECT_TRUE(meter.ReceivedReports().empty());
}

}  // namespace
}  // namespace halvane
