#pragma once
// A main window over the simulated meter, with its temporary record file in a fresh folder.

#include <gtest/gtest.h>

#include <QTemporaryDir>
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
    meter.KeepReceivedReports();
    backend.SetWait([](int) {});
    panel = std::make_unique<Panel>(usb, temp_folder);
  }

  template <typename Widget>
  Widget* Find(const char* name) {
    return panel->findChild<Widget*>(name);
  }

  SimulatedMeter meter;
  SimulatedBackend backend;
  USB usb;
  QTemporaryDir temp_dir;  // removed with everything in it when the test ends
  std::filesystem::path temp_folder =
      std::filesystem::path(temp_dir.path().toStdString()) / "halvane";
  std::unique_ptr<Panel> panel;
};

}  // namespace halvane
