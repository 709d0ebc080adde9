#pragma once
// The few HID operations the link needs; implemented over hidapi and by the simulated meter.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace halvane {

struct HidDeviceInfo {
  std::string path;
  std::uint16_t vendor_id = 0;
  std::uint16_t product_id = 0;
  std::string product;           // the device's product string, may be empty
  std::uint16_t usage_page = 0;  // of the top-level collection; 0 when unknown
  int interface_number = -1;     // the USB interface; -1 when unknown
  std::string serial_number{};   // may be empty
};

// Why an Open returned null.
struct OpenFailure {
  std::string reason;          // for the trace; empty when the system did not say
  bool access_denied = false;  // the system refused access, as to a hidraw node of root alone
};

// Usage pages from 0xFF00 on are vendor-defined; the meter's reports live on one of them.
inline constexpr std::uint16_t kFirstVendorUsagePage = 0xFF00;

class HidDevice {
 public:
  virtual ~HidDevice() = default;
  // Report lengths of the device's top-level collection, report ID byte included.
  virtual std::size_t InputReportLength() const = 0;
  virtual std::size_t OutputReportLength() const = 0;
  // True when the device numbers its input reports: a read then starts with the report ID.
  virtual bool NumberedInputReports() const { return false; }
  // Writes one output report whose first byte is the report ID. Returns the bytes written or -1.
  virtual int Write(std::span<const std::uint8_t> report) = 0;
  // Reads one input report waiting at most timeout_ms: the data alone when reports are not
  // numbered, the report ID and the data when they are. Returns the bytes read, 0 on time-out,
  // -1 on error or when the device is gone.
  virtual int Read(std::span<std::uint8_t> data, int timeout_ms) = 0;
};

class HidBackend {
 public:
  virtual ~HidBackend() = default;
  // The present devices with these IDs, in enumeration order.
  virtual std::vector<HidDeviceInfo> Enumerate(std::uint16_t vendor_id,
                                               std::uint16_t product_id) = 0;
  // Opens a device by path; null when it refuses to open.
  virtual std::unique_ptr<HidDevice> Open(const std::string& path) = 0;
  // Why the last Open that returned null failed.
  virtual OpenFailure OpenError() const { return {}; }
};

}  // namespace halvane
