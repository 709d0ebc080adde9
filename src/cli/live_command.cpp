#include "cli/live_command.h"

#include <cerrno>
#include <memory>

#include "cli/command_output.h"
#include "cli/exit_codes.h"
#include "cli/meter_session.h"
#include "cli/stop_signals.h"
#include "cli/usage.h"
#include "files/utf8_path.h"
#include "live/line_log.h"
#include "live/live_formats.h"

namespace halvane {

namespace {

struct LiveSettings {
  std::uint64_t count = 0;         // 0: until stopped
  std::uint64_t wait_seconds = 0;  // for a meter that is not there at the start
  LiveFormat format = LiveFormat::JsonLines;
  std::filesystem::path output;
};

int RunLive(const Options& options, const LiveSettings& settings) {
  if (const int status = CheckOutputFolder(settings.output); status != kExitSuccess) {
    return status;
  }
  int status = kExitSuccess;
  std::unique_ptr<MeterSession> session = MeterSession::Open(options, status);
  if (!session) {
    return status;
  }
  std::string error;
  std::unique_ptr<LineLog> output = IsStandardOutput(settings.output)
                                        ? LineLog::StandardOutput()
                                        : OpenLiveLog(settings.output, settings.format, error);
  if (!output) {
    SayError("cannot append to " + Utf8Text(settings.output) + ": " + error);
    return kExitFailure;
  }
  CatchStopSignals();
  USB& usb = session->Usb();
  bool answered = false;  // the meter answered a poll of this run
  bool meter_away = false;
  std::uint64_t written = 0;
  const auto start = std::chrono::steady_clock::now();
  auto next_poll = start;
  while (!StopRequested() && (settings.count == 0 || written < settings.count)) {
    usb.OutputReport()[0] = 0x00;
    usb.OutputReport()[1] = kLivePollCommand;
    usb.ExchangeReports();
    if (!usb.MeterConnected()) {
      if (StopRequested()) {
        break;  // the signal cut the read short; the meter is still there
      }
      if (!answered &&
          std::chrono::steady_clock::now() - start >= std::chrono::seconds(settings.wait_seconds)) {
        SayError(kMeterNotConnectedMessage);
        return kExitNoMeter;
      }
      if (!meter_away) {
        SayError(usb.AccessRefused() ? kMeterAccessRefusedMessage
                                     : "the meter does not answer; waiting for it");
        meter_away = true;
      }
    } else {
      answered = true;
      if (meter_away) {
        SayError("the meter answers again");
        meter_away = false;
      }
      const LiveSample sample =
          LiveSampleAt(std::chrono::system_clock::now(), DecodeLiveReply(usb.InputReportCopy()));
      if (!output->Append(LiveOutputLines(settings.format, sample, output->Empty()), error)) {
        // Read right after the failed write, which the log leaves in errno.
        if (errno == EPIPE && settings.output.empty()) {
          return kExitSuccess;  // the reader has all it wanted, as `live | head -1`
        }
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
      ->type_name("N")
      ->check(WholeNumber("a number of lines", 1));
  live->add_option("-w,--wait", settings->wait_seconds,
                   "wait up to SECONDS for a meter that is not there at the start (default: "
                   "exit 3 at once)")
      ->type_name("SECONDS")
      ->check(WholeNumber("a number of seconds", 0));
  AddFormatOption<LiveFormat>(
      *live, settings->format,
      {{"jsonl", LiveFormat::JsonLines}, {"csv", LiveFormat::Csv}, {"influx", LiveFormat::Influx}},
      "jsonl (default), csv or influx");
  AddPathOption(*live, "-o,--output", settings->output,
                "append the lines to FILE (- or none: standard output), which must hold lines of "
                "the same format; a CSV header goes only into an empty file")
      ->type_name("FILE");
  live->footer(
      "Example:\n  halvane-cli live --format csv --output levels.csv\n"
      "Ctrl-C or SIGTERM stop it after the line being written, and so does a reader that "
      "closes standard output. A meter that goes away later is waited for, said so on "
      "standard error.\n");
  live->callback([&run, &options, settings] {
    run = [&options, settings] { return RunLive(options, *settings); };
  });
}

}  // namespace halvane
