// The logged-data transfers over a simulated meter that answers at once, so that only the
// program's own work is measured: a full flash read, its walk and the largest record's file,
// and the download and file of a 500 kB SD set.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>

#include "records/logger_image.h"
#include "records/transfers.h"
#include "sim/sample_logger_contents.h"
#include "sim/sd_set_text.h"
#include "sim/simulated_backend.h"
#include "sim/simulated_meter.h"

namespace halvane {
namespace {

double PeakResidentMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

struct ZeroLatencyMeter {
  ZeroLatencyMeter() : backend(meter), usb(backend) {
    backend.SetWait([](int) {});
  }
  SimulatedMeter meter;
  SimulatedBackend backend;
  USB usb;
};

void FullFlashRead(benchmark::State& state) {
  ZeroLatencyMeter link;
  link.meter.State().flash_image = FullFlashImage();
  std::uint64_t pages = 0;
  for (auto _ : state) {
    const LoggerSize size = QueryLoggerSize(link.usb);
    const LoggerRead read = ReadLoggerImage(link.usb, size.used_size);
    benchmark::DoNotOptimize(read.image.data());
    pages += PageCount(size.used_size);
  }
  state.counters["pages/s"] =
      benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kIsRate);
  state.counters["peak_rss_MB"] = PeakResidentMegabytes();
}
BENCHMARK(FullFlashRead)->Unit(benchmark::kMillisecond);

void FullFlashWalkAndLargestRecordFile(benchmark::State& state) {
  const std::vector<std::uint8_t> image = FullFlashImage();
  const auto used = static_cast<std::uint32_t>(image.size());
  std::size_t bytes = 0;
  for (auto _ : state) {
    const LoggerRecordTable table = WalkLoggerImage(image, used);
    const auto largest =
        std::max_element(table.begin(), table.end(),
                         [](const auto& a, const auto& b) { return a.length < b.length; });
    const std::string file = FlashRecordFileText(image, *largest);
    bytes = file.size();
    benchmark::DoNotOptimize(file.data());
  }
  state.counters["file_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(FullFlashWalkAndLargestRecordFile)->Unit(benchmark::kMillisecond);

void SdSetDownloadAndFile(benchmark::State& state) {
  ZeroLatencyMeter link;
  SdSetDescription description;
  description.mode = LoggedMode::OctaveAndThirdOctave;
  description.records = static_cast<int>((500000 - SdSetHeaderLength(description.mode)) /
                                         SdSetRecordLength(description.mode));
  const std::string set_text = ComposeSdSetText(description);
  link.meter.State().sd_entries = {set_text};
  const SdSet set{1, SetLengthField(set_text)};
  std::uint64_t pages = 0;
  for (auto _ : state) {
    const SdDownload download = DownloadSdSet(link.usb, set);
    const std::string file = SdRecordFileText(download.set_text, set.length);
    benchmark::DoNotOptimize(file.data());
    pages += PageCount(set.length);
  }
  state.counters["pages/s"] =
      benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kIsRate);
  state.counters["set_bytes"] = static_cast<double>(set_text.size());
}
BENCHMARK(SdSetDownloadAndFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace halvane

BENCHMARK_MAIN();
