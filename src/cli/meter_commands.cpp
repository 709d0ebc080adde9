#include "cli/meter_commands.h"

#include <chrono>
#include <ctime>
#include <memory>
#include <nlohmann/json.hpp>
#include <thread>

#include "cli/command_output.h"
#include "cli/exit_codes.h"
#include "cli/list_format.h"
#include "cli/meter_session.h"
#include "control/meter_clock.h"
#include "files/calendar_time.h"

namespace halvane {

namespace {

int RunDevices(const Options& options, ListFormat format) {
  int status = kExitSuccess;
  std::unique_ptr<MeterSession> session = MeterSession::Open(options, status);
  if (!session) {
    return status;
  }
  const std::vector<HidDeviceInfo> devices =
      session->Link().Backend().Enumerate(options.device.vendor, options.device.product);
  if (format == ListFormat::Json) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const HidDeviceInfo& device : devices) {
      list.push_back({{"path", device.path},
                      {"serial_number", device.serial_number},
                      {"product", device.product},
                      {"usage_page", device.usage_page},
                      {"interface", device.interface_number}});
    }
    return WriteOutput({}, list.dump(2) + "\n");
  }
  std::string text = "Path\tSerial number\tProduct\tUsage page\tInterface\n";
  for (const HidDeviceInfo& device : devices) {
    std::array<char, 8> page{};
    std::snprintf(page.data(), page.size(), "0x%04X", device.usage_page);
    text += device.path + "\t" + device.serial_number + "\t" + device.product + "\t" + page.data() +
            "\t" + std::to_string(device.interface_number) + "\n";
  }
  return WriteOutput({}, text);
}

// The session with the meter found, or null after the exit status went into `status`.
std::unique_ptr<MeterSession> SessionWithMeter(const Options& options, int& status) {
  std::unique_ptr<MeterSession> session = MeterSession::Open(options, status);
  if (!session) {
    return nullptr;
  }
  if (!session->FindMeter()) {
    status = kExitNoMeter;
    return nullptr;
  }
  return session;
}

// Reads the meter's clock and prints it.
int PrintMeterClock(MeterSession& session) {
  FillReadClockCommand(session.Usb().OutputReport());
  session.Usb().ExchangeReports();
  if (!session.Usb().MeterConnected()) {
    return TransferFailed(kMeterNotConnectedMessage, "when its clock was read");
  }
  return WriteOutput({}, MeterTimeIso8601(session.Usb().InputReportCopy()) + "\n");
}

int RunClockGet(const Options& options) {
  int status = kExitSuccess;
  std::unique_ptr<MeterSession> session = SessionWithMeter(options, status);
  return session ? PrintMeterClock(*session) : status;
}

// The PC's local time, as the clock window sets it.
ClockFields PcClock() {
  const std::time_t now = std::time(nullptr);
  const std::tm local = LocalCalendar(now);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

// Sets the meter's clock to the PC's and, after the pause the meter needs, prints the clock it
// then reads.
int RunClockSync(const Options& options) {
  int status = kExitSuccess;
  std::unique_ptr<MeterSession> session = SessionWithMeter(options, status);
  if (!session) {
    return status;
  }
  FillSetClockCommand(session->Usb().OutputReport(), PcClock());
  session->Usb().ExchangeReports();
  if (!session->Usb().MeterConnected()) {
    return TransferFailed(kMeterNotConnectedMessage, "when its clock was set");
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(kAfterClockSetMs));
  return PrintMeterClock(*session);
}

}  // namespace

void AddDevicesCommand(CLI::App& app, const Options& options, std::function<int()>& run) {
  auto format = std::make_shared<ListFormat>(ListFormat::Table);
  CLI::App* devices = app.add_subcommand(
      "devices", "List the attached meters: device path, serial number, product.");
  AddListFormatOption(*devices, *format);
  devices->footer(
      "Example:\n  halvane-cli devices\nPass a path to --path to pick that meter when several "
      "identical meters are attached.\n");
  devices->callback([&run, &options, format] {
    run = [&options, format] { return RunDevices(options, *format); };
  });
}

void AddClockCommands(CLI::App& app, const Options& options, std::function<int()>& run) {
  CLI::App* clock = app.add_subcommand("clock", "The meter's clock.");
  CLI::App* get = clock->add_subcommand(
      "get", "Print the meter's date and time in ISO 8601 (2013-08-09T01:14:19).");
  get->footer("Example:\n  halvane-cli clock get\n");
  get->callback([&run, &options] { run = [&options] { return RunClockGet(options); }; });
  CLI::App* sync = clock->add_subcommand(
      "sync",
      "Set the meter's clock to the PC's local time; after the 2 s the meter needs, print its "
      "clock as clock get does.");
  sync->footer("Example:\n  halvane-cli clock sync\n");
  sync->callback([&run, &options] { run = [&options] { return RunClockSync(options); }; });
}

}  // namespace halvane
