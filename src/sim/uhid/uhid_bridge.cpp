#include "sim/uhid/uhid_bridge.h"

#include <algorithm>
#include <array>

#include "link/reports.h"

namespace halvane {

namespace {

// The meter falls silent after its last report and goes away this much later, so that the
// reader has taken that report off the node by then: an unplugged node loses what it held.
constexpr std::chrono::milliseconds kUnplugGrace{200};
// A pace fallen behind by more than this many reports restarts from now rather than sending the
// backlog at once, which would overrun the node's buffer of 64 reports.
constexpr int kMaxBacklog = 8;
constexpr std::chrono::milliseconds kNodeWait{5000};
constexpr std::uint8_t kInputReportId = 1;

}  // namespace

UhidBridge::UhidBridge(HidBackend& backend, SimulatedBackend* meter, const HidDeviceInfo& info,
                       UhidIdentity identity, const UhidMeterFaults& faults, std::ostream& log)
    : backend_(backend),
      meter_(meter),
      path_(info.path),
      identity_(std::move(identity)),
      faults_(faults),
      log_(log) {}

UhidBridge::~UhidBridge() = default;

bool UhidBridge::Plug(std::string& error) {
  if (meter_ != nullptr) {
    meter_->Replug();
  }
  device_ = backend_.Open(path_);
  if (!device_) {
    error = "the simulated device " + path_ + " does not open";
    return false;
  }
  uhid_ = UhidDevice::Create(identity_, error);
  if (!uhid_) {
    return false;
  }
  const std::optional<std::string> node = uhid_->WaitForHidrawNode(kNodeWait);
  if (!node) {
    error = "the kernel made no hidraw node for " + identity_.phys;
    return false;
  }
  node_ = *node;
  replug_at_.reset();
  if (!unplugged_once_ && faults_.unplug_after.count() > 0) {
    unplug_at_ = Clock::now() + faults_.unplug_after;
  }
  log_ << "ready " << node_ << " \"" << identity_.product << "\" " << identity_.serial << std::endl;
  return true;
}

std::optional<UhidBridge::Clock::time_point> UhidBridge::NextDue() const {
  if (!uhid_) {
    return replug_at_;
  }
  std::optional<Clock::time_point> due = unplug_at_;
  if (replies_pending_ && !going_away_) {
    due = std::min(due.value_or(Clock::time_point::max()), NextSlot());
  }
  return due;
}

bool UhidBridge::Serve(bool readable, Clock::time_point now, std::string& error) {
  if (!uhid_) {
    return !replug_at_ || now < *replug_at_ || Plug(error);
  }
  if (unplug_at_ && now >= *unplug_at_) {
    Unplug(now);
    return true;
  }
  if (readable) {
    const std::optional<std::vector<std::uint8_t>> report = uhid_->TakeOutputReport();
    if (report && !going_away_) {
      device_->Write(*report);
      command_at_ = now;
      replies_pending_ = true;
    }
  }
  if (replies_pending_ && !going_away_ && now >= NextSlot()) {
    SendNextReport(now);
  }
  return true;
}

UhidBridge::Clock::time_point UhidBridge::NextSlot() const {
  return std::max(last_slot_, command_at_) + faults_.report_interval;
}

// Replies are taken from the device only when their slot comes, so that a command arriving
// meanwhile ends a transfer under way as it does on the meter.
void UhidBridge::SendNextReport(Clock::time_point now) {
  const Clock::time_point slot = NextSlot();
  std::array<std::uint8_t, kInputReportSize> report{};
  const std::size_t id_bytes = faults_.numbered ? 1 : 0;
  if (faults_.numbered) {
    report[0] = kInputReportId;
  }
  const int read = device_->Read(std::span(report).subspan(id_bytes, kInputReportSize - 1), 0);
  if (read <= 0) {
    replies_pending_ = false;
    return;
  }
  uhid_->SendInput(std::span(report).first(id_bytes + static_cast<std::size_t>(read)));
  last_slot_ = std::max(slot, now - kMaxBacklog * faults_.report_interval);
  if (++reports_sent_ == faults_.unplug_after_reports && !unplugged_once_) {
    going_away_ = true;
    unplug_at_ = now + kUnplugGrace;
  }
}

void UhidBridge::Unplug(Clock::time_point now) {
  uhid_.reset();
  device_.reset();
  if (meter_ != nullptr) {
    meter_->Unplug();
  }
  unplugged_once_ = true;
  going_away_ = false;
  replies_pending_ = false;
  unplug_at_.reset();
  if (faults_.replug_after.count() > 0) {
    replug_at_ = now + faults_.replug_after;
  }
  log_ << "unplugged " << node_ << std::endl;
}

}  // namespace halvane
