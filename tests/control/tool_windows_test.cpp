// The keypad, comparator and clock windows open beside the main window, clear of its readings
// and of each other, and stay on the screen when there is no room beside it.

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QTimer>

#include "control_fixture.h"
#include "ui/window_placement.h"

namespace halvane {
namespace {

using ToolWindowsTest = ControlFixture;

TEST_F(ToolWindowsTest, KeypadComparatorAndClockOpenClearOfTheReadingsAndOfEachOther) {
  panel.show();
  QApplication::processEvents();
  Click("CtrButton");
  Click("Comparator");
  QRect clock;
  QTimer::singleShot(0, &panel, [&] {
    auto* rtc = panel.findChild<QDialog*>("RTC");
    ASSERT_NE(rtc, nullptr);
    clock = rtc->frameGeometry();
    rtc->reject();
  });
  Click("RTC");

  const QWidget& readings = panel.DrawingArea();
  const std::vector<std::pair<const char*, QRect>> frames{
      {"readings", QRect(readings.mapToGlobal(QPoint(0, 0)), readings.size())},
      {"keypad", panel.findChild<QWidget*>("ControlPanel")->frameGeometry()},
      {"comparator", panel.findChild<QWidget*>("Comparator")->frameGeometry()},
      {"clock", clock}};
  for (std::size_t i = 0; i < frames.size(); ++i) {
    EXPECT_TRUE(panel.screen()->availableGeometry().contains(frames[i].second)) << frames[i].first;
    for (std::size_t j = i + 1; j < frames.size(); ++j) {
      EXPECT_FALSE(frames[i].second.intersects(frames[j].second))
          << frames[i].first << " and " << frames[j].first;
    }
  }
}

// Without room beside the main window or below the others, a tool window keeps to the screen.
TEST(ToolWindowPlace, KeepsToTheScreen) {
  const QSize tool(375, 200);
  const QRect small_screen(0, 0, 1366, 728);
  EXPECT_EQ(ToolWindowPlace(small_screen, small_screen, tool, {}), QPoint(991, 0));
  const QRect full_hd(0, 0, 1920, 1080);
  EXPECT_EQ(ToolWindowPlace(full_hd, {0, 0, 1216, 868}, tool, {{1216, 0, 375, 1000}}),
            QPoint(1216, 880));
}

}  // namespace
}  // namespace halvane
