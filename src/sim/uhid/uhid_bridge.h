#pragma once
// Serves one device of a HID backend (the simulated meter, or a gadget beside it) on uhid: each
// output report the kernel passes on is written to the device, and its replies go out as input
// reports at the pace of a full-speed interrupt pipe. The meter can be unplugged after a number
// of reports or a time, and plugged in again later.

#include <chrono>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "link/hid_backend.h"
#include "sim/simulated_backend.h"
#include "sim/uhid/uhid_device.h"

namespace halvane {

struct UhidMeterFaults {
  // Each report goes out this long after the previous report or the command it answers.
  std::chrono::microseconds report_interval{1000};
  bool numbered = false;                      // input reports under report ID 1
  int unplug_after_reports = 0;               // 0: never
  std::chrono::milliseconds unplug_after{0};  // after the device appeared; 0: never
  std::chrono::milliseconds replug_after{0};  // after it went away; 0: never
};

class UhidBridge {
 public:
  using Clock = std::chrono::steady_clock;

  // Serves the device `backend` opens at `info.path`; `meter`, when given, is unplugged and
  // plugged in with the uhid device. Events are written to `log`, one line each.
  UhidBridge(HidBackend& backend, SimulatedBackend* meter, const HidDeviceInfo& info,
             UhidIdentity identity, const UhidMeterFaults& faults, std::ostream& log);
  ~UhidBridge();

  // Creates the uhid device; false, after writing why into `error`, when that fails.
  bool Plug(std::string& error);

  int Fd() const { return uhid_ ? uhid_->Fd() : -1; }
  // When Serve has something to do without an event on Fd(): a report, an unplug or a replug.
  std::optional<Clock::time_point> NextDue() const;
  // Takes the event on Fd() when `readable` and does what is due at `now`. False, after
  // writing why into `error`, when a replug fails.
  bool Serve(bool readable, Clock::time_point now, std::string& error);

 private:
  Clock::time_point NextSlot() const;
  void SendNextReport(Clock::time_point now);
  void Unplug(Clock::time_point now);

  HidBackend& backend_;
  SimulatedBackend* meter_;
  std::string path_;
  UhidIdentity identity_;
  UhidMeterFaults faults_;
  std::ostream& log_;
  std::unique_ptr<HidDevice> device_;
  std::unique_ptr<UhidDevice> uhid_;
  std::string node_;
  bool unplugged_once_ = false;
  bool replies_pending_ = false;
  bool going_away_ = false;  // the last report before an unplug went out
  int reports_sent_ = 0;
  Clock::time_point last_slot_{};
  Clock::time_point command_at_{};
  std::optional<Clock::time_point> unplug_at_;
  std::optional<Clock::time_point> replug_at_;
};

}  // namespace halvane
