// Driving the simulated meter from the keypad changes what the live display shows.

#include <gtest/gtest.h>

#include <QPushButton>

#include "control/control_panel.h"
#include "control_fixture.h"
#include "tests/live/display_list.h"

namespace halvane {
namespace {

using LiveControlTest = ControlFixture;

bool Shows(const Canvas& canvas, std::string_view text) {
  return !testing::Texts(canvas, text).empty();
}

TEST_F(LiveControlTest, PressingModeOnTheKeypadShowsTheNextScreen) {
  EXPECT_TRUE(Shows(panel.DrawingCanvas(), "SLM"));
  ControlPanel& keypad = ControlPanel::Open(panel, controls.Context());
  keypad.findChild<QPushButton*>("CmdMode")->click();
  Poll();
  EXPECT_TRUE(Shows(panel.DrawingCanvas(), "1/1 OCT"));
  keypad.findChild<QPushButton*>("CmdOct")->click();
  Poll();
  EXPECT_TRUE(Shows(panel.DrawingCanvas(), "1/3 OCT"));
  EXPECT_TRUE(panel.Timer1().isActive());
}

}  // namespace
}  // namespace halvane
