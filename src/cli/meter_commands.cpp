#include "cli/meter_commands.h"

#include <ctime>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/command_output.h"
#include "cli/exit_codes.h"
#include "cli/list_format.h"
#include "cli/meter_session.h"
#include "control/meter_clock.h"

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

// Sends what the output report holds and waits for the answer; false, after saying so, when
// none came.
bool Exchange(MeterSession& session) {
  session.Usb().ExchangeReports();
  if (!session.Usb().MeterConnected()) {
    SayError("the meter stopped answering");
    return false;
  }
  return true;
}

int RunClockGet(const Options& options) {
  int status = kExitSuccess;
  std::unique_ptr<MeterSession> session = SessionWithMeter(options, status);
  if (!session) {
    return status;
  }
  FillReadClockCommand(session->Usb().OutputReport());
  if (!Exchange(*session)) {
    return kExitTransfer;
  }
  return WriteOutput({}, MeterTimeCaption(session->Usb().InputReportCopy()) + "\n");
}

// The PC's local time, as the clock window sets it.
ClockFields PcClock() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

int RunClockSync(const Options& options) {
  int status = kExitSuccess;
  std::unique_ptr<MeterSession> session = SessionWithMeter(options, status);
  if (!session) {
    return status;
  }
  const ClockFields time = PcClock();
  FillSetClockCommand(session->Usb().OutputReport(), time);
  if (!Exchange(*session)) {
    return kExitTransfer;
  }
  return WriteOutput({}, PcTimeCaption(time) + "\n");
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
  clock->require_subcommand(1);
  CLI::App* get =
      clock->add_subcommand("get", "Print the meter's date and time (YY/MM/DD hh:mm:ss).");
  get->footer("Example:\n  halvane-cli clock get\n");
  get->callback([&run, &options] { run = [&options] { return RunClockGet(options); }; });
  CLI::App* sync = clock->add_subcommand(
      "sync", "Set the meter's clock to the PC's local time and print the time set.");
  sync->footer("Example:\n  halvane-cli clock sync\n");
  sync->callback([&run, &options] { run = [&options] { return RunClockSync(options); }; });
}

}  // namespace halvane
