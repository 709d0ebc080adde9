// The comparator: the toolbar's read, what the window shows, and what "OK" sends or refuses.

#include "control/comparator_window.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "control/level_band.h"
#include "window_fixture.h"

namespace halvane {
namespace {

class ComparatorTest : public WindowFixture {
 protected:
  Comparator& Open() { return OpenComparator(owner, usb, timer1, dialogs); }
  // Opens the window showing a setting as if the meter had answered so.
  Comparator& OpenShowing(int state, int level, int band) {
    Comparator& window = Open();
    window.ShowSetting(state, level, band);
    meter.ClearReceivedReports();
    return window;
  }
  template <typename Widget = QWidget>
  static Widget* Find(Comparator& window, const char* name) {
    return window.findChild<Widget*>(name);
  }
  static QComboBox* Level(Comparator& window) { return Find<QComboBox>(window, "CombodB"); }
  static QComboBox* Band(Comparator& window) { return Find<QComboBox>(window, "ComboBand"); }
  static bool Enabled(Comparator& window) {
    return Find<QRadioButton>(window, "OptComp1")->isChecked();
  }
  static void Choose(Comparator& window, const char* option) {
    QRadioButton* button = Find<QRadioButton>(window, option);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
  }
  static void PressOk(Comparator& window) {
    QTest::mouseClick(Find(window, "CmdOK"), Qt::LeftButton);
  }
};

TEST_F(ComparatorTest, WindowOffersTheLevelsAndTheThirdOctaveBands) {
  Comparator& window = Open();
  EXPECT_EQ(window.windowTitle(), "Comparator");
  EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(window.isModal() || window.testAttribute(Qt::WA_QuitOnClose));
  EXPECT_EQ(Find<QRadioButton>(window, "OptComp0")->text(), "Disable");
  EXPECT_EQ(Find<QRadioButton>(window, "OptComp1")->text(), "Enable");
  EXPECT_EQ(Find<QLabel>(window, "LbldB")->text(), "dB");
  EXPECT_EQ(Find<QLabel>(window, "LblBand")->text(), "Hz");
  ASSERT_EQ(Level(window)->count(), 141);
  EXPECT_EQ(Level(window)->itemText(140), "140");
  ASSERT_EQ(Band(window)->count(), 33);
  EXPECT_EQ(Band(window)->itemText(0), "12.5");
  EXPECT_EQ(Band(window)->itemText(32), "20k");
  EXPECT_TRUE(Level(window)->isEditable() && Band(window)->isEditable());
}

TEST_F(ComparatorTest, ToolbarQueriesStateThenThresholdAndShowsThem) {
  Connect();
  meter.State().comparator_enabled = true;
  meter.State().comparator_threshold = {75, 19};
  Comparator& window = Open();
  EXPECT_THAT(Sent(4), ElementsAre(Bytes{0x00, 0x41, 0x13, 0x00}, Bytes{0x00, 0x41, 0x14, 0x00}));
  EXPECT_EQ(reports_while_polling, 0);
  EXPECT_TRUE(timer1.isActive());
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(Enabled(window));
  EXPECT_EQ(Level(window)->currentText(), "75");
  EXPECT_EQ(Band(window)->currentText(), "1k");
}

TEST_F(ComparatorTest, ToolbarTakesAPendingReplyOffFirstAndReusesTheWindow) {
  Connect();
  meter.Receive(Bytes{0x00, 0x42});  // a live reply nobody has read
  Comparator& first = Open();
  EXPECT_FALSE(meter.TakeReply().has_value());
  EXPECT_FALSE(Enabled(first));
  first.close();
  EXPECT_EQ(&Open(), &first);
  EXPECT_TRUE(first.isVisible());
  EXPECT_EQ(owner.findChildren<Comparator*>().size(), 1);
}

TEST_F(ComparatorTest, AllPassIsShownAndSentBackAsBandZero) {
  meter.State().comparator_threshold = {80, 33};
  Comparator& window = Open();
  EXPECT_EQ(Band(window)->currentText(), "AP");
  meter.ClearReceivedReports();
  PressOk(window);
  EXPECT_THAT(Sent(5), ElementsAre(Bytes{0x00, 0x41, 0x14, 80, 0}, Bytes{0x00, 0x41, 0x13, 1, 0}));

  window.ShowSetting(7, 85, 34);  // an unknown state; a band outside the table is not looked up
  EXPECT_FALSE(Enabled(window));
  EXPECT_EQ(Band(window)->currentText(), "");
}

TEST_F(ComparatorTest, OkSendsThresholdAndBandThenStateAndCloses) {
  Comparator& window = OpenShowing(2, 75, 19);
  Choose(window, "OptComp0");
  TypeInto(Level(window), "60");
  TypeInto(Band(window), "500");
  PressOk(window);
  EXPECT_THAT(Sent(5), ElementsAre(Bytes{0x00, 0x41, 0x14, 0x3C, 0x10},
                                   Bytes{0x00, 0x41, 0x13, 0x01, 0x10}));
  EXPECT_EQ(reports_while_polling, 0);
  EXPECT_TRUE(timer1.isActive());
  EXPECT_FALSE(window.isVisible());
  EXPECT_FALSE(meter.State().comparator_enabled);
  EXPECT_EQ(meter.State().comparator_threshold.level_db, 60);
  EXPECT_EQ(meter.State().comparator_threshold.band, 16);
}

TEST_F(ComparatorTest, EnableWithAnUnknownBandSendsBandZero) {
  Comparator& window = OpenShowing(1, 75, 19);
  Choose(window, "OptComp1");
  TypeInto(Level(window), " 90.5 dB");
  TypeInto(Band(window), "1 kHz");
  PressOk(window);
  EXPECT_THAT(Sent(5), ElementsAre(Bytes{0x00, 0x41, 0x14, 90, 0}, Bytes{0x00, 0x41, 0x13, 2, 0}));
}

TEST_F(ComparatorTest, LevelOutsideTheByteIsRefusedAndNothingIsSent) {
  Comparator& window = OpenShowing(2, 75, 19);
  for (const char* level : {"256", "-1"}) {
    SCOPED_TRACE(level);
    dialogs.messages.clear();
    TypeInto(Level(window), level);
    PressOk(window);
    EXPECT_THAT(dialogs.messages,
                ElementsAre("Invalid level: enter a whole number of dB from 0 to 255"));
    EXPECT_FALSE(dialogs.poll_ran_during_message);
    EXPECT_TRUE(meter.ReceivedReports().empty());
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(timer1.isActive());
  }
}

TEST_F(ComparatorTest, MeterVanishingNeitherHangsNorStopsThePoll) {
  Connect();
  backend.SetSilent(true);
  Comparator& window = Open();
  PressOk(window);
  EXPECT_EQ(meter.ReceivedReports().size(), 4u);
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(timer1.isActive());

  backend.SetSilent(false);
  Connect();
  backend.Unplug();
  const int searches = backend.SearchCount();
  Open();
  EXPECT_EQ(backend.SearchCount() - searches, 2);  // the first read does not search
  PressOk(window);
  EXPECT_TRUE(meter.ReceivedReports().empty());
  EXPECT_TRUE(timer1.isActive());
}

TEST(LevelAndBand, TypedLevelIsReadRoundedAndKeptToTheByte) {
  EXPECT_EQ(LevelFromText(" 6 0 "), 60);
  EXPECT_EQ(LevelFromText("60.5"), 60);
  EXPECT_EQ(LevelFromText("61.5"), 62);
  EXPECT_EQ(LevelFromText("255"), 255);
  EXPECT_EQ(LevelFromText("-0.4"), 0);
  EXPECT_EQ(LevelFromText("dB"), 0);  // no number reads as 0
  EXPECT_EQ(LevelFromText("255.5"), std::nullopt);
  EXPECT_EQ(LevelFromText("1e9"), std::nullopt);
}

TEST(LevelAndBand, BandsAreLookedUpOnlyInsideTheTable) {
  EXPECT_EQ(BandIndexOf("16", 33), 1);  // the third-octave "16", not "16k"
  EXPECT_EQ(BandIndexOf("20k", 33), 32);
  EXPECT_EQ(BandIndexOf("AP", 33), 0);
  EXPECT_EQ(BandIndexOf("AP", 34), 33);
  EXPECT_EQ(BandLabelAt(33), "AP");
  EXPECT_EQ(BandLabelAt(34), "");
  EXPECT_EQ(BandLabelAt(-1), "");
}

}  // namespace
}  // namespace halvane
