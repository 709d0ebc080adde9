#include "cli/meter_watch.h"

#include <memory>
#include <optional>

#include "cli/exit_codes.h"
#include "cli/meter_session.h"
#include "cli/stop_signals.h"
#include "control/meter_commands.h"
#include "live/live_reply.h"
#include "monitor/run_state.h"

namespace halvane {

namespace {

constexpr std::chrono::milliseconds kPublishInterval{2000};
constexpr std::chrono::milliseconds kKeyPause{500};
constexpr int kItemLp = 0;
constexpr int kItemCount = 10;
constexpr std::size_t kItemByte = 21;
constexpr MeterKey kUpKey = kMeterKeys[4];
constexpr MeterKey kDownKey = kMeterKeys[5];

WallMs WallNow() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

bool Poll(USB& usb) {
  usb.OutputReport()[0] = 0x00;
  usb.OutputReport()[1] = kLivePollCommand;
  usb.ExchangeReports();
  return usb.MeterConnected();
}

int ItemCode(const USB& usb) {
  return usb.InputReportCopy()[kItemByte] & 0x0F;
}

// Steps the main channel's item to Lp with the UP or DOWN key, whichever takes fewer presses,
// the keys 500 ms apart as the keypad's. False when the meter does not get there.
bool SetMainItemToLp(USB& usb) {
  for (int press = 0; press < kItemCount && Poll(usb); ++press) {
    const int item = ItemCode(usb);
    if (item == kItemLp) {
      return true;
    }
    FillKeyCommand(usb.OutputReport(), item <= kItemCount / 2 ? kDownKey : kUpKey);
    usb.ExchangeReports();
    SleepUntil(std::chrono::steady_clock::now() + kKeyPause);
  }
  return Poll(usb) && ItemCode(usb) == kItemLp;
}

}  // namespace

MeterWatch::MeterWatch(Options options, const WatchSettings& settings, MonitorFeeds& feeds,
                       const std::atomic<bool>& stop)
    : options_(std::move(options)),
      settings_(settings),
      feeds_(feeds),
      stop_(stop),
      thread_([this] { Run(); }) {}

MeterWatch::~MeterWatch() {
  thread_.join();
}

void MeterWatch::Run() {
  int status = kExitSuccess;  // said on standard error by Open; the watch just ends
  std::unique_ptr<MeterSession> session = MeterSession::Open(options_, status);
  if (!session) {
    return;
  }
  USB& usb = session->Usb();
  const std::string where = options_.device_path.empty() ? "the meter" : options_.device_path;
  std::string serial;
  std::optional<MeterMonitor> monitor;
  std::filesystem::path state_file;
  MonitorRecords records;
  std::vector<MonitorReading> readings;
  bool online = false;  // said so to the broker
  bool away = false;
  bool stale = false;
  WallMs last_reading_ms = WallNow();
  auto next_poll = std::chrono::steady_clock::now();
  auto next_publish = next_poll + kPublishInterval;
  const auto publish = [&](bool closed) {
    feeds_.Publish(serial, records, readings);
    records = {};
    readings.clear();
    std::string error;
    if (const std::optional<WallMs> until = monitor->CoveredUntil();
        until && !SaveRunState(state_file, {*until, closed}, error)) {
      SayError("cannot record where the readings of " + serial + " end: " + error);
    }
  };
  while (!stop_) {
    const WallMs now = WallNow();
    if (Poll(usb)) {
      if (!monitor) {
        serial = usb.ConnectedDevice().serial_number.empty() ? usb.ConnectedDevice().path
                                                             : usb.ConnectedDevice().serial_number;
        state_file = RunStatePath(feeds_.Settings().state_folder, serial);
        monitor.emplace(settings_.monitor, LoadRunState(state_file));
        if (settings_.main_item_to_lp && !SetMainItemToLp(usb)) {
          SayError("the main item of " + serial + " could not be set to Lp");
        }
      }
      if (away || stale) {
        SayError(serial + " answers again");
      }
      if (away || stale || !online) {
        feeds_.SetStatus(serial, "online");
      }
      online = true;
      away = stale = false;
      const LiveSample sample =
          LiveSampleAt(std::chrono::system_clock::now(), DecodeLiveReply(usb.InputReportCopy()));
      readings.push_back(MonitorReadingOf(sample));
      monitor->Answered(readings.back(), records);
      last_reading_ms = readings.back().time_ms;
    } else if (!monitor) {
      if (!away) {
        SayError(where + " is not found; waiting for it");
        away = true;
      }
    } else {
      if (!away) {
        SayError(serial + " does not answer; waiting for it");
        away = true;
      }
      monitor->Missed(now, records);
      if (!stale && now - last_reading_ms >= settings_.stale_after.count()) {
        feeds_.SetStatus(serial, "stale");
        stale = true;
      }
    }
    // Results go out as soon as they are made, so that a crash loses no finished period; the
    // live levels every few seconds.
    if (monitor && (!records.Empty() || std::chrono::steady_clock::now() >= next_publish)) {
      publish(false);
      next_publish = std::chrono::steady_clock::now() + kPublishInterval;
    }
    next_poll = std::max(next_poll + kLivePollInterval, std::chrono::steady_clock::now());
    SleepUntil(next_poll);
  }
  if (monitor) {
    monitor->Close(WallNow(), records);
    publish(true);
  }
}

}  // namespace halvane
