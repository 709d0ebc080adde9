#include "app/device_link.h"

#include "link/hidapi_backend.h"
#include "sim/logger_files.h"

namespace halvane {

std::unique_ptr<DeviceLink> DeviceLink::Open(const Options& options, std::string& error) {
  std::unique_ptr<DeviceLink> link(new DeviceLink);
  if (options.simulate) {
    link->meter_ = std::make_unique<SimulatedMeter>();
    std::optional<std::string> failure;
    if (!options.sim_flash_file.empty()) {
      failure = LoadFlashImage(options.sim_flash_file, link->meter_->State());
    }
    if (!failure && !options.sim_sd_files.empty()) {
      failure = LoadSdCard(options.sim_sd_files, link->meter_->State());
    }
    if (failure) {
      error = *failure;
      return nullptr;
    }
    auto simulated = std::make_unique<SimulatedBackend>(*link->meter_, options.device);
    simulated->SetPace(options.sim_pace_ms);
    link->simulated_ = simulated.get();
    link->device_backend_ = std::move(simulated);
  } else {
    link->device_backend_ = std::make_unique<HidapiBackend>();
  }
  link->backend_ = link->device_backend_.get();
  if (link->simulated_ != nullptr && options.sim_unplug_at_read > 0) {
    link->replug_ = std::make_unique<TimedReplugBackend>(
        *link->simulated_, options.sim_unplug_at_read,
        std::chrono::milliseconds(options.sim_replug_after_ms));
    link->backend_ = link->replug_.get();
  }
  if (!options.device_path.empty()) {
    link->path_filter_ = std::make_unique<PathFilterBackend>(*link->backend_, options.device_path);
    link->backend_ = link->path_filter_.get();
  }
  if (!options.trace_file.empty()) {
    link->trace_stream_.open(options.trace_file, std::ios::app);
    if (!link->trace_stream_) {
      error = "cannot open the trace file " + options.trace_file;
      return nullptr;
    }
    link->tracing_ = std::make_unique<TracingBackend>(*link->backend_, link->trace_stream_);
    link->backend_ = link->tracing_.get();
  }
  return link;
}

}  // namespace halvane
