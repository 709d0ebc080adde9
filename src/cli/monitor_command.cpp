#include "cli/monitor_command.h"

#include <atomic>
#include <charconv>
#include <map>
#include <memory>
#include <set>

#include "cli/exit_codes.h"
#include "cli/meter_session.h"
#include "cli/meter_watch.h"
#include "cli/stop_signals.h"
#include "cli/usage.h"
#include "monitor/monitor_feeds.h"

namespace halvane {

namespace {

constexpr std::chrono::seconds kMeterScanInterval{10};
constexpr std::chrono::seconds kFlushGrace{10};

struct MonitorOptions {
  std::vector<std::string> periods{"15m"};
  std::optional<double> limit_db;
  double min_duration_s = 0;
  std::vector<int> day_parts{7, 19, 23};
  std::string output_folder;
  std::optional<LiveFormat> format;
  std::string influx_url, influx_credentials;
  std::string mqtt_url, mqtt_credentials;
  std::string site = "site";
  std::string state_folder;
  double stale_after_s = 10;
  std::vector<std::string> paths;
  bool all_meters = false;
  bool main_item_to_lp = false;
};

// "30s", "15m", "1h": a length that divides an hour; nullopt otherwise.
std::optional<WallMs> PeriodLength(std::string_view text) {
  int count = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
  const std::string_view unit(end, static_cast<std::size_t>(text.data() + text.size() - end));
  const std::map<std::string_view, WallMs> units{
      {"s", kSecondMs}, {"m", 60 * kSecondMs}, {"h", kHourMs}};
  const auto found = units.find(unit);
  if (error != std::errc() || count <= 0 || found == units.end() ||
      kHourMs % (count * found->second) != 0) {
    return std::nullopt;
  }
  return count * found->second;
}

// The feeds' settings, or nullopt after saying what is wrong with the command line.
std::optional<FeedSettings> FeedSettingsOf(const MonitorOptions& given) {
  FeedSettings feeds;
  feeds.state_folder = given.state_folder.empty() ? DefaultStateFolder() / "monitor"
                                                  : std::filesystem::path(given.state_folder);
  feeds.output_folder = given.output_folder;
  feeds.format = given.format.value_or(LiveFormat::Csv);
  feeds.site = given.site;
  std::string error;
  if (!given.influx_url.empty()) {
    feeds.influx = ParseServerAddress(given.influx_url, HttpDelivery::Rules(),
                                      given.influx_credentials, error);
    if (!feeds.influx) {
      SayError("--influx-url " + error);
      return std::nullopt;
    }
  }
  if (!given.mqtt_url.empty()) {
    feeds.mqtt =
        ParseServerAddress(given.mqtt_url, MqttDelivery::Rules(), given.mqtt_credentials, error);
    if (!feeds.mqtt) {
      SayError("--mqtt-url " + error);
      return std::nullopt;
    }
  }
  if (given.output_folder.empty() && given.format == LiveFormat::Csv) {
    SayError("--format csv writes four files: give the folder with --output");
    return std::nullopt;
  }
  std::error_code created;
  if (!given.output_folder.empty() &&
      !std::filesystem::create_directories(given.output_folder, created) && created) {
    SayError("cannot create the output folder " + given.output_folder + ": " + created.message());
    return std::nullopt;
  }
  return feeds;
}

std::optional<WatchSettings> WatchSettingsOf(const MonitorOptions& given) {
  WatchSettings watch;
  watch.monitor.periods_ms.clear();
  for (const std::string& text : given.periods) {
    const std::optional<WallMs> period = PeriodLength(text);
    if (!period) {
      SayError("--period takes lengths that divide an hour, such as 1m,15m,1h, not '" + text + "'");
      return std::nullopt;
    }
    watch.monitor.periods_ms.push_back(*period);
  }
  if (given.limit_db) {
    watch.monitor.limit =
        EventLimit{*given.limit_db, static_cast<WallMs>(given.min_duration_s * kSecondMs)};
  }
  watch.monitor.day_parts = {given.day_parts[0], given.day_parts[1], given.day_parts[2]};
  watch.stale_after = std::chrono::milliseconds(static_cast<long>(given.stale_after_s * 1000));
  watch.main_item_to_lp = given.main_item_to_lp;
  return watch;
}

// The meters' device paths now attached, as the search sees them.
std::vector<std::string> AttachedMeters(const Options& options) {
  LinkFailure failure;
  std::unique_ptr<DeviceLink> link = DeviceLink::Open(options, failure);
  std::vector<std::string> paths;
  if (link) {
    for (const HidDeviceInfo& device :
         link->Backend().Enumerate(options.device.vendor, options.device.product)) {
      if (device.usage_page == 0 || device.usage_page >= kFirstVendorUsagePage) {
        paths.push_back(device.path);
      }
    }
  }
  return paths;
}

int RunMonitor(const Options& options, const MonitorOptions& given) {
  const std::optional<FeedSettings> feed_settings = FeedSettingsOf(given);
  const std::optional<WatchSettings> watch_settings = WatchSettingsOf(given);
  if (!feed_settings || !watch_settings) {
    return kExitUsage;
  }
  std::string error;
  std::unique_ptr<MonitorFeeds> feeds = MonitorFeeds::Open(
      *feed_settings, [](const std::string& line) { SayError(line); }, error);
  if (!feeds) {
    SayError(error);
    return kExitFailure;
  }
  CatchStopSignals();
  std::atomic<bool> stop = false;
  std::vector<std::unique_ptr<MeterWatch>> watches;
  std::set<std::string> watched;
  const auto watch = [&](const std::string& path) {
    if (watched.insert(path).second) {
      Options meter = options;
      meter.device_path = path;
      watches.push_back(std::make_unique<MeterWatch>(meter, *watch_settings, *feeds, stop));
    }
  };
  std::vector<std::string> paths = given.paths;
  if (!options.device_path.empty()) {
    paths.push_back(options.device_path);
  }
  if (paths.empty() && !given.all_meters) {
    paths.push_back({});  // the first meter found
  }
  for (const std::string& path : paths) {
    watch(path);
  }
  while (!StopRequested()) {
    if (given.all_meters) {
      for (const std::string& path : AttachedMeters(options)) {
        watch(path);
      }
    }
    const auto next_scan = std::chrono::steady_clock::now() + kMeterScanInterval;
    while (!StopRequested() && std::chrono::steady_clock::now() < next_scan) {
      SleepUntil(std::min(next_scan, std::chrono::steady_clock::now() + std::chrono::seconds{1}));
    }
  }
  stop = true;
  watches.clear();  // each writes what it holds
  feeds->Close(kFlushGrace);
  return kExitSuccess;
}

}  // namespace

void AddMonitorCommand(CLI::App& app, Options& options, std::function<int()>& run) {
  auto given = std::make_shared<MonitorOptions>();
  CLI::App* monitor = app.add_subcommand(
      "monitor",
      "Unattended monitoring: period results, day levels (Lden), events and gaps, written to "
      "files and fed to a time-series database or an MQTT broker, until Ctrl-C or SIGTERM.");
  monitor
      ->add_option("--period", given->periods, "period lengths that divide an hour (default 15m)")
      ->delimiter(',')
      ->type_name("LIST");
  CLI::Option* limit =
      monitor->add_option("--limit", given->limit_db, "record the exceedances of this level")
          ->type_name("DB");
  monitor
      ->add_option("--min-duration", given->min_duration_s,
                   "leave out exceedances shorter than this (default 0)")
      ->type_name("S")
      ->needs(limit);
  monitor
      ->add_option("--day-parts", given->day_parts,
                   "local hours at which day, evening and night begin (default 7,19,23)")
      ->delimiter(',')
      ->expected(3)
      ->check(CLI::Range(0, 23))
      ->type_name("D,E,N");
  monitor
      ->add_option("-o,--output", given->output_folder,
                   "append the results to periods, days, events and gaps files in DIR "
                   "(default: JSON lines on standard output)")
      ->type_name("DIR");
  AddFormatOption<std::optional<LiveFormat>>(
      *monitor, given->format, {{"csv", LiveFormat::Csv}, {"jsonl", LiveFormat::JsonLines}},
      "csv (default with --output) or jsonl");
  monitor
      ->add_option("--influx-url", given->influx_url,
                   "POST line protocol to InfluxDB 1.x (http://host:8086/write?db=NAME) or "
                   "VictoriaMetrics (http://host:8428)")
      ->type_name("URL");
  monitor
      ->add_option("--influx-credentials", given->influx_credentials,
                   "user:password for --influx-url from FILE, which only you may read")
      ->type_name("FILE");
  monitor
      ->add_option("--mqtt-url", given->mqtt_url,
                   "publish to the MQTT broker (mqtt://host:1883 or mqtts://host:8883)")
      ->type_name("URL");
  monitor
      ->add_option("--mqtt-credentials", given->mqtt_credentials,
                   "user:password for --mqtt-url from FILE, which only you may read")
      ->type_name("FILE");
  monitor->add_option("--site", given->site, "the site's name in tags and topics (default site)")
      ->type_name("NAME");
  monitor
      ->add_option("--stale-after", given->stale_after_s,
                   "say 'stale' when a meter gives no reading for this long (default 10)")
      ->type_name("S");
  monitor
      ->add_option("--state", given->state_folder,
                   "keep the spools and where each run ended in DIR (default "
                   "~/.local/state/halvane/monitor)")
      ->type_name("DIR");
  monitor->add_option("--path", given->paths, "monitor the meter at PATH; repeat for several")
      ->type_name("PATH");
  monitor->add_flag("--all-meters", given->all_meters,
                    "monitor every meter attached, and those plugged in later");
  monitor->add_flag("--main-lp", given->main_item_to_lp,
                    "set each meter's main item to Lp at the start (see below)");
  monitor->footer(
      "Only time-weighted sound levels (Lp) make period statistics. On the sound level meter "
      "screen the sub channel's Lp always comes with the reading, but the main channel's Lp "
      "only while its item is Lp: with any other item shown (LAeq, the meter's own start) the "
      "main channel's results are empty and say why. --main-lp steps the main item to Lp with "
      "the meter's UP/DOWN keys. The octave screens give the period Leq of each band.\n"
      "L5 to L95 are the levels exceeded for N % of the time; Leq is the time-weighted energy "
      "mean.\n"
      "Example:\n"
      "  halvane-cli monitor --period 1m,15m --limit 70 --min-duration 5 -o results \\\n"
      "      --influx-url http://127.0.0.1:8428 --mqtt-url mqtt://127.0.0.1 --site yard\n"
      "It runs until Ctrl-C or SIGTERM and then writes what it holds. A meter, server or disk "
      "that goes away is reported and waited for.\n");
  monitor->callback(
      [&run, &options, given] { run = [&options, given] { return RunMonitor(options, *given); }; });
}

}  // namespace halvane
