// Figures for the "History" window holding 24 hours of polls: one poll appended and the whole
// day replotted at 907 x 631, and the resident memory the full window adds.

#include <benchmark/benchmark.h>
#include <qcustomplot.h>

#include <unistd.h>

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QStandardPaths>
#include <cmath>
#include <fstream>

#include "history/level_history_window.h"

namespace {

constexpr std::int64_t kStart = 1'700'000'000'000;
constexpr std::size_t kDay = halvane::LevelHistory::kDayOfPolls;

// A sound level meter reply whose main value and sub Lp wander between 45 and 95 dB.
halvane::LiveReading Reading(std::size_t poll) {
  const auto tenths = static_cast<int>(700 + 250 * std::sin(static_cast<double>(poll) / 900.0) +
                                       static_cast<double>(poll * 7919 % 60));
  halvane::InputReportBuffer reply{};
  reply[133] = reply[23] = static_cast<std::uint8_t>(tenths >> 8);
  reply[134] = reply[24] = static_cast<std::uint8_t>(tenths & 0xFF);
  return halvane::DecodeLiveReply(reply);
}

// A day of polls with an unplug of a minute every hour.
void FillDay(halvane::LevelHistoryWindow& window) {
  for (std::size_t poll = 0; poll < kDay; ++poll) {
    const bool unplugged = poll % 22500 < 375;
    const halvane::LiveReading reading = Reading(poll);
    const std::int64_t time = kStart + static_cast<std::int64_t>(poll) * 160;
    window.Record({time, time}, unplugged ? nullptr : &reading, false);
  }
}

double ResidentMegabytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6;
}

// Argument: the minutes shown, the newest sample at the right edge (1440: the whole day). The
// limit line is on, so the exceedances are counted too.
void BM_AppendAndReplotFullDay(benchmark::State& state) {
  QStandardPaths::setTestModeEnabled(true);
  halvane::QtUserDialogs dialogs(nullptr);
  halvane::LevelHistoryWindow window(dialogs);
  window.Chart().setFixedSize(907, 631);
  window.show();
  window.findChild<QCheckBox*>("ChkLimit")->setChecked(true);
  window.findChild<QDoubleSpinBox*>("SpinLimit")->setValue(80.0);
  FillDay(window);
  const double end = static_cast<double>(kStart) / 1000 + 86400 * 1.01;
  window.Chart().xAxis->setRange(end - 60.0 * static_cast<double>(state.range(0)), end);
  std::size_t poll = kDay;
  for (auto _ : state) {
    const halvane::LiveReading reading = Reading(poll);
    const std::int64_t time = kStart + static_cast<std::int64_t>(poll++) * 160;
    window.Record({time, time}, &reading);
  }
}

void BM_ResidentMemoryOfAFullDay(benchmark::State& state) {
  for (auto _ : state) {
    const double before = ResidentMegabytes();
    halvane::QtUserDialogs dialogs(nullptr);
    halvane::LevelHistoryWindow window(dialogs);
    window.Chart().setFixedSize(907, 631);
    window.show();
    FillDay(window);
    window.Redraw();
    state.counters["added_MB"] = ResidentMegabytes() - before;
  }
}

BENCHMARK(BM_AppendAndReplotFullDay)->Arg(60)->Arg(1440)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResidentMemoryOfAFullDay)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
