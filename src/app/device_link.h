#pragma once
// The device under the link as the command line chose it: the instrument over hidapi or the
// simulated meter with its data logger files, narrowed to one path, traced to a file.

#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/options.h"
#include "link/hid_backend.h"
#include "link/path_filter_backend.h"
#include "link/tracing_backend.h"
#include "sim/simulated_backend.h"
#include "sim/simulated_meter.h"
#include "sim/timed_replug_backend.h"

namespace halvane {

// Why a device link could not be built.
struct LinkFailure {
  std::string message;
  bool no_device_support = false;  // a real meter was asked for and this build has no USB
};

class DeviceLink {
 public:
  // Null, after saying why in `failure`, when a data logger file or the trace file cannot be
  // opened, or a real meter cannot be reached by this build.
  static std::unique_ptr<DeviceLink> Open(const Options& options, LinkFailure& failure);

  HidBackend& Backend() { return *backend_; }
  TracingBackend* Trace() { return tracing_.get(); }
  // The simulated meter's backend; null over the instrument.
  SimulatedBackend* Simulated() { return simulated_.empty() ? nullptr : simulated_.front().get(); }

 private:
  DeviceLink() = default;

  // Builds the simulated meters the options ask for, each behind its own backend.
  std::optional<std::string> OpenSimulatedMeters(const Options& options);

  std::vector<std::unique_ptr<SimulatedMeter>> meters_;
  std::vector<std::unique_ptr<SimulatedBackend>> simulated_;
  std::vector<std::unique_ptr<TimedReplugBackend>> replugs_;
  std::unique_ptr<HidBackend> device_backend_;
  std::unique_ptr<PathFilterBackend> path_filter_;
  std::ofstream trace_stream_;
  std::unique_ptr<TracingBackend> tracing_;
  HidBackend* backend_ = nullptr;
};

}  // namespace halvane
