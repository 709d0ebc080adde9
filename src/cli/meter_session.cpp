#include "cli/meter_session.h"

#include <cstdio>
#include <string>

namespace halvane {

MeterSession::MeterSession(std::unique_ptr<DeviceLink> link, const Options& options)
    : link_(std::move(link)), usb_(link_->Backend(), options.device) {
  usb_.SetTrace(link_->Trace());
}

std::unique_ptr<MeterSession> MeterSession::Open(const Options& options) {
  std::string error;
  std::unique_ptr<DeviceLink> link = DeviceLink::Open(options, error);
  if (!link) {
    SayError(error);
    return nullptr;
  }
  return std::unique_ptr<MeterSession>(new MeterSession(std::move(link), options));
}

bool MeterSession::FindMeter() {
  if (usb_.FindMeter()) {
    return true;
  }
  SayError(kMeterNotConnectedMessage);
  return false;
}

void SayError(std::string_view message) {
  std::fprintf(stderr, "halvane-cli: %.*s\n", static_cast<int>(message.size()), message.data());
}

}  // namespace halvane
