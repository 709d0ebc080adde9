// The keypad, comparator and clock windows over the simulated meter: what they read, show and
// send and what a press or read that finds no meter does, step by step, compared whole with the
// transcripts in tests/data/control; and where they open: beside the main window, clear of its
// readings and of each other, and on the screen when there is no room beside it.

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>

#include "control/control_panel.h"
#include "control/level_band.h"
#include "control/rtc_window.h"
#include "tests/gui/panel_fixture.h"
#include "ui/window_placement.h"

namespace halvane::test {
namespace {

class ToolWindowsTest : public PanelFixture {
 protected:
  ToolWindowsTest() { Connect(); }
  void NoteWaits() {
    for (const int ms : link_waits) {
      Note("waited " + std::to_string(ms) + " ms for a reply");
    }
    link_waits.clear();
  }
};

TEST_F(ToolWindowsTest, KeypadPressesEachKeyWithThePollOffAndSaysWhenTheMeterIsAway) {
  Step("click CtrButton");
  auto* keypad = Find<ControlPanel>("ControlPanel");
  ASSERT_NE(keypad, nullptr);
  EXPECT_TRUE(keypad->windowFlags().testFlag(Qt::WindowStaysOnTopHint) &&
              !keypad->testAttribute(Qt::WA_QuitOnClose));
  keypad->close();
  Step("click CtrButton");
  EXPECT_EQ(panel.findChildren<ControlPanel*>(), QList<ControlPanel*>{keypad});
  DuringPoll([&] { EXPECT_TRUE(QTest::qWaitForWindowActive(keypad)); });
  for (const QPushButton* key : keypad->findChildren<QPushButton*>()) {
    Step("press " + key->objectName().toStdString());
    Note("captioned " + key->text().toStdString());
  }
  Step("unplug; press CmdEnter");
  backend.Replug();
  Connect();
  Step("silence on; press CmdMode");
  NoteWaits();
  ExpectDataFile(transcript, "control/keypad.txt");
}

TEST_F(ToolWindowsTest, ComparatorShowsTheSettingReadPastAPendingReplyAndOkWritesOrRefuses) {
  const auto note_window = [this] {
    const auto* window = Find("Comparator");
    Note(std::string(Find<QRadioButton>("Comparator/OptComp1")->isChecked() ? "on" : "off") +
         " at " + Find<QComboBox>("Comparator/CombodB")->currentText().toStdString() + " dB in " +
         Find<QComboBox>("Comparator/ComboBand")->currentText().toStdString() +
         (window->isVisible() ? ", shown" : ", hidden"));
  };
  meter.State().comparator_enabled = true;
  meter.State().comparator_threshold = {80, 19};
  meter.Receive(std::vector<std::uint8_t>{0x00, 0x42});  // a live reply nobody has read
  Step("click Comparator");
  EXPECT_FALSE(meter.TakeReply().has_value());
  note_window();
  Step("press Comparator/CmdOK");
  note_window();
  Step("click Comparator");
  EXPECT_EQ(panel.findChildren<QWidget*>("Comparator").size(), 1);
  note_window();
  for (const auto& [level, band] : {std::pair{"256", "1k"},
                                    {"-1", "1k"},
                                    {"255.5", "1k"},
                                    {"1e9", "1k"},
                                    {"", "1k"},
                                    {"abc", "1k"},
                                    {"60", "1 kHz"},
                                    {"60", "1000"},
                                    {"60", ""},
                                    {"60", "AP"}}) {
    Step(std::string("type Comparator/CombodB ") + level + "; type Comparator/ComboBand " + band +
         "; press Comparator/CmdOK");
  }
  note_window();
  Step(
      "press Comparator/OptComp0; type Comparator/CombodB  6 0.4 dB; "
      "type Comparator/ComboBand 500; press Comparator/CmdOK");
  meter.State().comparator_threshold = {75, 33};
  Step("click Comparator");
  note_window();
  ExpectDataFile(transcript, "control/comparator.txt");
}

TEST(LevelAndBand, TypedLevelsRoundToTheByteAndBandsAreLookedUpInsideTheTable) {
  EXPECT_EQ(LevelFromText("255"), 255);
  EXPECT_EQ(LevelFromText("-0.4"), 0);
  EXPECT_EQ(LevelFromText("85dB"), 85);
  EXPECT_EQ(BandIndexOf("16", 33), 1);  // the third-octave "16", not "16k"
  EXPECT_EQ(BandIndexOf("AP", 34), 33);
  EXPECT_EQ(BandLabelAt(34), "");
  EXPECT_EQ(BandLabelAt(-1), "");
}

class ClockWindowTest : public ToolWindowsTest {
 protected:
  QTimer* OwnTimer() { return Find<QTimer>("RTC/Timer1"); }
  void NoteCaptions() {
    Note(Find<QLabel>("RTC/LblMeterTime")->text().toStdString() + " | " +
         Find<QLabel>("RTC/LblPCTime")->text().toStdString() +
         (OwnTimer()->isActive() ? " | ticking" : " | still"));
  }

  RTC rtc{{usb, panel.Timer1(), dialogs,
           [this](int ms) {
             Note("pause " + std::to_string(ms) + (OwnTimer()->isActive() ? " ticking" : ""));
           }},
          &panel,
          [] { return QDateTime(QDate(2013, 8, 9), QTime(1, 14, 19)); }};
};

// Each label click toggles its clock once a tick; the set pauses and leaves its bytes to the next
// key press; a read or set that finds no meter says so once and does not wait; run from the
// toolbar, exit and the close button read one pending reply and start the poll again.
TEST_F(ClockWindowTest, LabelClicksToggleTheClocksTheSetPausesAndExitReadsAPendingReply) {
  panel.Timer1().stop();  // as the toolbar keeps it while the window is open
  rtc.show();
  Note("ticks every " + std::to_string(OwnTimer()->interval()) + " ms");
  for (const char* step :
       {"timeout RTC/Timer1; mouse RTC/LblMeterTime; timeout RTC/Timer1; timeout RTC/Timer1",
        "mouse RTC/LblMeterTime; mouse RTC/LblPCTime; timeout RTC/Timer1", "mouse RTC/CmdSetTime",
        "click CtrButton; mouse ControlPanel/CmdUp",
        "timer off; silence on; mouse RTC/LblMeterTime; timeout RTC/Timer1; timeout RTC/Timer1",
        "silence off; unplug; mouse RTC/CmdSetTime", "replug; timer off; tick"}) {
    Step(step);
    NoteWaits();
    NoteCaptions();
  }
  rtc.hide();
  for (const char* close : {"mouse RTC/CmdExit", "the close button"}) {
    Step(std::string("run from the toolbar, then ") + close, [&] {
      panel.Timer1().start();
      QTimer::singleShot(0, &rtc, [&] {
        Note(std::string(rtc.isModal() ? "modal" : "modeless") +
             (panel.Timer1().isActive() ? ", poll on" : ", poll off"));
        Run("mouse RTC/LblMeterTime");
        meter.Receive(std::vector<std::uint8_t>{0x00, 0x42});  // two replies nobody has read
        meter.Receive(std::vector<std::uint8_t>{0x00, 0x42});
        close[0] == 'm' ? Run(close) : void(rtc.close());
      });
      QTimer::singleShot(10000, &rtc, &QDialog::reject);  // a window left open fails, not hangs
      rtc.RunModal();
      int left = 0;
      for (; meter.TakeReply(); ++left) {
      }
      Note("replies left: " + std::to_string(left));
      NoteCaptions();
    });
    Step("timeout RTC/Timer1");
  }
  ExpectDataFile(transcript, "control/clock.txt");
}

TEST_F(ToolWindowsTest, KeypadComparatorAndClockOpenClearOfTheReadingsAndOfEachOther) {
  panel.show();
  QApplication::processEvents();
  Click("CtrButton");
  Click("Comparator");
  QRect clock;
  QTimer::singleShot(0, &panel, [&] {
    auto* rtc = Find<QDialog>("RTC");
    ASSERT_NE(rtc, nullptr);
    clock = rtc->frameGeometry();
    rtc->reject();
  });
  Click("RTC");

  const QWidget& readings = panel.DrawingArea();
  const std::vector<std::pair<const char*, QRect>> frames{
      {"readings", QRect(readings.mapToGlobal(QPoint(0, 0)), readings.size())},
      {"keypad", Find("ControlPanel")->frameGeometry()},
      {"comparator", Find("Comparator")->frameGeometry()},
      {"clock", clock}};
  for (std::size_t i = 0; i < frames.size(); ++i) {
    EXPECT_TRUE(panel.screen()->availableGeometry().contains(frames[i].second)) << frames[i].first;
    for (std::size_t j = i + 1; j < frames.size(); ++j) {
      EXPECT_FALSE(frames[i].second.intersects(frames[j].second))
          << frames[i].first << " and " << frames[j].first;
    }
  }
  // Without room beside the main window or below the others, a tool window keeps to the screen.
  const QSize tool(375, 200);
  const QRect small_screen(0, 0, 1366, 728);
  EXPECT_EQ(ToolWindowPlace(small_screen, small_screen, tool, {}), QPoint(991, 0));
  EXPECT_EQ(ToolWindowPlace({0, 0, 1920, 1080}, {0, 0, 1216, 868}, tool, {{1216, 0, 375, 1000}}),
            QPoint(1216, 880));
}

}  // namespace
}  // namespace halvane::test
