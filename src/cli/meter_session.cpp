#include "cli/meter_session.h"

#include <cstdio>
#include <string>

#include "cli/exit_codes.h"
#include "live/live_reply.h"

namespace halvane {

MeterSession::MeterSession(std::unique_ptr<DeviceLink> link, const Options& options)
    : link_(std::move(link)), usb_(link_->Backend(), options.device) {
  usb_.SetTrace(link_->Trace());
}

std::unique_ptr<MeterSession> MeterSession::Open(const Options& options, int& status) {
  LinkFailure failure;
  std::unique_ptr<DeviceLink> link = DeviceLink::Open(options, failure);
  if (!link) {
    SayError(failure.message);
    status = failure.no_device_support ? kExitNoMeter : kExitUsage;
    return nullptr;
  }
  return std::unique_ptr<MeterSession>(new MeterSession(std::move(link), options));
}

bool MeterSession::FindMeter() {
  // One live poll, as the main window's poll always precedes a command: the transfers begin
  // by taking that poll's reply off the link.
  usb_.OutputReport()[0] = 0x00;
  usb_.OutputReport()[1] = kLivePollCommand;
  usb_.ExchangeReports();
  if (usb_.MeterConnected()) {
    return true;
  }
  SayError(usb_.AccessRefused() ? kMeterAccessRefusedMessage : kMeterNotConnectedMessage);
  return false;
}

int TransferFailed(std::string_view error, std::string_view step) {
  if (error == kMeterNotConnectedMessage) {
    SayError("the meter stopped answering " + std::string(step));
  } else {
    SayError(error);
  }
  return kExitTransfer;
}

void SayError(std::string_view message) {
  std::fprintf(stderr, "halvane-cli: %.*s\n", static_cast<int>(message.size()), message.data());
}

}  // namespace halvane
