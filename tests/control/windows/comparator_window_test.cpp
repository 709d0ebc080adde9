// The comparator: the toolbar's read, what the window shows, and what "OK" sends or refuses.

#include "control/comparator_window.h"

#include <QComboBox>
#include <QRadioButton>

#include "control/level_band.h"
#include "ui/user_dialogs.h"
#include "window_fixture.h"

namespace halvane {
namespace {

struct MockDialogs : UserDialogs {
  MOCK_METHOD(void, ShowCritical, (const std::string&), (override));
  MOCK_METHOD(std::string, AskText, (const std::string&, const std::string&, const std::string&),
              (override));
  MOCK_METHOD(std::filesystem::path, AskOpenFile, (const std::string&), (override));
  MOCK_METHOD(std::filesystem::path, AskSaveFile, (const std::string&, const std::string&),
              (override));
  MOCK_METHOD(bool, SetUpPrinter, (QPrinter&), (override));
};

class ComparatorTest : public WindowFixture {
 protected:
  Comparator& Open() { return OpenComparator(owner, usb, timer1, dialogs); }
  std::string Shown(const char* list) { return Find<QComboBox>(list)->currentText().toStdString(); }
  // Chooses the state, enters the level and the band, and presses "OK".
  void Enter(const char* state, const char* level, const char* band) {
    Find<QRadioButton>(state)->click();
    Find<QComboBox>("CombodB")->setEditText(level);
    Find<QComboBox>("ComboBand")->setEditText(band);
    meter.ClearReceivedReports();
    Click("CmdOK");
  }
  ::testing::StrictMock<MockDialogs> dialogs;  // no message unless a test expects one
};

TEST_F(ComparatorTest,
       ToolbarShowsTheSettingReadPastAPendingReplyAndOkWritesOrRefusesWhatIsEntered) {
  meter.State().comparator_enabled = true;
  meter.State().comparator_threshold = {80, 33};
  meter.Receive(Bytes{0x00, 0x42});  // a live reply nobody has read
  meter.ClearReceivedReports();
  Comparator& window = Open();
  EXPECT_THAT(Sent(4), ElementsAre(Bytes{0x00, 0x41, 0x13, 0x00}, Bytes{0x00, 0x41, 0x14, 0x00}));
  EXPECT_FALSE(meter.TakeReply().has_value());
  EXPECT_TRUE(Find<QRadioButton>("OptComp1")->isChecked());
  EXPECT_EQ(Shown("CombodB"), "80");
  EXPECT_EQ(Shown("ComboBand"), "AP");
  meter.ClearReceivedReports();
  Click("CmdOK");
  EXPECT_THAT(Sent(5), ElementsAre(Bytes{0x00, 0x41, 0x14, 80, 0}, Bytes{0x00, 0x41, 0x13, 2, 0}));
  EXPECT_EQ(reports_while_polling, 1);  // only the pending reply's
  EXPECT_TRUE(timer1.isActive());
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(&Open(), &window);
  EXPECT_TRUE(window.isVisible());
  for (const char* level : {"256", "-1", "255.5", "1e9"}) {
    EXPECT_CALL(dialogs, ShowCritical(std::string(kInvalidLevelMessage)))
        .WillOnce([this](const std::string&) { EXPECT_FALSE(timer1.isActive()); });
    Enter("OptComp1", level, "1k");
    EXPECT_TRUE(meter.ReceivedReports().empty()) << level;
    EXPECT_TRUE(Find("CmdOK")->isVisible() && timer1.isActive()) << level;
  }
  Enter("OptComp0", "60", "500");
  EXPECT_THAT(Sent(5), ElementsAre(Bytes{0x00, 0x41, 0x14, 0x3C, 0x10},
                                   Bytes{0x00, 0x41, 0x13, 0x01, 0x10}));
  Open();
  Enter("OptComp1", " 9 0.5 dB", "1 kHz");  // not a band label
  EXPECT_THAT(Sent(5), ElementsAre(Bytes{0x00, 0x41, 0x14, 90, 0}, Bytes{0x00, 0x41, 0x13, 2, 0}));
}

TEST_F(ComparatorTest, MeterVanishingNeitherHangsNorStopsThePoll) {
  backend.SetSilent(true);
  Comparator& window = Open();
  Click("CmdOK");
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(timer1.isActive());
  backend.SetSilent(false);
  Connect();
  backend.Unplug();
  Open();
  Click("CmdOK");
  EXPECT_TRUE(meter.ReceivedReports().empty());
  EXPECT_TRUE(timer1.isActive());
}

TEST(LevelAndBand, TypedLevelsRoundToTheByteAndBandsAreLookedUpInsideTheTable) {
  EXPECT_EQ(LevelFromText("255"), 255);
  EXPECT_EQ(LevelFromText("-0.4"), 0);
  EXPECT_EQ(BandIndexOf("16", 33), 1);  // the third-octave "16", not "16k"
  EXPECT_EQ(BandIndexOf("AP", 34), 33);
  EXPECT_EQ(BandLabelAt(34), "");
  EXPECT_EQ(BandLabelAt(-1), "");
}

}  // namespace
}  // namespace halvane
