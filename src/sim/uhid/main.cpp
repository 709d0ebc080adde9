// halvane-uhid-meter: the simulated meter as a HID device of the kernel (Linux, uhid), so that
// the programs reach it through hidraw and hidapi as they reach the instrument. Answers from
// the same meter state as --simulate, with faults to order. Runs until SIGINT or SIGTERM.

#include <poll.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <vector>

#include "app/device_link.h"
#include "app/options.h"
#include "sim/uhid/report_descriptors.h"
#include "sim/uhid/uhid_bridge.h"

namespace {

using halvane::UhidBridge;

volatile std::sig_atomic_t stop_requested = 0;

extern "C" void RequestStop(int) {
  stop_requested = 1;
}

struct Settings {
  halvane::Options meter;
  halvane::UhidMeterFaults faults;
  bool silent = false;
  bool garbage = false;
  bool foreign_keyboard = false;
  bool second_meter = false;
};

void AddOptions(CLI::App& app, Settings& settings) {
  halvane::AddMeterOptions(app, settings.meter);
  for (const char* name : {"--simulate", "--path", "--trace", "--sim-unplug"}) {
    app.remove_option(app.get_option(name));
  }
  app.get_option("--device")->description("the USB IDs of the devices (default 0483:5750)");
  app.get_option("--sim-flash")
      ->description("the meter's flash memory holds the raw image in FILE");
  app.get_option("--sim-sd")->description("the meter's SD card holds one raw set text per FILE");
  app.get_option("--sim-pace")
      ->description("the meter takes MS milliseconds for each reply, as --simulate does with it");
  app.add_option_function<std::string>(
         "--report-interval",
         [&settings](const std::string& text) {
           double ms = -1;
           const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), ms);
           if (error != std::errc() || end != text.data() + text.size() || ms < 0 || ms > 1000) {
             throw CLI::ValidationError("--report-interval", "takes 0 to 1000 ms, not " + text);
           }
           settings.faults.report_interval =
               std::chrono::microseconds(static_cast<std::int64_t>(ms * 1000));
         },
         "each input report goes out MS milliseconds after the one before or the command it "
         "answers (default 1; the meter's own pace is 3)")
      ->type_name("MS");
  app.add_flag("--numbered", settings.faults.numbered, "send input reports under report ID 1");
  app.add_option("--unplug-after-reports", settings.faults.unplug_after_reports,
                 "unplug the meter after N input reports (it answers nothing more)")
      ->type_name("N");
  app.add_option_function<int>(
         "--unplug-after-ms",
         [&settings](int ms) { settings.faults.unplug_after = std::chrono::milliseconds(ms); },
         "unplug the meter MS milliseconds after it appeared")
      ->type_name("MS");
  app.add_option_function<int>(
         "--replug-after-ms",
         [&settings](int ms) { settings.faults.replug_after = std::chrono::milliseconds(ms); },
         "plug the meter in again MS milliseconds after it was unplugged")
      ->type_name("MS");
  app.add_flag("--silent", settings.silent, "the meter takes every report and answers none");
  app.add_flag("--garbage", settings.garbage, "the meter answers with random bytes");
  app.add_flag("--foreign-keyboard", settings.foreign_keyboard,
               "first a keyboard with the meter's IDs, on the generic desktop usage page");
  app.add_flag("--second-meter", settings.second_meter,
               "then a second meter of its own state, with serial number SIM00002");
}

// The devices of one simulated meter's backend, each served on uhid.
void AddBridges(halvane::DeviceLink& link, const Settings& settings,
                const halvane::UhidMeterFaults& faults, const std::string& serial,
                std::vector<std::unique_ptr<UhidBridge>>& bridges) {
  halvane::SimulatedBackend& meter = *link.Simulated();
  meter.SetIdleReads(halvane::IdleReads::TimeOut);  // a read finds the replies not yet sent
  meter.SetWait([](int) {});
  meter.SetSilent(settings.silent);
  meter.SetGarbage(settings.garbage);
  const halvane::MeterIds ids = settings.meter.device;
  for (const halvane::HidDeviceInfo& info : link.Backend().Enumerate(ids.vendor, ids.product)) {
    const bool is_meter = info.path == halvane::SimulatedBackend::kMeterPath;
    halvane::UhidIdentity identity{
        ids, info.product, is_meter ? serial : info.serial_number,
        "halvane-uhid-meter/" + std::to_string(::getpid()) + "/" + std::to_string(bridges.size()),
        is_meter ? halvane::MeterReportDescriptor(faults.numbered)
                 : halvane::KeyboardReportDescriptor()};
    bridges.push_back(std::make_unique<UhidBridge>(link.Backend(), is_meter ? &meter : nullptr,
                                                   info, std::move(identity), faults, std::cout));
  }
}

int Fail(const std::string& error) {
  std::fprintf(stderr, "halvane-uhid-meter: %s\n", error.c_str());
  return 1;
}

// Serves the devices until a stop signal; the signals are let through only while waiting.
int Serve(std::vector<std::unique_ptr<UhidBridge>>& bridges) {
  sigset_t stop_signals;
  sigset_t waiting_mask;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  sigprocmask(SIG_BLOCK, &stop_signals, &waiting_mask);
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);

  std::string error;
  while (stop_requested == 0) {
    std::vector<pollfd> fds;
    std::optional<UhidBridge::Clock::time_point> due;
    for (const auto& bridge : bridges) {
      fds.push_back({bridge->Fd(), POLLIN, 0});
      if (const auto next = bridge->NextDue()) {
        due = std::min(due.value_or(*next), *next);
      }
    }
    timespec timeout{};
    if (due) {
      const auto left = std::max(*due - UhidBridge::Clock::now(), UhidBridge::Clock::duration{});
      const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
      timeout = {static_cast<std::time_t>(ns / 1'000'000'000),
                 static_cast<long>(ns % 1'000'000'000)};
    }
    if (ppoll(fds.data(), fds.size(), due ? &timeout : nullptr, &waiting_mask) < 0 &&
        errno != EINTR) {
      return Fail("cannot wait for the devices: " + std::generic_category().message(errno));
    }
    const auto now = UhidBridge::Clock::now();
    for (std::size_t i = 0; i < bridges.size(); ++i) {
      if (!bridges[i]->Serve((fds[i].revents & POLLIN) != 0, now, error)) {
        return Fail(error);
      }
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "The simulated meter as a HID device of the kernel (uhid), answered from the same meter "
      "state as --simulate, for tests of the real device path. Prints 'ready NODE' for each "
      "device made and runs until stopped.",
      "halvane-uhid-meter"};
  Settings settings;
  AddOptions(app, settings);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error);
  }
  settings.meter.simulate = true;

  std::string error;
  std::vector<std::unique_ptr<halvane::DeviceLink>> links;
  std::vector<std::unique_ptr<UhidBridge>> bridges;
  for (const bool second : {false, true}) {
    if (second && !settings.second_meter) {
      break;
    }
    halvane::LinkFailure failure;
    links.push_back(halvane::DeviceLink::Open(settings.meter, failure));
    if (!links.back()) {
      return Fail(failure.message);
    }
    if (settings.foreign_keyboard && !second) {
      links.back()->Simulated()->AddForeignDevice(halvane::ForeignDevice::KeyboardPage);
    }
    // Only the first meter meets the unplug.
    halvane::UhidMeterFaults faults = settings.faults;
    if (second) {
      faults.unplug_after_reports = 0;
      faults.unplug_after = {};
    }
    AddBridges(*links.back(), settings, faults, second ? "SIM00002" : "SIM00001", bridges);
  }
  for (const auto& bridge : bridges) {
    if (!bridge->Plug(error)) {
      return Fail(error);
    }
  }
  return Serve(bridges);
}
