#pragma once
// One HID device on the kernel's uhid (Linux): the HID core takes it for a device on the USB
// and gives it a hidraw node, as it would the meter. Its output reports arrive as events on
// Fd(); the input reports written to it reach the node's readers.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link/meter_ids.h"

struct uhid_event;  // <linux/uhid.h>

namespace halvane {

struct UhidIdentity {
  MeterIds ids;
  std::string product;  // what hidapi reports as the product string
  std::string serial;   // what hidapi reports as the serial number
  std::string phys;     // a path of our own, by which the device's hidraw node is found
  std::vector<std::uint8_t> descriptor;
};

class UhidDevice {
 public:
  // Null, after writing why into `error`, when /dev/uhid cannot be opened or refuses the device.
  static std::unique_ptr<UhidDevice> Create(const UhidIdentity& identity, std::string& error);
  // The device goes away with its file, as if unplugged.
  ~UhidDevice();
  UhidDevice(const UhidDevice&) = delete;
  UhidDevice& operator=(const UhidDevice&) = delete;

  int Fd() const { return fd_; }
  // One input report, the report ID first when reports are numbered. False when refused.
  bool SendInput(std::span<const std::uint8_t> report);
  // Takes the event waiting on Fd() and returns it when it is an output report (report ID
  // first). Requests for feature reports are refused; other events need nothing.
  std::optional<std::vector<std::uint8_t>> TakeOutputReport();
  // The device's hidraw node, once the kernel has made it; nullopt after `limit`.
  std::optional<std::string> WaitForHidrawNode(std::chrono::milliseconds limit) const;

 private:
  UhidDevice(int fd, std::string phys) : fd_(fd), phys_(std::move(phys)) {}
  bool Send(const ::uhid_event& event);

  int fd_;
  std::string phys_;
};

}  // namespace halvane
