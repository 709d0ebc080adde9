// Figures of halvane-cli monitor with a real VictoriaMetrics: 20 simulated meters feeding it at
// the 160 ms poll (processor time per meter and peak memory), and the replay of a spool that
// holds 24 hours of periods and events after an outage.
// The feed's length is HALVANE_MONITOR_SECONDS (default 600).

#include <benchmark/benchmark.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <thread>

#include "monitor/http_delivery.h"
#include "monitor/monitor_records.h"
#include "monitor/spool_sender.h"
#include "tests/monitor/test_servers.h"

namespace halvane {
namespace {

using test::ServerKind;
using test::TemporaryFolder;
using test::TestServer;

constexpr int kMeters = 20;

void TwentyMetersIntoOneDatabase(benchmark::State& state) {
  const char* seconds_text = std::getenv("HALVANE_MONITOR_SECONDS");
  const int seconds = seconds_text != nullptr ? std::atoi(seconds_text) : 600;
  for (auto _ : state) {
    const auto server = TestServer::Start(ServerKind::VictoriaMetrics);
    TemporaryFolder folder;
    test::ChildProcess monitor({HALVANE_CLI, "--simulate", "--sim-meters", std::to_string(kMeters),
                                "monitor", "--all-meters", "--period", "1m,15m", "--limit", "70",
                                "--state", (folder.Path() / "state").string(), "-o",
                                (folder.Path() / "out").string(), "--influx-url", server->Url()},
                               folder.Path() / "stdout", folder.Path() / "stderr");
    std::this_thread::sleep_for(std::chrono::seconds{seconds});
    monitor.Signal(SIGTERM);
    if (monitor.Wait(std::chrono::seconds{30}) != 0) {
      state.SkipWithError("the monitor did not end cleanly");
    }
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    state.counters["cpu_percent_per_meter"] = 100.0 * cpu / seconds / kMeters;
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
  }
}
BENCHMARK(TwentyMetersIntoOneDatabase)->Unit(benchmark::kSecond)->Iterations(1);

// A day of one meter's results as the monitor spools them: a batch at the end of every minute
// (both channels' minute, and the quarter and the hour when they end too), an event every ten
// minutes.
void FillSpoolWithADay(Spool& spool) {
  constexpr WallMs kStart = 1'780'272'000'000;
  constexpr WallMs kMinute = 60 * kSecondMs;
  std::string error;
  for (WallMs minute = 0; minute < 24 * 60; ++minute) {
    MonitorRecords records;
    const WallMs start = kStart + minute * kMinute;
    for (const WallMs period : {kMinute, 15 * kMinute, kHourMs}) {
      if ((minute + 1) * kMinute % period != 0) {
        continue;
      }
      for (const char* channel : {"main", "sub"}) {
        PeriodResult result;
        result.channel = channel;
        result.period_ms = period;
        result.start_ms = start + kMinute - period;
        result.end_ms = start + kMinute;
        result.quantity = "LAF";
        result.statistics.leq = 55.5;
        result.statistics.lmax = 70.1;
        result.statistics.lmin = 40.2;
        result.statistics.exceeded = {66.0, 61.0, 55.0, 45.0, 42.0};
        result.samples = period / 160;
        result.covered_ms = period;
        records.periods.push_back(result);
      }
    }
    if (minute % 10 == 0) {
      records.events.push_back({"main", "LAF", start, start + 4000, 72.0, 75.0, 78.0});
    }
    for (const FeedLines& feed : FeedLinesOf("bench", "SIM00001", records, {})) {
      spool.Append(feed.lines, error);
    }
  }
}

void ReplayADayOfPeriods(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    const auto server = TestServer::Start(ServerKind::VictoriaMetrics);
    TemporaryFolder folder;
    std::string error;
    const auto spool = Spool::Open(folder.Path() / "spool", error);
    FillSpoolWithADay(*spool);
    state.counters["batches"] = static_cast<double>(spool->Waiting());
    HttpDelivery delivery(*ParseServerAddress(server->Url(), HttpDelivery::Rules(), {}, error));
    state.ResumeTiming();
    SpoolSender sender(*spool, delivery, "bench", [](const std::string&) {});
    while (spool->Waiting() > 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds{10});
    }
  }
}
BENCHMARK(ReplayADayOfPeriods)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
}  // namespace halvane

BENCHMARK_MAIN();
