// The clock window: what each label click, tick, set and exit sends, and what it shows.

#include "control/rtc_window.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "control/meter_clock.h"
#include "window_fixture.h"

namespace halvane {
namespace {

class RtcTest : public WindowFixture {
 protected:
  RtcTest() {
    timer1.stop();  // the toolbar keeps the live poll off while the window is open
    rtc.show();
  }
  QTimer* OwnTimer() { return rtc.findChild<QTimer*>("Timer1"); }
  // One timeout of the window's own timer, as the event loop delivers it.
  void Tick() { QMetaObject::invokeMethod(OwnTimer(), "timeout"); }
  void Click(const char* name) { QTest::mouseClick(rtc.findChild<QWidget*>(name), Qt::LeftButton); }
  QString Caption(const char* label) { return rtc.findChild<QLabel*>(label)->text(); }
  // Replies the meter sent that nobody has read yet.
  void LeaveRepliesPending(int count) {
    for (int i = 0; i < count; ++i) {
      meter.Receive(Bytes{0x00, 0x42});
    }
  }

  std::vector<int> pauses;
  bool own_timer_ran_during_pause = false;
  RTC rtc{usb, timer1, nullptr,
          [this](int ms) {
            pauses.push_back(ms);
            own_timer_ran_during_pause = OwnTimer()->isActive();
          },
          [] { return QDateTime(QDate(2013, 8, 9), QTime(1, 14, 19)); }};
};

TEST_F(RtcTest, OpensAtTheScreensLeftEdgeShowingTitlesAndSendsNothing) {
  EXPECT_EQ(rtc.windowTitle(), "Form1");
  EXPECT_EQ(rtc.findChild<QGroupBox*>("FrameTime")->title(), "Time");
  EXPECT_EQ(rtc.findChild<QPushButton*>("CmdSetTime")->text(), "Set Meter Time To System Time");
  EXPECT_EQ(rtc.findChild<QPushButton*>("CmdExit")->text(), "Exit");
  EXPECT_EQ(rtc.x(), rtc.screen()->geometry().left());
  EXPECT_TRUE(OwnTimer()->isActive());
  EXPECT_EQ(OwnTimer()->interval(), 1000);
  Tick();
  Tick();
  EXPECT_EQ(Caption("LblMeterTime"), "Meter Time");
  EXPECT_EQ(Caption("LblPCTime"), "PC System Time");
  EXPECT_TRUE(meter.ReceivedReports().empty());
}

TEST_F(RtcTest, MeterLabelClickStartsOneClockReadATickUntilClickedAgain) {
  Click("LblMeterTime");
  EXPECT_TRUE(meter.ReceivedReports().empty());  // the next tick reads
  Tick();
  Tick();
  EXPECT_THAT(Sent(3), ElementsAre(Bytes{0x00, 0x41, 0x01}, Bytes{0x00, 0x41, 0x01}));
  EXPECT_EQ(Caption("LblMeterTime"), "13/12/31 23:59:58");
  EXPECT_EQ(Caption("LblPCTime"), "PC System Time");
  Click("LblMeterTime");
  Tick();
  EXPECT_EQ(meter.ReceivedReports().size(), 2u);
  EXPECT_EQ(Caption("LblMeterTime"), "Meter Time");
}

TEST_F(RtcTest, PcLabelClickShowsThePcClockWithoutTalkingToTheMeter) {
  Click("LblPCTime");
  Tick();
  EXPECT_EQ(Caption("LblPCTime"), "13/08/09 01:14:19");
  Click("LblPCTime");
  Tick();
  EXPECT_EQ(Caption("LblPCTime"), "PC System Time");
  EXPECT_TRUE(meter.ReceivedReports().empty());
}

TEST_F(RtcTest, SetTimeSendsThePcClockThenPausesWithItsOwnTimerOff) {
  Click("CmdSetTime");
  EXPECT_THAT(Sent(9), ElementsAre(Bytes{0x00, 0x41, 0x02, 0x13, 0x08, 0x09, 0x01, 0x14, 0x19}));
  EXPECT_THAT(pauses, ElementsAre(2000));
  EXPECT_FALSE(own_timer_ran_during_pause);
  EXPECT_TRUE(OwnTimer()->isActive());
  EXPECT_FALSE(timer1.isActive());
  Click("LblMeterTime");
  Tick();
  EXPECT_EQ(Caption("LblMeterTime"), "13/08/09 01:14:19");
}

TEST_F(RtcTest, ExitAndTheCloseButtonReadOnePendingReplyAndRestartThePoll) {
  for (const bool close_button : {false, true}) {
    SCOPED_TRACE(close_button ? "close button" : "Exit");
    Connect();
    rtc.show();
    timer1.stop();
    Click("LblMeterTime");
    LeaveRepliesPending(2);
    if (close_button) {
      rtc.close();
    } else {
      Click("CmdExit");
    }
    EXPECT_TRUE(meter.TakeReply().has_value());  // the second one is still there
    EXPECT_FALSE(meter.TakeReply().has_value());
    EXPECT_TRUE(timer1.isActive());
    EXPECT_FALSE(OwnTimer()->isActive());
    EXPECT_FALSE(rtc.isVisible());
    rtc.Tick();  // the meter switch went off with the exit
    EXPECT_EQ(meter.ReceivedReports().size(), 2u);
  }
  EXPECT_TRUE(link_waits.empty());
}

TEST_F(RtcTest, MeterVanishingNeitherHangsNorStopsTheWindow) {
  Connect();
  backend.SetSilent(true);
  Click("LblMeterTime");
  Tick();
  EXPECT_THAT(link_waits, ElementsAre(USB::kReadTimeoutMs));
  backend.Unplug();
  Tick();
  Click("CmdSetTime");
  EXPECT_THAT(pauses, ElementsAre(2000));
  EXPECT_TRUE(OwnTimer()->isActive());
  Click("CmdExit");
  EXPECT_FALSE(usb.MeterConnected());
  EXPECT_TRUE(timer1.isActive());
}

using RtcToolbarTest = WindowFixture;

TEST_F(RtcToolbarTest, RunsTheWindowModallyWithThePollOffUntilExit) {
  RTC rtc(usb, timer1, &owner, [](int) {});
  bool poll_ran_while_open = true;
  QTimer::singleShot(0, &rtc, [&] {
    poll_ran_while_open = timer1.isActive();
    EXPECT_TRUE(rtc.isModal() && rtc.isVisible());
    QTest::mouseClick(rtc.findChild<QPushButton*>("CmdExit"), Qt::LeftButton);
  });
  rtc.RunModal();
  EXPECT_FALSE(poll_ran_while_open);
  EXPECT_TRUE(timer1.isActive());
}

TEST(MeterClockText, CaptionsAndTheSetCommand) {
  InputReportBuffer answer{};
  const std::uint8_t fields[] = {0x13, 0x12, 0x31, 0x23, 0x59, 0x58};
  std::copy(std::begin(fields), std::end(fields), answer.begin() + 1);
  EXPECT_EQ(MeterTimeCaption(answer), "13/12/31 23:59:58");
  EXPECT_EQ(PcTimeCaption({2100, 12, 31, 23, 5, 0}), "00/12/31 23:05:00");

  OutputReportBuffer report{};
  report.fill(0xEE);
  FillSetClockCommand(report, {2013, 8, 9, 1, 14, 19});
  EXPECT_THAT(report, ElementsAre(0x00, 0x41, 0x02, 0x13, 0x08, 0x09, 0x01, 0x14, 0x19, 0xEE, 0xEE,
                                  0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE));
}

}  // namespace
}  // namespace halvane
