#include "sim/simulated_backend.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>

namespace halvane {

namespace {

constexpr std::uint32_t kGarbageSeed = 0x5EED;
constexpr std::size_t kReplyDataBytes = kInputReportSize - 1;  // without the report ID

}  // namespace

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

SimulatedBackend::SimulatedBackend(SimulatedMeter& meter, MeterIds ids)
    : meter_(meter),
      ids_(ids),
      wait_([](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }),
      garbage_noise_(kGarbageSeed) {}

SimulatedBackend::~SimulatedBackend() = default;

std::vector<HidDeviceInfo> SimulatedBackend::Enumerate(std::uint16_t vendor_id,
                                                       std::uint16_t product_id) {
  ++search_count_;
  std::vector<HidDeviceInfo> devices;
  if (vendor_id != ids_.vendor || product_id != ids_.product) {
    return devices;
  }
  for (int refusing = 1; refusing <= refusing_devices_; ++refusing) {
    devices.push_back({"sim:refusing-" + std::to_string(refusing), ids_.vendor, ids_.product,
                       "Simulated Device In Use"});
  }
  if (plugged_in_) {
    devices.push_back({kMeterPath, ids_.vendor, ids_.product, kMeterProduct});
  }
  return devices;
}

std::unique_ptr<HidDevice> SimulatedBackend::Open(const std::string& path) {
  if (!plugged_in_ || path != kMeterPath) {
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
