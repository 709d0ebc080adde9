// Saves pictures of the "History" window fed by the simulated meter at made-up PC times: a few
// minutes with the limit line crossed, an unplug and a log, and the 60-minute span.
// Usage: halvane_history_screenshots DIR

#include <qcustomplot.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QStandardPaths>
#include <cstdio>
#include <filesystem>

#include "history/level_history_window.h"
#include "link/usb.h"
#include "sim/simulated_backend.h"
#include "sim/simulated_meter.h"
#include "tools/save_window.h"

namespace {

using halvane::tools::Save;

// The log goes to DIR/history-log.csv instead of a file the user picks.
class ScreenshotDialogs : public halvane::QtUserDialogs {
 public:
  explicit ScreenshotDialogs(std::filesystem::path log) : QtUserDialogs(nullptr), log_(log) {}
  std::filesystem::path AskAppendFile(const std::string&, const std::string&) override {
    return log_;
  }

 private:
  std::filesystem::path log_;
};

// Polls the meter `polls` times, 160 ms apart on the made-up clock `pc_time_ms`.
void Poll(halvane::USB& usb, halvane::LevelHistoryWindow& window, std::int64_t& pc_time_ms,
          int polls) {
  for (int i = 0; i < polls; ++i) {
    usb.OutputReport()[0] = 0x00;
    usb.OutputReport()[1] = halvane::kLivePollCommand;
    usb.ExchangeReports();
    const halvane::LiveReading reading = halvane::DecodeLiveReply(usb.InputReportCopy());
    window.Record({pc_time_ms, pc_time_ms}, usb.MeterConnected() ? &reading : nullptr, false);
    pc_time_ms += 160;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: halvane_history_screenshots DIR\n", stderr);
    return 2;
  }
  QApplication application(argc, argv);
  QStandardPaths::setTestModeEnabled(true);  // the limit is not stored in the user's settings
  const QDir folder(argv[1]);
  folder.mkpath(".");
  halvane::SimulatedMeter meter;
  halvane::SimulatedBackend backend(meter);
  halvane::USB usb(backend);
  const std::filesystem::path log = std::filesystem::path(argv[1]) / "history-log.csv";
  std::filesystem::remove(log);
  ScreenshotDialogs dialogs(log);
  halvane::LevelHistoryWindow window(dialogs);
  window.findChild<QCheckBox*>("ChkLimit")->setChecked(true);
  window.findChild<QDoubleSpinBox*>("SpinLimit")->setValue(75.0);
  window.show();
  window.findChild<QPushButton*>("CmdLog")->click();

  std::int64_t pc_time_ms = QDateTime(QDate(2026, 12, 7), QTime(14, 0)).toMSecsSinceEpoch();
  Poll(usb, window, pc_time_ms, 1000);
  backend.Unplug();
  Poll(usb, window, pc_time_ms, 60);
  backend.Replug();
  Poll(usb, window, pc_time_ms, 700);
  window.Redraw();
  Save(window, folder, "history-5min-limit-unplug");

  Poll(usb, window, pc_time_ms, 22500 - 1760);
  auto* span = window.findChild<QComboBox*>("ComboSpan");
  span->setCurrentIndex(span->findData(60));
  window.Redraw();
  Save(window, folder, "history-60min");
  return 0;
}
