#include "cli/live_command.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>

#include "cli/exit_codes.h"
#include "cli/live_formats.h"
#include "cli/meter_session.h"
#include "cli/stop_signals.h"

namespace halvane {

namespace {

constexpr std::chrono::milliseconds kPollInterval{160};

struct LiveSettings {
  unsigned count = 0;  // 0: until stopped
  LiveFormat format = LiveFormat::JsonLines;
  std::string output;  // empty: standard output
};

LiveSample SampleNow(const InputReportBuffer& reply) {
  const auto now = std::chrono::system_clock::now();
  const auto since_epoch = now.time_since_epoch();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto milliseconds =
      std::chrono::duration_cast<std::chrono::milliseconds>(since_epoch).count() % 1000;
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  std::array<char, 40> text{};
  const std::size_t length = std::strftime(text.data(), text.size(), "%Y-%m-%dT%H:%M:%S", &utc);
  std::array<char, 8> fraction{};
  std::snprintf(fraction.data(), fraction.size(), ".%03dZ", static_cast<int>(milliseconds));
  LiveSample sample;
  sample.pc_time = std::string(text.data(), length) + fraction.data();
  sample.pc_time_ns = std::chrono::duration_cast<std::chrono::nanoseconds>(since_epoch).count();
  sample.reading = DecodeLiveReply(reply);
  return sample;
}

// Standard output, or the output file opened for appending.
struct LineSink {
  std::FILE* file = stdout;
  bool owned = false;
  bool empty = true;  // nothing written before: the CSV header goes first

  ~LineSink() {
    if (owned) {
      std::fclose(file);
    }
  }
  bool Write(const std::string& line) {
    empty = false;
    return std::fwrite(line.data(), 1, line.size(), file) == line.size() && std::fflush(file) == 0;
  }
};

std::unique_ptr<LineSink> OpenSink(const std::string& output) {
  auto sink = std::make_unique<LineSink>();
  if (output.empty()) {
    return sink;
  }
  sink->file = std::fopen(output.c_str(), "a");
  if (sink->file == nullptr) {
    SayError("cannot open " + output + ": " + std::strerror(errno));
    return nullptr;
  }
  sink->owned = true;
  sink->empty = std::ftell(sink->file) == 0;
  return sink;
}

int RunLive(const Options& options, const LiveSettings& settings) {
  std::unique_ptr<MeterSession> session = MeterSession::Open(options);
  if (!session) {
    return kExitUsage;
  }
  std::unique_ptr<LineSink> sink = OpenSink(settings.output);
  if (!sink) {
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
      const LiveSample sample = SampleNow(usb.InputReportCopy());
      const std::vector<LiveField> fields = LiveFields(sample);
      if (sink->empty && !sink->Write(LiveHeaderLine(settings.format, fields))) {
        SayError(std::string("cannot write the output: ") + std::strerror(errno));
        return kExitFailure;
      }
      if (!sink->Write(LiveLine(settings.format, sample, fields))) {
        SayError(std::string("cannot write the output: ") + std::strerror(errno));
        return kExitFailure;
      }
      ++written;
    }
    next_poll = std::max(next_poll + kPollInterval, std::chrono::steady_clock::now());
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
