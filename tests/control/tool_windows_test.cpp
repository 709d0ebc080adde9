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

TEST(ToolWindowPlace, StacksBesideTheMainWindowAndKeepsToTheScreen) {
  const QRect full_hd(0, 0, 1920, 1080);
  const QRect main_frame(0, 0, 1216, 868);
  const QSize tool(375, 200);
  const struct {
    const char* case_name;
    QRect screen;
    QRect main_frame;
    std::vector<QRect> open;
    QPoint expected;
  } kCases[] = {
      {"first beside the main window", full_hd, main_frame, {}, {1216, 0}},
      {"below one already open", full_hd, main_frame, {{1216, 0, 375, 150}}, {1216, 154}},
      {"below two in either order",
       full_hd,
       main_frame,
       {{1216, 154, 300, 100}, {1216, 0, 375, 150}},
       {1216, 258}},
      {"a window elsewhere is not in the way",
       full_hd,
       main_frame,
       {{100, 100, 400, 400}},
       {1216, 0}},
      {"no room beside: at the screen's right edge",
       QRect(0, 0, 1366, 728),
       QRect(0, 0, 1366, 728),
       {},
       {991, 0}},
      {"no room below: at the screen's bottom",
       full_hd,
       main_frame,
       {{1216, 0, 375, 1000}},
       {1216, 880}},
  };
  for (const auto& test_case : kCases) {
    EXPECT_EQ(ToolWindowPlace(test_case.screen, test_case.main_frame, tool, test_case.open),
              test_case.expected)
        << test_case.case_name;
  }
}

}  // namespace
}  // namespace halvane
