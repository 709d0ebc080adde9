#include "sim/uhid/uhid_device.h"

#include <fcntl.h>
#include <linux/input.h>
#include <linux/uhid.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <thread>

namespace halvane {

namespace {

template <std::size_t N>
void CopyText(std::uint8_t (&field)[N], const std::string& text) {
  std::copy_n(text.begin(), std::min(text.size(), N - 1), field);
}

// The hidraw node whose HID device carries `phys`, as sysfs lists them.
std::optional<std::string> HidrawNodeWithPhys(const std::string& phys) {
  std::error_code error;
  for (const auto& node : std::filesystem::directory_iterator("/sys/class/hidraw", error)) {
    std::ifstream uevent(node.path() / "device" / "uevent");
    for (std::string line; std::getline(uevent, line);) {
      if (line == "HID_PHYS=" + phys) {
        return "/dev/" + node.path().filename().string();
      }
    }
  }
  return std::nullopt;
}

// The reply that refuses a request of the HID core for a feature report: the meter has none, and
// a request left unanswered would hold the kernel for seconds.
uhid_event Refusal(const uhid_event& request) {
  uhid_event reply{};
  if (request.type == UHID_GET_REPORT) {
    reply.type = UHID_GET_REPORT_REPLY;
    reply.u.get_report_reply.id = request.u.get_report.id;
    reply.u.get_report_reply.err = EIO;
  } else {
    reply.type = UHID_SET_REPORT_REPLY;
    reply.u.set_report_reply.id = request.u.set_report.id;
    reply.u.set_report_reply.err = EIO;
  }
  return reply;
}

}  // namespace

std::unique_ptr<UhidDevice> UhidDevice::Create(const UhidIdentity& identity, std::string& error) {
  const int fd = ::open("/dev/uhid", O_RDWR | O_CLOEXEC);
  if (fd < 0) {
    error = "cannot open /dev/uhid: " + std::generic_category().message(errno);
    return nullptr;
  }
  std::unique_ptr<UhidDevice> device(new UhidDevice(fd, identity.phys));
  uhid_event event{};
  event.type = UHID_CREATE2;
  uhid_create2_req& create = event.u.create2;
  CopyText(create.name, identity.product);
  CopyText(create.phys, identity.phys);
  CopyText(create.uniq, identity.serial);
  create.rd_size =
      static_cast<std::uint16_t>(std::min(identity.descriptor.size(), sizeof create.rd_data));
  std::copy_n(identity.descriptor.begin(), create.rd_size, create.rd_data);
  create.bus = BUS_USB;
  create.vendor = identity.ids.vendor;
  create.product = identity.ids.product;
  if (!device->Send(event)) {
    error = "uhid refused the device: " + std::generic_category().message(errno);
    return nullptr;
  }
  return device;
}

UhidDevice::~UhidDevice() {
  ::close(fd_);
}

bool UhidDevice::Send(const uhid_event& event) {
  return ::write(fd_, &event, sizeof event) == static_cast<ssize_t>(sizeof event);
}

bool UhidDevice::SendInput(std::span<const std::uint8_t> report) {
  uhid_event event{};
  event.type = UHID_INPUT2;
  event.u.input2.size =
      static_cast<std::uint16_t>(std::min(report.size(), sizeof event.u.input2.data));
  std::copy_n(report.begin(), event.u.input2.size, event.u.input2.data);
  return Send(event);
}

std::optional<std::vector<std::uint8_t>> UhidDevice::TakeOutputReport() {
  uhid_event event{};
  if (::read(fd_, &event, sizeof event) <= 0) {
    return std::nullopt;
  }
  switch (event.type) {
    case UHID_OUTPUT:
      if (event.u.output.rtype == UHID_OUTPUT_REPORT) {
        const std::uint8_t* data = event.u.output.data;
        return std::vector<std::uint8_t>(
            data, data + std::min<std::size_t>(event.u.output.size, UHID_DATA_MAX));
      }
      break;
    case UHID_GET_REPORT:
    case UHID_SET_REPORT:
      Send(Refusal(event));
      break;
    default:
      break;
  }
  return std::nullopt;
}

std::optional<std::string> UhidDevice::WaitForHidrawNode(std::chrono::milliseconds limit) const {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    std::optional<std::string> node = HidrawNodeWithPhys(phys_);
    if (node && std::filesystem::exists(*node)) {
      return node;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      return std::nullopt;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace halvane
