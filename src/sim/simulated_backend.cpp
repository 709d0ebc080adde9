#include "sim/simulated_backend.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>

namespace halvane {

namespace {

constexpr std::uint32_t kGarbageSeed = 0x5EED;
constexpr std::size_t kReplyDataBytes = kInputReportSize - 1;  // without the report ID
constexpr std::uint16_t kVendorUsagePage = 0xFF00;
constexpr std::uint16_t kKeyboardUsagePage = 0x0001;

HidDeviceInfo ForeignDeviceInfo(ForeignDevice kind, std::size_t index, MeterIds ids) {
  const std::string number = std::to_string(index + 1);
  switch (kind) {
    case ForeignDevice::RefusesToOpen:
      return {"sim:in-use-" + number,    ids.vendor,       ids.product,
              "Simulated Device In Use", kVendorUsagePage, 0};
    case ForeignDevice::KeyboardPage:
      return {"sim:keyboard-" + number, ids.vendor,         ids.product,
              "Simulated Gadget",       kKeyboardUsagePage, 1};
    case ForeignDevice::NeverAnswers:
      break;
  }
  return {"sim:silent-" + number, ids.vendor, ids.product, "Simulated Gadget", kVendorUsagePage, 0};
}

}  // namespace

// An opened foreign device: it takes every report and never answers.
class ForeignGadget : public HidDevice {
 public:
  explicit ForeignGadget(SimulatedBackend& backend) : backend_(backend) {}

  std::size_t InputReportLength() const override { return kInputReportSize; }
  std::size_t OutputReportLength() const override { return kOutputReportSize; }
  int Write(std::span<const std::uint8_t> report) override {
    ++backend_.foreign_reports_;
    return static_cast<int>(report.size());
  }
  int Read(std::span<std::uint8_t>, int timeout_ms) override {
    return backend_.TimeOut(timeout_ms);
  }

 private:
  SimulatedBackend& backend_;
};

// One open connection to the meter; dead once the meter is unplugged after it was opened.
class SimulatedDevice : public HidDevice {
 public:
  SimulatedDevice(SimulatedBackend& backend, int plug_generation)
      : backend_(backend), plug_generation_(plug_generation) {}

  std::size_t InputReportLength() const override { return kInputReportSize; }
  std::size_t OutputReportLength() const override { return kOutputReportSize; }
  int Write(std::span<const std::uint8_t> report) override {
    return backend_.WriteToMeter(plug_generation_, report);
  }
  int Read(std::span<std::uint8_t> data, int timeout_ms) override {
    return backend_.ReadFromMeter(plug_generation_, data, timeout_ms, last_reply_);
  }

 private:
  SimulatedBackend& backend_;
  int plug_generation_;
  std::vector<std::uint8_t> last_reply_;
};

std::string SimulatedBackend::MeterPathOf(int number) {
  return number == 1 ? kMeterPath : kMeterPath + std::to_string(number);
}

SimulatedBackend::SimulatedBackend(SimulatedMeter& meter, MeterIds ids, int number)
    : meter_(meter),
      ids_(ids),
      meter_path_(MeterPathOf(number)),
      serial_number_(kMeterSerialNumber),
      wait_([](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }),
      garbage_noise_(kGarbageSeed) {
  const std::string digits = std::to_string(number);
  serial_number_.replace(serial_number_.size() - digits.size(), digits.size(), digits);
}

SimulatedBackend::~SimulatedBackend() = default;

std::vector<HidDeviceInfo> SimulatedBackend::Enumerate(std::uint16_t vendor_id,
                                                       std::uint16_t product_id) {
  ++search_count_;
  std::vector<HidDeviceInfo> devices;
  if (vendor_id != ids_.vendor || product_id != ids_.product) {
    return devices;
  }
  for (std::size_t index = 0; index < foreign_devices_.size(); ++index) {
    devices.push_back(ForeignDeviceInfo(foreign_devices_[index], index, ids_));
  }
  if (plugged_in_) {
    devices.push_back({meter_path_, ids_.vendor, ids_.product, kMeterProduct, kVendorUsagePage, 0,
                       serial_number_});
  }
  return devices;
}

std::unique_ptr<HidDevice> SimulatedBackend::Open(const std::string& path) {
  open_error_ = {};
  for (std::size_t index = 0; index < foreign_devices_.size(); ++index) {
    if (path == ForeignDeviceInfo(foreign_devices_[index], index, ids_).path) {
      if (foreign_devices_[index] == ForeignDevice::RefusesToOpen) {
        open_error_ = {"Permission denied", true};
        return nullptr;
      }
      return std::make_unique<ForeignGadget>(*this);
    }
  }
  if (!plugged_in_ || path != meter_path_) {
    open_error_ = {"No such device"};
    return nullptr;
  }
  ++open_count_;
  return std::make_unique<SimulatedDevice>(*this, plug_generation_);
}

void SimulatedBackend::Unplug() {
  plugged_in_ = false;
  meter_.DiscardReplies();
}

void SimulatedBackend::Replug() {
  if (!plugged_in_) {
    plugged_in_ = true;
    ++plug_generation_;
  }
}

int SimulatedBackend::WriteToMeter(int plug_generation, std::span<const std::uint8_t> report) {
  if (!Alive(plug_generation)) {
    return -1;
  }
  meter_.Receive(report);
  if (silent_) {
    meter_.DiscardReplies();
  }
  return static_cast<int>(report.size());
}

void SimulatedBackend::FailAtRead(ReadFault fault, int k) {
  coming_fault_ = k >= 1 ? std::optional(fault) : std::nullopt;
  reads_before_fault_ = k - 1;
}

void SimulatedBackend::CountReadTowardsFault() {
  if (!coming_fault_) {
    return;
  }
  if (reads_before_fault_ > 0) {
    --reads_before_fault_;
    return;
  }
  if (*coming_fault_ == ReadFault::Unplug) {
    Unplug();
  } else {
    SetSilent(true);
  }
  coming_fault_.reset();
}

int SimulatedBackend::ReadFromMeter(int plug_generation, std::span<std::uint8_t> data,
                                    int timeout_ms, std::vector<std::uint8_t>& last_reply) {
  CountReadTowardsFault();
  if (!Alive(plug_generation)) {
    return -1;
  }
  if (silent_) {
    return TimeOut(timeout_ms);
  }
  if (const std::optional<InputReportBuffer> reply = meter_.TakeReply()) {
    if (pace_ms_ > 0) {
      wait_(pace_ms_);
    }
    Deliver(*reply, last_reply);
  } else if (idle_reads_ == IdleReads::TimeOut || last_reply.empty()) {
    return TimeOut(timeout_ms);
  }
  const std::size_t count = std::min(data.size(), last_reply.size());
  std::copy_n(last_reply.begin(), count, data.begin());
  return static_cast<int>(count);
}

void SimulatedBackend::Deliver(const InputReportBuffer& reply, std::vector<std::uint8_t>& data) {
  data.assign(reply.begin() + 1, reply.end());
  if (garbage_) {
    std::generate(data.begin(), data.end(), [this] { return garbage_noise_.Byte(); });
  }
  if (short_report_bytes_ > 0 && short_report_bytes_ < kReplyDataBytes) {
    data.resize(short_report_bytes_);
  }
}

int SimulatedBackend::TimeOut(int timeout_ms) {
  timed_out_reads_.push_back(timeout_ms);
  wait_(timeout_ms);
  return 0;
}

}  // namespace halvane
