#include "link/hidapi_backend.h"

#include <hidapi.h>

#include <cerrno>
#include <chrono>
#include <mutex>
#include <system_error>

#include "link/reports.h"

namespace halvane {

namespace {

std::string Narrow(const wchar_t* text) {
  std::string result;
  for (; text != nullptr && *text != L'\0'; ++text) {
    result.push_back(*text < 0x80 ? static_cast<char>(*text) : '?');
  }
  return result;
}

// The meter's own lengths, for a device whose layout the system cannot tell.
constexpr ReportLayout kMeterLayout{kInputReportSize, kOutputReportSize, false, 0};

class HidapiDevice : public HidDevice {
 public:
  HidapiDevice(hid_device* handle, const ReportLayout& layout) : handle_(handle), layout_(layout) {}
  ~HidapiDevice() override { hid_close(handle_); }
  HidapiDevice(const HidapiDevice&) = delete;
  HidapiDevice& operator=(const HidapiDevice&) = delete;

  std::size_t InputReportLength() const override { return layout_.input_length; }
  std::size_t OutputReportLength() const override { return layout_.output_length; }
  bool NumberedInputReports() const override { return layout_.numbered; }

  int Write(std::span<const std::uint8_t> report) override {
    return hid_write(handle_, report.data(), report.size());
  }

  // A signal that interrupts the wait (the text editor ending raises SIGCHLD) is not a lost
  // device: the read goes on for the time left.
  int Read(std::span<std::uint8_t> data, int timeout_ms) override {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    int wait_ms = timeout_ms;
    for (;;) {
      errno = 0;
      const int read = hid_read_timeout(handle_, data.data(), data.size(), wait_ms);
      if (read != -1 || errno != EINTR) {
        return read;
      }
      wait_ms = static_cast<int>(
          std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count());
      if (wait_ms <= 0) {
        return 0;
      }
    }
  }

 private:
  hid_device* handle_;
  ReportLayout layout_;
};

// hidapi keeps one state for the process: backends on several threads (one a meter) start it
// once, end it with the last of them, and take turns at the calls that use it.
std::mutex library_mutex;
int library_users = 0;

}  // namespace

HidapiBackend::HidapiBackend(LayoutReader read_layout) : read_layout_(std::move(read_layout)) {
  const std::lock_guard lock(library_mutex);
  if (library_users++ == 0) {
    hid_init();
  }
}

HidapiBackend::~HidapiBackend() {
  const std::lock_guard lock(library_mutex);
  if (--library_users == 0) {
    hid_exit();
  }
}

std::vector<HidDeviceInfo> HidapiBackend::Enumerate(std::uint16_t vendor_id,
                                                    std::uint16_t product_id) {
  std::vector<HidDeviceInfo> devices;
  const std::lock_guard lock(library_mutex);
  hid_device_info* list = hid_enumerate(vendor_id, product_id);
  for (const hid_device_info* info = list; info != nullptr; info = info->next) {
    HidDeviceInfo device{info->path != nullptr ? info->path : "",
                         info->vendor_id,
                         info->product_id,
                         Narrow(info->product_string),
                         info->usage_page,
                         info->interface_number,
                         Narrow(info->serial_number)};
    // hidapi leaves the usage page 0 when it could not open the node to read it.
    if (device.usage_page == 0) {
      if (const std::optional<ReportLayout> layout = read_layout_(device.path)) {
        device.usage_page = layout->usage_page;
      }
    }
    devices.push_back(std::move(device));
  }
  hid_free_enumeration(list);
  return devices;
}

std::unique_ptr<HidDevice> HidapiBackend::Open(const std::string& path) {
  const std::lock_guard lock(library_mutex);
  errno = 0;
  hid_device* handle = hid_open_path(path.c_str());
  if (handle == nullptr) {
    const int open_errno = errno;
    open_error_.reason = Narrow(hid_error(nullptr));
    if (open_error_.reason.empty() || open_error_.reason == "Success") {
      open_error_.reason = open_errno != 0 ? std::generic_category().message(open_errno) : "";
    }
    open_error_.access_denied = open_errno == EACCES || open_errno == EPERM;
    return nullptr;
  }
  open_error_ = {};
  return std::make_unique<HidapiDevice>(handle, read_layout_(path).value_or(kMeterLayout));
}

}  // namespace halvane
