#pragma once
// Where the monitor's results go: appended whole to the results files (or as JSON lines to
// standard output), spooled for a line-protocol server, and spooled per meter for an MQTT
// broker. Meters publish from their own threads. A file or spool that cannot be written is
// reported once and its lines are kept and written again with the next batch.

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "live/line_log.h"
#include "live/live_formats.h"
#include "monitor/http_delivery.h"
#include "monitor/meter_monitor.h"
#include "monitor/monitor_records.h"
#include "monitor/mqtt_delivery.h"
#include "monitor/spool.h"
#include "monitor/spool_sender.h"

namespace halvane {

struct FeedSettings {
  std::filesystem::path state_folder;
  std::filesystem::path output_folder;  // empty: JSON lines on standard output
  LiveFormat format = LiveFormat::Csv;
  std::optional<ServerAddress> influx;
  std::optional<ServerAddress> mqtt;
  std::string site = "site";
};

class MonitorFeeds {
 public:
  using Report = std::function<void(const std::string& message)>;

  // Null with the reason in `error` when the state folder, a spool or an output file cannot
  // be opened.
  static std::unique_ptr<MonitorFeeds> Open(const FeedSettings& settings, Report report,
                                            std::string& error);
  ~MonitorFeeds();

  // Writes the results of meter `serial` and the live levels of its readings.
  void Publish(std::string_view serial, const MonitorRecords& records,
               const std::vector<MonitorReading>& readings);
  // The retained MQTT status of meter `serial`: "online", "stale" or "offline".
  void SetStatus(std::string_view serial, std::string_view status);
  // Sends what the spools hold for at most `grace`, says "offline" for every meter and stops.
  void Close(std::chrono::milliseconds grace);

  const FeedSettings& Settings() const { return settings_; }

 private:
  struct Output {
    std::unique_ptr<LineLog> log;
    std::string waiting;  // lines not yet written
    bool failing = false;
  };
  struct Server {
    std::unique_ptr<Spool> spool;
    std::unique_ptr<BatchDelivery> delivery;
    std::unique_ptr<SpoolSender> sender;
    std::vector<std::string> waiting;  // batches not yet spooled
    bool failing = false;
  };
  MonitorFeeds(FeedSettings settings, Report report);
  bool OpenServer(Server& server, const std::filesystem::path& folder,
                  std::unique_ptr<BatchDelivery> delivery, const std::string& name,
                  std::string& error);
  Server* MqttServer(std::string_view serial);
  void Write(Output& output, std::string lines, std::string_view what);
  void Spool(Server& server, std::string batch);

  FeedSettings settings_;
  Report report_;
  std::mutex mutex_;
  std::array<Output, kMonitorFileNames.size()> outputs_;  // by MonitorFileKind
  std::optional<Server> influx_;
  std::map<std::string, Server, std::less<>> mqtt_;  // by serial number
  std::map<std::string, MqttDelivery*, std::less<>> mqtt_clients_;
};

}  // namespace halvane
