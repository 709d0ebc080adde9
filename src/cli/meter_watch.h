#pragma once
// One meter under unattended monitoring, on a thread of its own so that a meter that hangs or
// goes away holds up no other: polls every 160 ms, feeds the results to the shared feeds every
// few seconds, tells the broker when its readings go stale and come back, and records where
// its readings ended for the next run.

#include <atomic>
#include <chrono>
#include <thread>

#include "app/options.h"
#include "monitor/meter_monitor.h"
#include "monitor/monitor_feeds.h"

namespace halvane {

struct WatchSettings {
  MonitorSettings monitor;
  std::chrono::milliseconds stale_after{10'000};
  bool main_item_to_lp = false;
};

class MeterWatch {
 public:
  // Watches the meter `options` lead to (one path, or the first meter found) until `stop`.
  MeterWatch(Options options, const WatchSettings& settings, MonitorFeeds& feeds,
             const std::atomic<bool>& stop);
  ~MeterWatch();  // waits for the thread, which ends soon after `stop`
  MeterWatch(const MeterWatch&) = delete;
  MeterWatch& operator=(const MeterWatch&) = delete;

 private:
  void Run();

  Options options_;
  WatchSettings settings_;
  MonitorFeeds& feeds_;
  const std::atomic<bool>& stop_;
  std::thread thread_;
};

}  // namespace halvane
