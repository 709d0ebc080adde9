#pragma once
// A HidBackend whose device is the simulated meter, with faults to inject: unplugging,
// silence (at once or at a later read, to cut a transfer), garbage, short reports, foreign
// devices with the meter's IDs ahead of it, and the choice of what a read returns when the meter
// has nothing queued.
// The backend must outlive the devices it opens.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "link/hid_backend.h"
#include "link/usb.h"
#include "sim/seeded_noise.h"
#include "sim/simulated_meter.h"

namespace halvane {

// Devices that carry the meter's IDs but are not the meter.
enum class ForeignDevice {
  RefusesToOpen,  // held by another program or not accessible
  KeyboardPage,   // a keyboard collection (usage page 0x0001) that opens and never answers
  NeverAnswers,   // a gadget on a vendor-defined page that opens, takes reports, never answers
};

// What a read returns when no reply is queued.
enum class IdleReads {
  RepeatLast,  // the last reply of this connection again; a time-out when there was none
  TimeOut,
};

// What befalls the meter at a chosen read.
enum class ReadFault { Unplug, Silence };

class SimulatedDevice;

class SimulatedBackend : public HidBackend {
 public:
  static constexpr const char* kMeterPath = "sim:meter";
  static constexpr const char* kMeterProduct = "Simulated Sound Level Meter";
  static constexpr const char* kMeterSerialNumber = "SIM00001";

  // Meter `number` (from 1) of several is at "sim:meter<number>" with its own serial number;
  // the first keeps the names above.
  explicit SimulatedBackend(SimulatedMeter& meter, MeterIds ids = {}, int number = 1);
  ~SimulatedBackend() override;

  // When the IDs match: the foreign devices, then the meter when plugged in.
  std::vector<HidDeviceInfo> Enumerate(std::uint16_t vendor_id, std::uint16_t product_id) override;
  std::unique_ptr<HidDevice> Open(const std::string& path) override;
  OpenFailure OpenError() const override { return open_error_; }

  // Not enumerated; open devices fail every write and read with -1; queued replies are lost.
  void Unplug();
  // Enumerated again; devices opened before the unplug stay dead.
  void Replug();
  // The meter logs what it receives but answers nothing: reads time out.
  void SetSilent(bool silent) { silent_ = silent; }
  // The meter is unplugged, or falls silent, just before the k-th read from now (k = 1: the
  // very next read) on any device, so that read already fails. Replaces a fault still to come;
  // k < 1 cancels it.
  void FailAtRead(ReadFault fault, int k);
  // Replies are random bytes (seeded) of full length.
  void SetGarbage(bool garbage) { garbage_ = garbage; }
  // Replies cut to this many data bytes; 0 = full length.
  void SetShortReports(std::size_t data_bytes) { short_report_bytes_ = data_bytes; }
  // One more device with the meter's IDs, after the foreign ones added before and ahead of
  // the meter in enumeration order.
  void AddForeignDevice(ForeignDevice kind) { foreign_devices_.push_back(kind); }
  void SetIdleReads(IdleReads mode) { idle_reads_ = mode; }
  // How a timed-out read spends its timeout; by default a real sleep.
  void SetWait(std::function<void(int ms)> wait) { wait_ = std::move(wait); }
  // Each reply takes this long to arrive, spent as a wait: a slower meter whose transfers can
  // be watched. 0, the default, answers at once.
  void SetPace(int ms_per_report) { pace_ms_ = ms_per_report; }

  const std::string& MeterPath() const { return meter_path_; }
  static std::string MeterPathOf(int number);

  int SearchCount() const { return search_count_; }        // calls of Enumerate
  int OpenCount() const { return open_count_; }            // successful opens of the meter
  int ForeignReports() const { return foreign_reports_; }  // reports written to foreign devices
  // The timeout of each read that timed out, in order.
  std::vector<int> TimedOutReads() const { return timed_out_reads_; }

 private:
  friend class SimulatedDevice;
  friend class ForeignGadget;

  bool Alive(int plug_generation) const {
    return plugged_in_ && plug_generation == plug_generation_;
  }
  int WriteToMeter(int plug_generation, std::span<const std::uint8_t> report);
  // Fills `data` from the next reply; `last_reply` is the connection's last delivered reply.
  int ReadFromMeter(int plug_generation, std::span<std::uint8_t> data, int timeout_ms,
                    std::vector<std::uint8_t>& last_reply);
  // Counts a read down towards the fault to come and brings it about at its read.
  void CountReadTowardsFault();
  // Sets `data` to the data bytes of a reply as the faults in force let them through.
  void Deliver(const InputReportBuffer& reply, std::vector<std::uint8_t>& data);
  int TimeOut(int timeout_ms);

  SimulatedMeter& meter_;
  MeterIds ids_;
  std::string meter_path_;
  std::string serial_number_;
  bool plugged_in_ = true;
  int plug_generation_ = 0;
  bool silent_ = false;
  bool garbage_ = false;
  std::optional<ReadFault> coming_fault_;
  int reads_before_fault_ = 0;
  std::size_t short_report_bytes_ = 0;
  std::vector<ForeignDevice> foreign_devices_;
  OpenFailure open_error_;
  int foreign_reports_ = 0;
  IdleReads idle_reads_ = IdleReads::RepeatLast;
  std::function<void(int ms)> wait_;
  int pace_ms_ = 0;
  SeededNoise garbage_noise_;
  int search_count_ = 0;
  int open_count_ = 0;
  std::vector<int> timed_out_reads_;
};

}  // namespace halvane
