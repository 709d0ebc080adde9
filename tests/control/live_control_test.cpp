// Driving the simulated meter from the keypad and the lists changes what the live display shows.

#include <gtest/gtest.h>

#include <QPushButton>

#include "../gui/display_list.h"
#include "control/control_panel.h"
#include "control_fixture.h"

namespace halvane {
namespace {

using LiveControlTest = ControlFixture;

TEST_F(LiveControlTest, PressingModeOnTheKeypadShowsTheNextScreen) {
  EXPECT_TRUE(HasText(panel.DrawingCanvas(), "SLM"));
  ControlPanel& keypad = ControlPanel::Open(panel, controls.Context());
  keypad.findChild<QPushButton*>("CmdMode")->click();
  Poll();
  EXPECT_TRUE(HasText(panel.DrawingCanvas(), "1/1 OCT"));
  keypad.findChild<QPushButton*>("CmdOct")->click();
  Poll();
  EXPECT_TRUE(HasText(panel.DrawingCanvas(), "1/3 OCT"));
  EXPECT_TRUE(panel.Timer1().isActive());
}

TEST_F(LiveControlTest, AWeightingChosenInTheListsShowsItsLetter) {
  Click("AC");
  Choose(panel.Lists().ComboFreq, "Z");
  Click("AC");
  Choose(panel.Lists().ComboMainSubAC, "Sub Channel");
  Choose(panel.Lists().ComboFreq, "A");
  Poll();
  EXPECT_TRUE(HasText(panel.DrawingCanvas(), "LZeq")) << "main channel, stepped by FREQ presses";
  EXPECT_TRUE(HasText(panel.DrawingCanvas(), "LAeq")) << "sub channel, set by its command";
  EXPECT_FALSE(HasText(panel.DrawingCanvas(), "LCeq"));
}

}  // namespace
}  // namespace halvane
