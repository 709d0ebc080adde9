// Builds the device link over the instrument or the simulated meter and opens the main window.

#include <QApplication>
#include <QStandardPaths>
#include <cstdio>
#include <memory>
#include <string>

#include "app/device_link.h"
#include "app/options.h"
#include "control/meter_controls.h"
#include "graphs/plot_selection_controls.h"
#include "history/level_history_controls.h"
#include "link/usb.h"
#include "live/panel.h"
#include "records/logged_data_controls.h"

namespace {

std::filesystem::path TempFolder() {
#ifdef _WIN32
  return "C:\\Temp";
#else
  return QStandardPaths::writableLocation(QStandardPaths::CacheLocation).toStdString();
#endif
}

// Every download is also kept here, where "Plot" looks first.
std::filesystem::path RecordsFolder() {
  return std::filesystem::path(
             QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation).toStdString()) /
         "records";
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const halvane::ParsedOptions parsed = halvane::ParseOptions(arguments);
  if (!parsed.options) {
    std::fprintf(stderr, "halvane: %s\n\n%s", parsed.error.c_str(), halvane::UsageText().c_str());
    return 2;
  }
  const halvane::Options& options = *parsed.options;
  if (options.show_help) {
    std::fputs(halvane::UsageText().c_str(), stdout);
    return 0;
  }
  if (options.show_version) {
    std::puts("halvane 8.01 (130809)");
    return 0;
  }

  halvane::LinkFailure failure;
  const std::unique_ptr<halvane::DeviceLink> link = halvane::DeviceLink::Open(options, failure);
  if (!link) {
    std::fprintf(stderr, "halvane: %s\n", failure.message.c_str());
    return 2;
  }

  QApplication application(argc, argv);
  QApplication::setApplicationName("halvane");
  QApplication::setApplicationVersion("8.01");

  halvane::USB usb(link->Backend(), options.device);
  usb.SetTrace(link->Trace());
  halvane::Panel panel(usb, TempFolder());
  halvane::QtUserDialogs dialogs(&panel);
  halvane::MeterControls controls(panel, usb, dialogs, halvane::BlockingPause);
  halvane::DesktopTextEditor editor;
  const std::filesystem::path records_folder = RecordsFolder();
  halvane::LoggedDataControls logged_data(controls.Context(), panel, controls.Toolbar(), editor,
                                          records_folder);
  halvane::PlotSelectionControls plot_selection(panel, controls.Toolbar(), dialogs, editor,
                                                records_folder);
  halvane::LevelHistoryControls level_history(panel, controls.Toolbar(), dialogs);
  panel.show();
  return QApplication::exec();
}
