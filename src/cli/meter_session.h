#pragma once
// The link to the meter for one command, and the few ways a command reports back.

#include <memory>
#include <string_view>

#include "app/device_link.h"
#include "app/options.h"
#include "link/usb.h"

namespace halvane {

class MeterSession {
 public:
  // Null, after saying why on standard error and putting the exit status in `status`, when the
  // device link cannot be built.
  static std::unique_ptr<MeterSession> Open(const Options& options, int& status);

  USB& Usb() { return usb_; }
  DeviceLink& Link() { return *link_; }

  // Searches for the meter and polls it once; false, after saying so, when none answers.
  bool FindMeter();

 private:
  explicit MeterSession(std::unique_ptr<DeviceLink> link, const Options& options);

  std::unique_ptr<DeviceLink> link_;
  USB usb_;
};

// One line on standard error, after the program's name.
void SayError(std::string_view message);

// Says why a transfer failed and gives kExitTransfer. The meter answered the session's first
// poll, so a transfer that finds no meter lost it on the way: that is said naming `step`
// ("during the SD card scan"), never as a meter that is not connected.
int TransferFailed(std::string_view error, std::string_view step);

}  // namespace halvane
