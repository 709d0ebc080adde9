// The clock window: what each label click, tick, set and exit sends, and what it shows.

#include "control/rtc_window.h"

#include <QLabel>

#include "control/control_panel.h"
#include "control/meter_answer.h"
#include "tests/gui/modal_watchdog.h"
#include "window_fixture.h"

namespace halvane {
namespace {

class RtcTest : public WindowFixture {
 protected:
  // The toolbar keeps the live poll off while the window is open.
  RtcTest() {
    timer1.stop();
    rtc.show();
  }
  QTimer* OwnTimer() { return Find<QTimer>("Timer1"); }
  // One timeout of the window's own timer, as the event loop delivers it.
  void Tick() { QMetaObject::invokeMethod(OwnTimer(), "timeout"); }
  std::string Caption(const char* label) { return Find<QLabel>(label)->text().toStdString(); }

  std::vector<std::pair<int, bool>> pauses;  // each pause, and whether the own timer ran in it
  RTC rtc{
      {usb, timer1, dialogs, [this](int ms) { pauses.emplace_back(ms, OwnTimer()->isActive()); }},
      &owner,
      [] { return QDateTime(QDate(2013, 8, 9), QTime(1, 14, 19)); }};
};

TEST_F(RtcTest, OpensSilentAndEachLabelClickTogglesItsClockOnceATick) {
  EXPECT_TRUE(OwnTimer()->isActive() && OwnTimer()->interval() == 1000);
  Tick();
  Click("LblMeterTime");
  EXPECT_TRUE(meter.ReceivedReports().empty());  // the next tick reads
  Tick();
  Tick();
  EXPECT_THAT(Sent(3), ElementsAre(Bytes{0x00, 0x41, 0x01}, Bytes{0x00, 0x41, 0x01}));
  EXPECT_EQ(Caption("LblMeterTime"), "13/12/31 23:59:58");
  EXPECT_EQ(Caption("LblPCTime"), "PC System Time");
  Click("LblMeterTime");
  Click("LblPCTime");
  Tick();
  EXPECT_EQ(meter.ReceivedReports().size(), 2u);  // the PC clock is not the meter's
  EXPECT_EQ(Caption("LblMeterTime"), "Meter Time");
  EXPECT_EQ(Caption("LblPCTime"), "13/08/09 01:14:19");
}

TEST_F(RtcTest, SetTimeSendsThePcClockPausesAndLeavesItsBytesToTheNextKeyPress) {
  Click("CmdSetTime");
  EXPECT_THAT(pauses, ElementsAre(std::pair(2000, false)));
  EXPECT_TRUE(OwnTimer()->isActive() && !timer1.isActive());
  ControlPanel keypad(context, nullptr);
  QTest::mouseClick(keypad.findChild<QWidget*>("CmdUp"), Qt::LeftButton);
  EXPECT_THAT(Sent(9), ElementsAre(Bytes{0x00, 0x41, 0x02, 0x13, 0x08, 0x09, 0x01, 0x14, 0x19},
                                   Bytes{0x00, 0x40, 0x10, 0x00, 0x08, 0x09, 0x01, 0x14, 0x19}));
}

TEST_F(RtcTest, ToolbarRunsItModallyAndExitOrCloseReadOnePendingReplyAndRestartThePoll) {
  rtc.hide();
  for (const bool close_button : {false, true}) {
    SCOPED_TRACE(close_button ? "close button" : "Exit");
    meter.ClearReceivedReports();
    timer1.start();
    QTimer::singleShot(0, &rtc, [&] {
      EXPECT_TRUE(rtc.isModal() && !timer1.isActive());
      Click("LblMeterTime");
      meter.Receive(Bytes{0x00, 0x42});  // two replies nobody has read
      meter.Receive(Bytes{0x00, 0x42});
      close_button ? void(rtc.close()) : Click("CmdExit");
    });
    const ModalWatchdog watchdog;
    rtc.RunModal();
    EXPECT_TRUE(meter.TakeReply().has_value());  // the second one is still there
    EXPECT_FALSE(meter.TakeReply().has_value());
    EXPECT_TRUE(timer1.isActive());
    EXPECT_FALSE(OwnTimer()->isActive() || rtc.isVisible());
    rtc.Tick();  // the meter clock's display went off with the exit
    EXPECT_EQ(meter.ReceivedReports().size(), 2u);
  }
}

TEST_F(RtcTest, AClockReadOrSetThatFindsNoMeterSaysSoShowsNoMeterTimeAndDoesNotWait) {
  EXPECT_CALL(dialogs, ShowCritical(std::string(kMeterNotConnectedMessage))).Times(2);
  backend.SetSilent(true);
  Click("LblMeterTime");
  Tick();
  EXPECT_THAT(link_waits, ElementsAre(USB::kReadTimeoutMs));  // one wait, no hang
  EXPECT_EQ(Caption("LblMeterTime"), "Meter Time");
  Tick();
  EXPECT_EQ(meter.ReceivedReports().size(), 1u) << "no more reads until the label is clicked";
  backend.SetSilent(false);
  backend.Unplug();
  Click("CmdSetTime");
  EXPECT_EQ(meter.ReceivedReports().size(), 1u);
  EXPECT_TRUE(pauses.empty()) << "no pause after a set that reached no meter";
  EXPECT_TRUE(OwnTimer()->isActive());
  Click("CmdExit");
  EXPECT_TRUE(timer1.isActive());
}

}  // namespace
}  // namespace halvane
