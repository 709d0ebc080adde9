#include "cli/live_command.h"

#include <map>
#include <memory>

#include "cli/exit_codes.h"
#include "cli/meter_session.h"
#include "cli/stop_signals.h"
#include "live/line_log.h"
#include "live/live_formats.h"

namespace halvane {

namespace {

struct LiveSettings {
  unsigned count = 0;  // 0: until stopped
  LiveFormat format = LiveFormat::JsonLines;
  std::string output;  // empty: standard output
};

int RunLive(const Options& options, const LiveSettings& settings) {
  std::unique_ptr<MeterSession> session = MeterSession::Open(options);
  if (!session) {
    return kExitUsage;
  }
  std::string error;
  std::unique_ptr<LineLog> output = settings.output.empty()
                                        ? LineLog::StandardOutput()
                                        : LineLog::OpenFile(settings.output, error);
  if (!output) {
    SayError("cannot open " + settings.output + ": " + error);
    return kExitFailure;
  }
  CatchStopSignals();
  USB& usb = session->Usb();
  bool meter_away = false;
  unsigned written = 0;
  auto next_poll = std::chrono::steady_clock::now();
  while (!StopRequested() && (settings.count == 0 || written < settings.count)) {
    usb.OutputReport()[0] = 0x00;
    usb.OutputReport()[1] = kLivePollCommand;
    usb.ExchangeReports();
    if (!usb.MeterConnected()) {
      if (StopRequested()) {
        break;  // the signal cut the read short; the meter is still there
      }
      if (!meter_away) {
        SayError("the meter does not answer; waiting for it");
        meter_away = true;
      }
    } else {
      if (meter_away) {
        SayError("the meter answers again");
        meter_away = false;
      }
      const LiveSample sample =
          LiveSampleAt(std::chrono::system_clock::now(), DecodeLiveReply(usb.InputReportCopy()));
      if (!output->Append(LiveOutputLines(settings.format, sample, output->Empty()), error)) {
        SayError("cannot write the output: " + error);
        return kExitFailure;
      }
      ++written;
    }
    next_poll = std::max(next_poll + kLivePollInterval, std::chrono::steady_clock::now());
    SleepUntil(next_poll);
  }
  return kExitSuccess;
}

}  // namespace

void AddLiveCommand(CLI::App& app, const Options& options, std::function<int()>& run) {
  auto settings = std::make_shared<LiveSettings>();
  CLI::App* live = app.add_subcommand(
      "live", "Stream the meter's display data, one line per poll (every 160 ms).");
  live->add_option("-n,--count", settings->count, "stop after N lines (default: until stopped)")
      ->type_name("N");
  live->add_option("-f,--format", settings->format, "jsonl (default), csv or influx")
      ->transform(CLI::CheckedTransformer(
          std::map<std::string, LiveFormat>{{"jsonl", LiveFormat::JsonLines},
                                            {"csv", LiveFormat::Csv},
                                            {"influx", LiveFormat::Influx}},
          CLI::ignore_case));
  live->add_option("-o,--output", settings->output,
                   "append the lines to FILE (a CSV header only when FILE is empty)")
      ->type_name("FILE");
  live->footer(
      "Example:\n  halvane-cli live --format csv --output levels.csv\n"
      "Ctrl-C or SIGTERM stop it after the line being written. While the meter is away it says "
      "so on standard error and waits for it.\n");
  live->callback([&run, &options, settings] {
    run = [&options, settings] { return RunLive(options, *settings); };
  });
}

}  // namespace halvane
