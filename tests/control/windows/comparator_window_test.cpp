// The comparator: the toolbar's read, what the window shows, and what "OK" sends or refuses.

#include "control/comparator_window.h"

#include <QComboBox>
#include <QRadioButton>
#include <tuple>

#include "control/level_band.h"
#include "window_fixture.h"

namespace halvane {
namespace {

class ComparatorTest : public WindowFixture {
 protected:
  Comparator* Open() { return OpenComparator(owner, context); }
  std::string Shown(const char* list) { return Find<QComboBox>(list)->currentText().toStdString(); }
  // Chooses the state, enters the level and the band, and presses "OK".
  void Enter(const char* state, const char* level, const char* band) {
    Find<QRadioButton>(state)->click();
    Find<QComboBox>("CombodB")->setEditText(level);
    Find<QComboBox>("ComboBand")->setEditText(band);
    meter.ClearReceivedReports();
    Click("CmdOK");
  }
};

// Each typed value that means nothing, and the message that refuses it.
constexpr std::tuple<const char*, const char*, std::string_view> kRefused[] = {
    {"256", "1k", kInvalidLevelMessage},   {"-1", "1k", kInvalidLevelMessage},
    {"255.5", "1k", kInvalidLevelMessage}, {"1e9", "1k", kInvalidLevelMessage},
    {"", "1k", kInvalidLevelMessage},      {"abc", "1k", kInvalidLevelMessage},
    {"60", "1 kHz", kInvalidBandMessage},  {"60", "1000", kInvalidBandMessage},
    {"60", "", kInvalidBandMessage},       {"60", "AP", kInvalidBandMessage},
};

TEST_F(ComparatorTest,
       ToolbarShowsTheSettingReadPastAPendingReplyAndOkWritesOrRefusesWhatIsEntered) {
  meter.State().comparator_enabled = true;
  meter.State().comparator_threshold = {80, 19};
  meter.Receive(Bytes{0x00, 0x42});  // a live reply nobody has read
  meter.ClearReceivedReports();
  Comparator* window = Open();
  ASSERT_NE(window, nullptr);
  EXPECT_THAT(Sent(4), ElementsAre(Bytes{0x00, 0x41, 0x13, 0x00}, Bytes{0x00, 0x41, 0x14, 0x00}));
  EXPECT_FALSE(meter.TakeReply().has_value());
  EXPECT_TRUE(Find<QRadioButton>("OptComp1")->isChecked());
  EXPECT_EQ(Shown("CombodB"), "80");
  EXPECT_EQ(Shown("ComboBand"), "1k");
  meter.ClearReceivedReports();
  Click("CmdOK");
  EXPECT_THAT(Sent(5),
              ElementsAre(Bytes{0x00, 0x41, 0x14, 80, 19}, Bytes{0x00, 0x41, 0x13, 2, 19}));
  EXPECT_TRUE(timer1.isActive());
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(Open(), window);
  EXPECT_TRUE(window->isVisible());
  for (const auto& [level, band, message] : kRefused) {
    SCOPED_TRACE(std::string(level) + " dB, band " + band);
    EXPECT_CALL(dialogs, ShowCritical(std::string(message))).WillOnce([this](const std::string&) {
      EXPECT_FALSE(timer1.isActive());
    });
    Enter("OptComp1", level, band);
    EXPECT_TRUE(meter.ReceivedReports().empty());
    EXPECT_TRUE(Find("CmdOK")->isVisible() && timer1.isActive());
  }
  Enter("OptComp0", " 6 0.4 dB", "500");
  EXPECT_THAT(Sent(5), ElementsAre(Bytes{0x00, 0x41, 0x14, 0x3C, 0x10},
                                   Bytes{0x00, 0x41, 0x13, 0x01, 0x10}));
}

TEST_F(ComparatorTest, ABandOutsideTheOfferedOnesIsShownAsTheMeterSaysIt) {
  meter.State().comparator_threshold = {75, 33};
  ASSERT_NE(Open(), nullptr);
  EXPECT_TRUE(Find<QRadioButton>("OptComp0")->isChecked());
  EXPECT_EQ(Shown("ComboBand"), "AP");
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

}  // namespace
}  // namespace halvane
