#pragma once
// The device side of the link: takes the PC's output reports, answers them from one coherent
// meter state and queues the replies as input reports. A test may have it keep every report it
// receives.

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "link/reports.h"
#include "sim/command_table.h"
#include "sim/level_model.h"
#include "sim/meter_state.h"

namespace halvane {

class SimulatedMeter {
 public:
  using WallClock = std::function<std::chrono::system_clock::time_point()>;

  // The data logger holds the sample SD card and flash image.
  // The meter's own clock starts at wall_clock() and advances with it. By default the wall clock
  // is the PC's and the meter shows its local time; an injected clock's time points are shown
  // as they are (read as UTC), so tests see exactly the time they inject.
  explicit SimulatedMeter(std::uint32_t seed = 1, WallClock wall_clock = {});

  // One output report from the PC (report ID first). Its replies are queued.
  void Receive(std::span<const std::uint8_t> output_report);
  // The next queued input report (161 bytes, byte 0 the report ID 0), if any; once the queue is
  // empty, the next page of a transfer under way.
  std::optional<InputReportBuffer> TakeReply();
  // Drops the replies not yet taken and ends a transfer under way.
  void DiscardReplies();

  // Keeps every report received from now on, for tests of the bytes sent. Off by default, so
  // that a meter polled for days (--simulate) keeps nothing of the polls.
  void KeepReceivedReports() { keep_received_ = true; }
  const std::vector<std::vector<std::uint8_t>>& ReceivedReports() const { return received_; }
  void ClearReceivedReports() { received_.clear(); }

  MeterState& State() { return state_; }
  const MeterState& State() const { return state_; }

 private:
  // Lets the measurement time run on for the wall time since the last report.
  void AdvanceMeasurementTime(std::chrono::system_clock::time_point now);

  WallClock wall_clock_;
  MeterState state_;
  LevelModel levels_;
  CommandTable commands_;
  std::chrono::system_clock::time_point last_report_time_;
  std::deque<InputReportBuffer> replies_;
  PageStream pages_;
  bool keep_received_ = false;
  std::vector<std::vector<std::uint8_t>> received_;
};

}  // namespace halvane
