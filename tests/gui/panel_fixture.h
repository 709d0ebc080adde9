#pragma once
// A main window over the simulated meter, with its temporary record file in a fresh folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "link/usb.h"
#include "live/panel.h"
#include "sim/simulated_backend.h"
#include "sim/simulated_meter.h"

namespace halvane {

class PanelFixture : public ::testing::Test {
 protected:
  PanelFixture() : backend(meter), usb(backend) {
    backend.SetWait([](int) {});
    temp_folder =
        std::filesystem::path(::testing::TempDir()) /
        ("halvane-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(temp_folder);
    panel = std::make_unique<Panel>(usb, temp_folder);
  }
  ~PanelFixture() override {
    panel.reset();
    std::filesystem::remove_all(temp_folder);
  }

  template <typename Widget>
  Widget* Find(const char* name) {
    return panel->findChild<Widget*>(name);
  }

  SimulatedMeter meter;
  SimulatedBackend backend;
  USB usb;
  std::filesystem::path temp_folder;
  std::unique_ptr<Panel> panel;
};

}  // namespace halvane
