#include "live/panel.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QPainter>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <fstream>

#include "live/panel_layout.h"
#include "tests/gui/panel_fixture.h"
#include "tests/live/display_list.h"

namespace halvane::test {
namespace {

using ::testing::ElementsAre;

// The main window with its timer driving the poll.
class PanelTest : public PanelFixture {
 protected:
  PanelTest() { watch_poll = false; }
};

std::vector<std::string> EntriesOf(const QComboBox* list) {
  std::vector<std::string> entries;
  for (int i = 0; i < list->count(); ++i) {
    entries.push_back(list->itemText(i).toStdString());
  }
  return entries;
}

int OpaquePixels(const QImage& image) {
  int opaque = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      opaque += image.pixelColor(x, y).alpha() > 128 ? 1 : 0;
    }
  }
  return opaque;
}

using PanelStartUpTest = PanelTest;

TEST_F(PanelStartUpTest, RunningTwiceLeavesOneEmptyTemporaryRecordFileAndTwoAtOnceTwo) {
  EXPECT_EQ(panel.TempFilePath(), folder / "Halvane.tmp");
  const ScratchFolder runs;
  const std::filesystem::path file = runs / "Halvane.tmp";
  { const Panel last_run(usb, runs.Path()); }
  std::ofstream(file) << "a record from the last run\n";
  const Panel first(usb, runs.Path());
  ASSERT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(std::filesystem::file_size(file), 0u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(runs.Path()), {}), 2)
      << "and its lock";

  // A second program beside the first empties a file of its own, never the first one's.
  std::ofstream(file) << "the first program's download\n";
  const Panel second(usb, runs.Path());
  EXPECT_EQ(second.TempFilePath(), runs / "Halvane-2.tmp");
  EXPECT_GT(std::filesystem::file_size(file), 0u);
}

TEST_F(PanelStartUpTest, ListsAreFilledAndHiddenAndThePollStartsWithoutTalkingToTheMeter) {
  EXPECT_TRUE(meter.ReceivedReports().empty()) << "nothing searches for the meter at start-up";
  EXPECT_TRUE(panel.Timer1().isActive());
  EXPECT_EQ(panel.Timer1().interval(), 160);
  for (const char* name :
       {"ComboTrigger", "ComboBkLight", "ComboDevice", "ComboRecMode", "ComboNoItem",
        "ComboMainSubAC", "ComboFreq", "ComboMainSubFS", "ComboTime", "PicTriggerdB"}) {
    ASSERT_NE(Find<QWidget>(name), nullptr) << name;
    EXPECT_TRUE(Find<QWidget>(name)->isHidden()) << name;
  }
  EXPECT_THAT(EntriesOf(Find<QComboBox>("ComboTrigger")),
              ElementsAre("Off", "Trigger Level1", "Trigger Level2", "External", "Time", "Exit"));
  EXPECT_EQ(EntriesOf(Find<QComboBox>("CombodB")).back(), "140");
  EXPECT_EQ(EntriesOf(Find<QComboBox>("ComboBand")).back(), "AP");
}

TEST_F(PanelStartUpTest, ToolbarHasItsButtonsInOrderWithTextsAndDistinctPictograms) {
  std::vector<std::string> keys;
  std::vector<QImage> pictograms;
  for (QAction* action : Find<QToolBar>("Toolbar1")->actions()) {
    if (!action->objectName().isEmpty()) {
      keys.push_back(action->objectName().toStdString());
      const QImage pictogram = action->icon().pixmap(32, 32).toImage();
      ASSERT_EQ(pictogram.size(), QSize(32, 32)) << keys.back();
      EXPECT_GT(OpaquePixels(pictogram), 32 * 32 / 8) << keys.back();
      EXPECT_EQ(std::ranges::count(pictograms, pictogram), 0) << keys.back();
      pictograms.push_back(pictogram);
    }
  }
  EXPECT_THAT(keys, ElementsAre("RecMode", "Storage", "RTC", "Comparator", "Trigger", "BackLight",
                                "Period", "AC", "FS", "Intv", "Memory", "SD", "CtrButton", "Erase",
                                "Plot", "History"));
  EXPECT_EQ(Find<QAction>("BackLight")->text(), "Back Light Auto Off");
}

TEST_F(PanelStartUpTest, DoubleClickShowsAndHidesTheBuildNumber) {
  EXPECT_EQ(panel.windowTitle(), "Panel   V8.01");
  QTest::mouseDClick(&panel.DrawingArea(), Qt::LeftButton);
  EXPECT_EQ(panel.windowTitle(), "Panel   V8.01   130809");
  QTest::mouseDClick(&panel.DrawingArea(), Qt::LeftButton);
  EXPECT_EQ(panel.windowTitle(), "Panel   V8.01");
}

TEST_F(PanelStartUpTest, ShrinkingTheWindowIsUndone) {
  EXPECT_EQ(ApplyMinimumSize({13650, 9000}), (WindowSize{13600, 9465}));
  EXPECT_EQ(ApplyMinimumSize({13680, 9465}), (WindowSize{13680, 9465}));
  panel.show();
  panel.resize(600, 400);
  QApplication::processEvents();
  const double twips_per_pixel = 1440.0 / panel.logicalDpiX();
  EXPECT_NEAR(panel.width() * twips_per_pixel, 13600, twips_per_pixel);
  EXPECT_NEAR(panel.height() * twips_per_pixel, 9465, twips_per_pixel);
}

TEST_F(PanelStartUpTest, ClosingTheMainWindowEndsTheProgram) {
  QTimer::singleShot(0, &panel, [this] { panel.close(); });
  QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_FALSE(panel.Timer1().isActive());
}

using PanelPollTest = PanelTest;

// The colour the window paints at a point of its canvas, on 907 x 591 pixels.
Color PaintedAt(Panel& panel, Point at) {
  QImage image(907, 591, QImage::Format_RGB32);
  QPainter painter(&image);
  panel.DrawingArea().PaintInto(painter, QRectF(image.rect()));
  const QColor pixel = image.pixelColor(static_cast<int>(at.x * 907 / kPanelWidthUnits),
                                        static_cast<int>(at.y * 591 / kPanelHeightUnits));
  return Color{static_cast<std::uint8_t>(pixel.red()), static_cast<std::uint8_t>(pixel.green()),
               static_cast<std::uint8_t>(pixel.blue())};
}

TEST_F(PanelPollTest, EachTickMirrorsTheMeterInTheListsAndImagesWithoutRunningHandlers) {
  QComboBox* rec_mode = Find<QComboBox>("ComboRecMode");
  QComboBox* device = Find<QComboBox>("ComboDevice");
  QComboBox* trigger = Find<QComboBox>("ComboTrigger");
  QSignalSpy rec_mode_chosen(rec_mode, &QComboBox::activated);
  QSignalSpy trigger_chosen(trigger, &QComboBox::activated);

  MeterState& state = meter.State();
  state.record_manually = true;
  state.storage_is_flash = false;
  state.trigger_mode = 2;
  state.recording = true;
  state.usb_active = false;
  panel.PollMeter();

  EXPECT_EQ(rec_mode->currentText(), "Manually");
  EXPECT_EQ(device->currentText(), "SD Card");
  EXPECT_EQ(trigger->currentText(), "Trigger Level2");
  EXPECT_FALSE(Find<QLabel>("ImaRec")->isHidden());
  EXPECT_TRUE(Find<QLabel>("ImaPause")->isHidden());
  EXPECT_TRUE(Find<QLabel>("ImaUsb")->isHidden());
  EXPECT_EQ(rec_mode_chosen.count(), 0);
  EXPECT_EQ(trigger_chosen.count(), 0);

  state.trigger_mode = 9;
  panel.PollMeter();
  EXPECT_EQ(trigger->currentText(), "Trigger Level2") << "an unknown trigger mode keeps the text";
}

// The screen as the window paints it: the header strip and the level bar, or the background
// behind "No Connection".
TEST_F(PanelPollTest, UnplugShowsNoConnectionAndReplugBringsTheLiveScreenBackWithinOneTick) {
  EXPECT_TRUE(QTest::qWaitFor([this] { return meter.ReceivedReports().size() >= 2; }))
      << "the timer drives the poll";
  EXPECT_EQ(TextCount(panel.DrawingCanvas(), "SLM"), 1U);
  EXPECT_EQ(PaintedAt(panel, {165, 11}), kBlack);
  EXPECT_EQ(PaintedAt(panel, {31, 25}), ConsoleColor(9));

  backend.AddForeignDevice(ForeignDevice::RefusesToOpen);
  backend.Unplug();
  panel.PollMeter();
  panel.PollMeter();
  EXPECT_EQ(DisplayListText(panel.DrawingCanvas()), "text 30 60 #000000 36b \"No Connection\"\n");
  EXPECT_EQ(Find<QLabel>("LblName")->text(), " No Connection");
  EXPECT_EQ(PaintedAt(panel, {165, 11}), kWindowBackground);
  // Outside the drawing area, why the meter is away and where to look.
  EXPECT_FALSE(Find<QLabel>("LblNoConnectionReason")->isHidden()) << "the one left refuses access";
  EXPECT_EQ(Find<QLabel>("LblNoConnectionReason")->text().toStdString(),
            kMeterAccessRefusedMessage);
  EXPECT_TRUE(Find<QLabel>("LblName")->toolTip().contains("--simulate"));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

  backend.Replug();
  panel.PollMeter();
  EXPECT_EQ(TextCount(panel.DrawingCanvas(), "SLM"), 1U);
  EXPECT_NE(Find<QLabel>("LblName")->text(), " No Connection");
  EXPECT_TRUE(Find<QLabel>("LblNoConnectionReason")->isHidden()) << "the meter opens ahead of it";
}

}  // namespace
}  // namespace halvane::test
