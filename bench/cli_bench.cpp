// halvane-cli as scripts run it, against the simulated meter: the processor time of `live` per
// 160 ms poll, and `flash get --all` of a full flash, whose simulated link answers at once.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "records/sd_set.h"
#include "sim/sample_logger_contents.h"

namespace halvane {
namespace {

namespace fs = std::filesystem;

// Processor seconds, user and system, of the finished child processes so far.
double ChildCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void RunCli(benchmark::State& state, const std::string& arguments) {
  const std::string command = std::string("'") + HALVANE_CLI + "' " + arguments + " >/dev/null";
  if (std::system(command.c_str()) != 0) {
    state.SkipWithError(("failed: " + command).c_str());
  }
}

void LiveCpuPerPoll(benchmark::State& state) {
  constexpr int kPolls = 50;
  double cpu = 0;
  for (auto _ : state) {
    const double before = ChildCpuSeconds();
    RunCli(state, "--simulate live --count " + std::to_string(kPolls));
    cpu += ChildCpuSeconds() - before;
  }
  const double per_poll = cpu / static_cast<double>(state.iterations() * kPolls);
  state.counters["cpu_ms_per_poll"] = per_poll * 1e3;
  state.counters["core_percent"] = 100 * per_poll / 0.160;
}
BENCHMARK(LiveCpuPerPoll)->Iterations(1)->Unit(benchmark::kSecond);

void FlashGetAllOfAFullFlash(benchmark::State& state) {
  const fs::path folder =
      fs::temp_directory_path() / ("halvane-cli-bench-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const std::vector<std::uint8_t> image = FullFlashImage();
  std::ofstream(folder / "full.bin", std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()),
             static_cast<std::streamsize>(image.size()));
  double cpu = 0;
  for (auto _ : state) {
    const double before = ChildCpuSeconds();
    RunCli(state, "--simulate --sim-flash '" + (folder / "full.bin").string() +
                      "' flash get --all -o '" + (folder / "records").string() + "'");
    cpu += ChildCpuSeconds() - before;
  }
  const double pages = static_cast<double>(PageCount(image.size()) * state.iterations());
  state.counters["pages/s"] = pages / cpu;
  state.counters["records"] = static_cast<double>(
      std::distance(fs::directory_iterator(folder / "records"), fs::directory_iterator()));
  fs::remove_all(folder);
}
BENCHMARK(FlashGetAllOfAFullFlash)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace halvane

BENCHMARK_MAIN();
