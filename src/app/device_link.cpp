#include "app/device_link.h"

#include "files/utf8_path.h"
#include "link/device_backend.h"
#include "link/joined_backend.h"
#include "sim/logger_files.h"

namespace halvane {

std::optional<std::string> DeviceLink::OpenSimulatedMeters(const Options& options) {
  // A path naming one of several simulated meters builds that one alone.
  std::vector<int> numbers;
  for (int number = 1; number <= options.sim_meters; ++number) {
    if (options.device_path.empty() ||
        options.device_path == SimulatedBackend::MeterPathOf(number)) {
      numbers.push_back(number);
    }
  }
  std::vector<HidBackend*> backends;
  for (const int number : numbers) {
    auto meter = std::make_unique<SimulatedMeter>(static_cast<std::uint32_t>(number));
    std::optional<std::string> failure;
    if (!options.sim_flash_file.empty()) {
      failure = LoadFlashImage(options.sim_flash_file, meter->State());
    }
    if (!failure && !options.sim_sd_files.empty()) {
      failure = LoadSdCard(options.sim_sd_files, meter->State());
    }
    if (failure) {
      return failure;
    }
    simulated_.push_back(std::make_unique<SimulatedBackend>(*meter, options.device, number));
    simulated_.back()->SetPace(options.sim_pace_ms);
    meters_.push_back(std::move(meter));
    backends.push_back(simulated_.back().get());
    if (options.sim_unplug_at_read > 0) {
      replugs_.push_back(std::make_unique<TimedReplugBackend>(
          *simulated_.back(), options.sim_unplug_at_read,
          std::chrono::milliseconds(options.sim_replug_after_ms)));
      backends.back() = replugs_.back().get();
    }
  }
  device_backend_ = std::make_unique<JoinedBackend>(std::move(backends));
  return std::nullopt;
}

std::unique_ptr<DeviceLink> DeviceLink::Open(const Options& options, LinkFailure& failure) {
  std::unique_ptr<DeviceLink> link(new DeviceLink);
  if (options.simulate) {
    if (std::optional<std::string> unloaded = link->OpenSimulatedMeters(options)) {
      failure.message = *unloaded;
      return nullptr;
    }
  } else {
    link->device_backend_ = OpenDeviceBackend(failure.message);
    if (!link->device_backend_) {
      failure.no_device_support = true;
      return nullptr;
    }
  }
  link->backend_ = link->device_backend_.get();
  if (!options.device_path.empty()) {
    link->path_filter_ = std::make_unique<PathFilterBackend>(*link->backend_, options.device_path);
    link->backend_ = link->path_filter_.get();
  }
  if (!options.trace_file.empty()) {
    link->trace_stream_.open(options.trace_file, std::ios::app | std::ios::binary);
    if (!link->trace_stream_) {
      failure.message = "cannot open the trace file " + Utf8Text(options.trace_file);
      return nullptr;
    }
    link->tracing_ = std::make_unique<TracingBackend>(*link->backend_, link->trace_stream_);
    link->backend_ = link->tracing_.get();
  }
  return link;
}

}  // namespace halvane
