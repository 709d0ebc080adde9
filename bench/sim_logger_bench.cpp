// The simulated meter's side of the logged-data transfers: composing a full flash, and reading
// it page by page through the link from a meter that answers at once.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstddef>

#include "link/usb.h"
#include "sim/page_stream.h"
#include "sim/sample_logger_contents.h"
#include "sim/simulated_backend.h"
#include "sim/simulated_meter.h"

namespace {

void ComposeFullFlash(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(halvane::FullFlashImage());
  }
}
BENCHMARK(ComposeFullFlash)->Unit(benchmark::kMillisecond);

void ReadFullFlashThroughTheLink(benchmark::State& state) {
  halvane::SimulatedMeter meter(1, [] { return std::chrono::system_clock::time_point{}; });
  meter.State().flash_image = halvane::FullFlashImage();
  halvane::SimulatedBackend backend(meter);
  halvane::USB usb(backend);
  usb.FindMeter();
  const std::size_t pages = halvane::PageStream::PagesFor(meter.State().flash_image.size());
  for (auto _ : state) {
    if (!usb.MeterConnected()) {
      state.SkipWithError("the simulated meter was lost");
      break;
    }
    auto& report = usb.OutputReport();
    report[1] = 0x43;
    report[2] = 0x04;
    report[3] = 0x00;
    report[4] = 0x01;
    report[5] = 0x01;
    usb.SendReport();
    for (std::size_t page = 0; page < pages; ++page) {
      usb.ReceiveReport();
      benchmark::DoNotOptimize(usb.InputReportCopy()[1]);
    }
  }
  state.counters["pages/s"] =
      benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(ReadFullFlashThroughTheLink)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
