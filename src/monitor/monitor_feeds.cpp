#include "monitor/monitor_feeds.h"

#include <algorithm>

#include "monitor/private_files.h"

namespace halvane {

namespace {

constexpr std::array<std::string_view, 4> kRecordTypes{"period", "day", "event", "gap"};

template <typename Record, typename Fields>
std::string Lines(LiveFormat format, MonitorFileKind kind, std::string_view serial,
                  const std::vector<Record>& records, Fields fields_of) {
  std::string lines;
  for (const Record& record : records) {
    std::vector<LiveField> fields = fields_of(serial, record);
    if (format == LiveFormat::JsonLines) {
      fields.insert(fields.begin(),
                    {"type", std::string(kRecordTypes[static_cast<std::size_t>(kind)])});
    }
    lines += MonitorLine(format, fields);
  }
  return lines;
}

}  // namespace

MonitorFeeds::MonitorFeeds(FeedSettings settings, Report report)
    : settings_(std::move(settings)), report_(std::move(report)) {}

MonitorFeeds::~MonitorFeeds() {
  Close(std::chrono::milliseconds{0});
}

std::unique_ptr<MonitorFeeds> MonitorFeeds::Open(const FeedSettings& settings, Report report,
                                                 std::string& error) {
  if (!MakePrivateFolder(settings.state_folder, error)) {
    return nullptr;
  }
  std::unique_ptr<MonitorFeeds> feeds(new MonitorFeeds(settings, std::move(report)));
  for (std::size_t kind = 0; kind < kMonitorFileNames.size(); ++kind) {
    Output& output = feeds->outputs_[kind];
    if (settings.output_folder.empty()) {
      output.log = LineLog::StandardOutput();
      continue;
    }
    const std::filesystem::path file =
        settings.output_folder / (std::string(kMonitorFileNames[kind]) +
                                  (settings.format == LiveFormat::Csv ? ".csv" : ".jsonl"));
    output.log = LineLog::OpenFile(file, error);
    if (!output.log) {
      error = file.string() + ": " + error;
      return nullptr;
    }
    if (output.log->Empty()) {
      output.waiting = MonitorFileHead(settings.format, static_cast<MonitorFileKind>(kind));
    }
  }
  if (settings.output_folder.empty()) {
    feeds->outputs_[0].waiting = MonitorFileHead(LiveFormat::JsonLines, MonitorFileKind::kPeriods);
  }
  if (settings.influx) {
    feeds->influx_.emplace();
    if (!feeds->OpenServer(*feeds->influx_, settings.state_folder / "spool-influx",
                           std::make_unique<HttpDelivery>(*settings.influx),
                           "the database at " + settings.influx->Shown(), error)) {
      return nullptr;
    }
  }
  return feeds;
}

bool MonitorFeeds::OpenServer(Server& server, const std::filesystem::path& folder,
                              std::unique_ptr<BatchDelivery> delivery, const std::string& name,
                              std::string& error) {
  server.spool = Spool::Open(folder, error);
  if (!server.spool) {
    return false;
  }
  server.delivery = std::move(delivery);
  server.sender = std::make_unique<SpoolSender>(*server.spool, *server.delivery, name, report_);
  server.sender->Wake();  // what an earlier run left behind
  return true;
}

MonitorFeeds::Server* MonitorFeeds::MqttServer(std::string_view serial) {
  if (!settings_.mqtt) {
    return nullptr;
  }
  if (const auto found = mqtt_.find(serial); found != mqtt_.end()) {
    return &found->second;
  }
  auto client = std::make_unique<MqttDelivery>(*settings_.mqtt, settings_.site, serial);
  MqttDelivery* client_view = client.get();
  Server& server = mqtt_[std::string(serial)];
  std::string error;
  const std::string name =
      "the broker at " + settings_.mqtt->Shown() + " (" + std::string(serial) + ")";
  if (!OpenServer(server, settings_.state_folder / ("spool-mqtt-" + std::string(serial)),
                  std::move(client), name, error)) {
    report_("cannot keep the MQTT spool of " + std::string(serial) + ": " + error);
    mqtt_.erase(std::string(serial));
    return nullptr;
  }
  mqtt_clients_[std::string(serial)] = client_view;
  return &server;
}

void MonitorFeeds::Write(Output& output, std::string lines, std::string_view what) {
  output.waiting += lines;
  if (output.waiting.empty()) {
    return;
  }
  std::string error;
  if (output.log->Append(output.waiting, error)) {
    output.waiting.clear();
    if (output.failing) {
      report_("the " + std::string(what) + " are written again");
      output.failing = false;
    }
  } else if (!output.failing) {
    report_("cannot write the " + std::string(what) + " (" + error +
            "); they are kept and written once it can be");
    output.failing = true;
  }
}

void MonitorFeeds::Spool(Server& server, std::string batch) {
  server.waiting.push_back(std::move(batch));
  std::string error;
  while (!server.waiting.empty() && server.spool->Append(server.waiting.front(), error)) {
    server.waiting.erase(server.waiting.begin());
  }
  if (!server.waiting.empty() && !server.failing) {
    report_("cannot write the spool in " + server.spool->Folder().string() + " (" + error +
            "); the data is kept in memory meanwhile");
  }
  server.failing = !server.waiting.empty();
  server.sender->Wake();
}

void MonitorFeeds::Publish(std::string_view serial, const MonitorRecords& records,
                           const std::vector<MonitorReading>& readings) {
  const LiveFormat format =
      settings_.output_folder.empty() ? LiveFormat::JsonLines : settings_.format;
  std::lock_guard lock(mutex_);
  Write(outputs_[0],
        Lines(format, MonitorFileKind::kPeriods, serial, records.periods, PeriodFields),
        "period results");
  Write(outputs_[1], Lines(format, MonitorFileKind::kDays, serial, records.days, DayFields),
        "day levels");
  Write(outputs_[2], Lines(format, MonitorFileKind::kEvents, serial, records.events, EventFields),
        "events");
  Write(outputs_[3], Lines(format, MonitorFileKind::kGaps, serial, records.gaps, GapFields),
        "gaps");
  const std::vector<FeedLines> feeds = FeedLinesOf(settings_.site, serial, records, readings);
  if (influx_) {
    std::string batch;
    for (const FeedLines& feed : feeds) {
      batch += feed.lines;
    }
    if (!batch.empty()) {
      Spool(*influx_, std::move(batch));
    }
  }
  if (Server* mqtt = MqttServer(serial)) {
    for (const FeedLines& feed : feeds) {
      Spool(*mqtt, MqttDelivery::Batch(feed.kind, feed.lines));
    }
  }
}

void MonitorFeeds::SetStatus(std::string_view serial, std::string_view status) {
  std::lock_guard lock(mutex_);
  if (MqttServer(serial) != nullptr) {
    mqtt_clients_.at(std::string(serial))->SetStatus(status);
  }
}

void MonitorFeeds::Close(std::chrono::milliseconds grace) {
  std::lock_guard lock(mutex_);
  for (Output& output : outputs_) {
    if (output.log) {
      Write(output, {}, "results");
    }
  }
  // One grace for all servers; each broker still gets a moment to take the "offline".
  const auto deadline = std::chrono::steady_clock::now() + grace;
  const auto left = [deadline](std::chrono::milliseconds at_least) {
    return std::max(at_least, std::chrono::duration_cast<std::chrono::milliseconds>(
                                  deadline - std::chrono::steady_clock::now()));
  };
  if (influx_ && influx_->sender) {
    influx_->sender->Stop(left(std::chrono::milliseconds{0}));
  }
  for (auto& [serial, server] : mqtt_) {
    if (server.sender) {
      server.sender->Stop(left(std::chrono::milliseconds{0}));
    }
    mqtt_clients_.at(serial)->Close(left(std::chrono::milliseconds{1000}));
  }
  mqtt_.clear();
  mqtt_clients_.clear();
  influx_.reset();
}

}  // namespace halvane
