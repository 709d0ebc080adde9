// Builds the device link over the instrument or the simulated meter and opens the main window.

#include <QApplication>
#include <QStandardPaths>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "app/options.h"
#include "control/meter_controls.h"
#include "graphs/plot_selection_controls.h"
#include "history/level_history_controls.h"
#include "link/hidapi_backend.h"
#include "link/tracing_backend.h"
#include "link/usb.h"
#include "live/panel.h"
#include "records/logged_data_controls.h"
#include "sim/logger_files.h"
#include "sim/simulated_backend.h"
#include "sim/simulated_meter.h"

namespace {

std::filesystem::path TempFolder() {
#ifdef _WIN32
  return "C:\\Temp";
#else
  return QStandardPaths::writableLocation(QStandardPaths::CacheLocation).toStdString();
#endif
}

// The simulated meter with the data logger loaded from the files given; null when one cannot be
// loaded, after saying why.
std::unique_ptr<halvane::SimulatedMeter> SimulatedMeterFor(const halvane::Options& options) {
  auto meter = std::make_unique<halvane::SimulatedMeter>();
  std::optional<std::string> error;
  if (!options.sim_flash_file.empty()) {
    error = halvane::LoadFlashImage(options.sim_flash_file, meter->State());
  }
  if (!error && !options.sim_sd_files.empty()) {
    error = halvane::LoadSdCard(options.sim_sd_files, meter->State());
  }
  if (error) {
    std::fprintf(stderr, "halvane: %s\n", error->c_str());
    return nullptr;
  }
  return meter;
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

  std::unique_ptr<halvane::SimulatedMeter> meter;
  if (options.simulate) {
    meter = SimulatedMeterFor(options);
    if (!meter) {
      return 2;
    }
  }

  QApplication application(argc, argv);
  QApplication::setApplicationName("halvane");
  QApplication::setApplicationVersion("8.01");

  std::unique_ptr<halvane::HidBackend> device_backend;
  if (meter) {
    device_backend = std::make_unique<halvane::SimulatedBackend>(*meter, options.device);
  } else {
    device_backend = std::make_unique<halvane::HidapiBackend>();
  }

  std::ofstream trace_stream;
  std::unique_ptr<halvane::TracingBackend> tracing;
  halvane::HidBackend* backend = device_backend.get();
  if (!options.trace_file.empty()) {
    trace_stream.open(options.trace_file, std::ios::app);
    if (!trace_stream) {
      std::fprintf(stderr, "halvane: cannot open the trace file %s\n", options.trace_file.c_str());
      return 1;
    }
    tracing = std::make_unique<halvane::TracingBackend>(*backend, trace_stream);
    backend = tracing.get();
  }

  halvane::USB usb(*backend, options.device);
  usb.SetTrace(tracing.get());
  halvane::Panel panel(usb, TempFolder());
  halvane::QtUserDialogs dialogs(&panel);
  halvane::MeterControls controls(panel, usb, dialogs, halvane::BlockingPause);
  halvane::DesktopTextEditor editor;
  halvane::LoggedDataControls logged_data(controls.Context(), panel, controls.Toolbar(), editor);
  halvane::PlotSelectionControls plot_selection(panel, panel.Lists(), controls.Toolbar(), dialogs,
                                                editor);
  halvane::LevelHistoryControls level_history(panel, controls.Toolbar(), dialogs);
  panel.show();
  return QApplication::exec();
}
