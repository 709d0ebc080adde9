// The main window may be destroyed before the objects that were built around it.

#include <gtest/gtest.h>

#include <memory>

#include "tests/gui/panel_fixture.h"

namespace halvane {
namespace {

struct Link {
  SimulatedMeter meter;
  SimulatedBackend backend{meter};
  USB usb{backend};
  test::ScratchFolder folder;
  std::unique_ptr<Panel> panel = std::make_unique<Panel>(usb, folder.Path());
};

TEST(WindowLifetimesTest, TheMainWindowMayGoBeforeItsMeterControls) {
  Link link;
  QTimer unused;
  test::ScriptedDialogs dialogs(unused);
  {
    MeterControls controls(*link.panel, link.usb, dialogs, [](int) {});
    link.panel.reset();
  }
  SUCCEED() << "the toolbar commands were deleted once, by their owner";
}

TEST(WindowLifetimesTest, ASearchAfterTheMainWindowIsGoneLeavesItAlone) {
  Link link;
  link.panel->PollMeter();
  link.panel.reset();
  link.backend.Unplug();
  EXPECT_FALSE(link.usb.FindMeter());
  link.backend.Replug();
  EXPECT_TRUE(link.usb.FindMeter());
}

}  // namespace
}  // namespace halvane
