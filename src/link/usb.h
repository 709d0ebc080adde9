#pragma once
// The link to the meter: finds it lazily, keeps the report buffers and exchanges one output and
// one input report at a time. A read that fails or times out drops the link; the next call
// searches again. Nothing here reports an error to the caller.

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "link/hid_backend.h"
#include "link/link_trace.h"
#include "link/meter_ids.h"
#include "link/reports.h"

namespace halvane {

// What every command says when an exchange finds no meter.
inline constexpr std::string_view kMeterNotConnectedMessage =
    "The meter is not connected. Check that it is switched on and that its USB cable is "
    "plugged in, then try again.";
// What is said instead when a device with the meter's IDs is there but may not be opened.
inline constexpr std::string_view kMeterAccessRefusedMessage =
    "The meter is attached but access to it was refused. Install the udev rule "
    "packaging/70-halvane.rules as /etc/udev/rules.d/70-halvane.rules, then unplug and plug in "
    "the meter.";

class USB {
 public:
  static constexpr int kReadTimeoutMs = 2000;
  static constexpr std::string_view kNoConnection = " No Connection";

  explicit USB(HidBackend& backend, MeterIds ids = {});
  ~USB();
  USB(const USB&) = delete;
  USB& operator=(const USB&) = delete;

  // Never cleared: bytes a command does not set go out as the previous command left them.
  OutputReportBuffer& OutputReport() { return output_report_; }
  // The last input report read successfully; a failed read leaves it as it was.
  const InputReportBuffer& InputReportCopy() const { return input_report_copy_; }
  bool MeterConnected() const { return meter_connected_; }
  // True when the last search found no meter but a device that refused access to its node.
  bool AccessRefused() const { return access_refused_; }
  // The device found by the last search that succeeded (its path and serial number).
  const HidDeviceInfo& ConnectedDevice() const { return device_info_; }
  std::size_t InputReportLength() const { return input_report_length_; }
  std::size_t OutputReportLength() const { return output_report_length_; }

  // Receives the caption for the main window's name label after each search: " No Connection"
  // when the meter was not found, the meter's name when it was. AccessRefused() already tells
  // about that search.
  void SetNameLabelSink(std::function<void(std::string_view)> sink) {
    name_sink_ = std::move(sink);
  }

  // Receives every search and every device that did not answer; null for none.
  void SetTrace(LinkTrace* trace) { trace_ = trace; }

  // The first device with the meter's IDs on a vendor-defined usage page that opens wins.
  // Devices that did not answer their first read when last opened are tried after the others.
  bool FindMeter();
  void ExchangeReports();  // write, then read; searches first when not connected
  void SendReport();       // write only; when not connected only searches
  void ReceiveReport();    // read only; when not connected only searches
  void ReadInputReport();  // a bare read of one report, without a search
  void WriteOutputReport();

 private:
  void Connect(const HidDeviceInfo& info, std::unique_ptr<HidDevice> device);
  void DropLink();

  HidBackend& backend_;
  MeterIds ids_;
  std::unique_ptr<HidDevice> device_;
  HidDeviceInfo device_info_;
  bool answered_ = false;  // the open device has answered a read
  std::set<std::string> unanswered_paths_;
  LinkTrace* trace_ = nullptr;
  bool meter_connected_ = false;
  bool access_refused_ = false;
  bool numbered_input_ = false;
  std::size_t input_report_length_ = 0;
  std::size_t output_report_length_ = 0;
  OutputReportBuffer output_report_{};
  InputReportBuffer input_report_{};
  InputReportBuffer input_report_copy_{};
  std::function<void(std::string_view)> name_sink_;
};

}  // namespace halvane
