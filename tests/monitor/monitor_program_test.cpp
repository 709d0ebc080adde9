// halvane-cli monitor over the simulated meter, feeding a real VictoriaMetrics and Mosquitto,
// killed, restarted and unplugged as in the field.

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <thread>

#include "acoustics/local_calendar.h"
#include "tests/file_text.h"
#include "tests/monitor/test_servers.h"

namespace halvane {
namespace {

namespace fs = std::filesystem;
using test::ChildProcess;
using test::Eventually;
using test::FileText;
using test::ServerKind;
using test::TemporaryFolder;
using test::TestServer;
using test::TextLines;

using Row = std::map<std::string, std::string>;

// The rows of a results file by its header (after the comment line); cells are plain here.
std::vector<Row> CsvRows(const fs::path& file) {
  const std::vector<std::string> lines = TextLines(FileText(file));
  std::vector<Row> rows;
  const auto cells = [](const std::string& line) {
    std::vector<std::string> values;
    std::istringstream in(line);
    for (std::string value; std::getline(in, value, ',');) {
      values.push_back(value);
    }
    return values;
  };
  for (std::size_t i = 2; i < lines.size(); ++i) {
    const std::vector<std::string> names = cells(lines[1]), values = cells(lines[i]);
    Row& row = rows.emplace_back();
    for (std::size_t column = 0; column < names.size(); ++column) {
      row[names[column]] = column < values.size() ? values[column] : "";
    }
  }
  return rows;
}

// Seconds since 1970 of a time the program wrote under TZ=UTC.
std::int64_t SecondsOf(const std::string& iso_time) {
  std::tm time{};
  strptime(iso_time.c_str(), "%Y-%m-%dT%H:%M:%S", &time);
  return timegm(&time);
}

class MonitorProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);  // the program and the checks read times alike
    tzset();
  }

  // halvane-cli --simulate [before] monitor --period 2s, results in the test's folder.
  std::unique_ptr<ChildProcess> Monitor(const std::vector<std::string>& arguments,
                                        const std::vector<std::string>& before = {}) {
    std::vector<std::string> command{HALVANE_CLI, "--simulate"};
    command.insert(command.end(), before.begin(), before.end());
    for (const char* argument : {"monitor", "--period", "2s", "--stale-after", "1", "--state"}) {
      command.push_back(argument);
    }
    command.push_back((folder_.Path() / "state").string());
    command.push_back("-o");
    command.push_back(Output().string());
    command.insert(command.end(), arguments.begin(), arguments.end());
    return std::make_unique<ChildProcess>(command, folder_.Path() / "stdout",
                                          folder_.Path() / "stderr");
  }
  fs::path Output() const { return folder_.Path() / "out"; }
  std::string Errors() const { return FileText(folder_.Path() / "stderr"); }
  static void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds{ms}); }

  TemporaryFolder folder_;
};

TEST_F(MonitorProgramTest, PeriodsInTheDatabaseEqualTheFileAcrossAKillAndARestart) {
  const auto server = TestServer::Start(ServerKind::VictoriaMetrics);
  ASSERT_TRUE(server);
  const std::vector<std::string> feed{"--influx-url", server->Url()};
  auto run = Monitor(feed);
  Sleep(7000);
  run->Signal(SIGKILL);
  EXPECT_EQ(run->Wait(std::chrono::seconds{5}), 128 + SIGKILL);
  run = Monitor(feed);
  Sleep(7000);
  run->Signal(SIGTERM);
  ASSERT_EQ(run->Wait(std::chrono::seconds{15}), 0) << Errors();

  std::set<std::string> in_file;
  std::vector<std::string> starts;
  for (const Row& row : CsvRows(Output() / "periods.csv")) {
    if (row.at("period_s") == "2" && row.at("channel") == "sub") {
      in_file.insert(row.at("start") + " " + row.at("missing_s") + " " + row.at("leq"));
      starts.push_back(row.at("start"));
    }
  }
  // Every period from the first to the last, once: the one the kill cut short comes again.
  ASSERT_GE(starts.size(), 6u);
  for (std::size_t i = 1; i < starts.size(); ++i) {
    EXPECT_EQ(SecondsOf(starts[i]) - SecondsOf(starts[i - 1]), 2) << starts[i];
  }
  test::HttpGet(server->Url() + "/internal/force_flush");
  std::map<std::int64_t, std::string> missing, leq;
  for (const char* metric : {"missing_s", "leq"}) {
    const std::string body =
        test::HttpGet(server->Url() + "/api/v1/export?match%5B%5D=halvane_period_" + metric +
                      "%7Bchannel%3D%22sub%22%2Cperiod%3D%222s%22%7D");
    for (const std::string& line : TextLines(body)) {
      const auto series = nlohmann::json::parse(line);
      for (std::size_t i = 0; i < series["values"].size(); ++i) {
        std::ostringstream value;
        value << series["values"][i].get<double>();
        (metric == std::string("leq") ? leq : missing)[series["timestamps"][i]] = value.str();
      }
    }
  }
  std::set<std::string> in_database;
  for (const auto& [time, value] : missing) {
    in_database.insert(LocalIsoTime(time) + " " + value + " " +
                       (leq.contains(time) ? leq[time] : ""));
  }
  EXPECT_EQ(in_database, in_file);
}

// What a subscriber to halvane/# saw, one "topic payload" line each; the statuses of
// `serial` in order. A lasting subscriber's session stays with the broker while it is away, so
// that it gets every message the broker takes, even before it has connected again.
struct Subscriber {
  enum class Session { kClean, kLasting };
  Subscriber(int port, const fs::path& folder, Session session = Session::kClean)
      : output(folder / "subscriber"),
        process(Command(port, session), output, folder / "subscriber.err") {}
  static std::vector<std::string> Command(int port, Session session) {
    std::vector<std::string> command{
        "mosquitto_sub", "-h", "127.0.0.1", "-p", std::to_string(port), "-t",
        "halvane/#",     "-v", "-q",        "1"};
    if (session == Session::kLasting) {
      command.insert(command.end(), {"-c", "-i", "halvane-test-watcher"});
    }
    return command;
  }
  std::vector<std::string> Statuses(const std::string& serial) const {
    const std::string topic = "halvane/yard/" + serial + "/status ";
    std::vector<std::string> statuses;
    for (const std::string& line : TextLines(FileText(output))) {
      if (line.starts_with(topic)) {
        statuses.push_back(line.substr(topic.size()));
      }
    }
    return statuses;
  }
  bool Saw(const std::string& text) const {
    return FileText(output).find(text) != std::string::npos;
  }
  fs::path output;
  ChildProcess process;
};

TEST_F(MonitorProgramTest, AnUnpluggedMeterIsAGapAndStaleAndAKilledProgramGoesOffline) {
  const auto broker = TestServer::Start(ServerKind::Mosquitto);
  ASSERT_TRUE(broker);
  const Subscriber subscriber(broker->Port(), folder_.Path());
  Sleep(300);
  auto run = Monitor({"--mqtt-url", broker->Url(), "--site", "yard"}, {"--sim-unplug", "25:2500"});
  Sleep(9000);
  run->Signal(SIGKILL);
  run->Wait(std::chrono::seconds{5});
  ASSERT_TRUE(Eventually([&] { return subscriber.Statuses("SIM00001").size() >= 4; }))
      << FileText(subscriber.output);
  EXPECT_EQ(subscriber.Statuses("SIM00001"),
            (std::vector<std::string>{"online", "stale", "online", "offline"}));
  EXPECT_TRUE(subscriber.Saw("halvane/yard/SIM00001/period halvane_period,site=yard"));

  const std::vector<Row> gaps = CsvRows(Output() / "gaps.csv");
  ASSERT_EQ(gaps.size(), 1u);
  EXPECT_EQ(gaps[0].at("reason"), "the meter did not answer");
  const double gap_s = std::stod(gaps[0].at("duration_s"));
  EXPECT_GT(gap_s, 2.4);
  double missing_s = 0;
  for (const Row& row : CsvRows(Output() / "periods.csv")) {
    if (row.at("period_s") == "2" && row.at("channel") == "sub") {
      missing_s += std::stod(row.at("missing_s"));
    }
  }
  // The periods' covered seconds are short by the gap, and by the time before the first
  // reading of the run.
  EXPECT_NEAR(missing_s, gap_s, 2.2);
  EXPECT_GE(missing_s, gap_s);
}

TEST_F(MonitorProgramTest, WhatWasMadeWhileTheBrokerWasDownArrivesOnceItIsUp) {
  const auto broker = TestServer::Start(ServerKind::Mosquitto);
  ASSERT_TRUE(broker);
  const Subscriber subscriber(broker->Port(), folder_.Path(), Subscriber::Session::kLasting);
  ASSERT_TRUE(Eventually([&] { return broker->Log().find("SUBACK") != std::string::npos; }));
  broker->Stop();
  auto run = Monitor({"--mqtt-url", broker->Url(), "--site", "yard"});
  Sleep(4500);
  ASSERT_TRUE(broker->Restart());
  EXPECT_TRUE(Eventually(
      [&] { return subscriber.Statuses("SIM00001") == std::vector<std::string>{"online"}; }));
  run->Signal(SIGTERM);
  EXPECT_EQ(run->Wait(std::chrono::seconds{15}), 0) << Errors();
  EXPECT_TRUE(Eventually([&] { return subscriber.Statuses("SIM00001").size() == 2; }))
      << FileText(subscriber.output);
  // Every period result arrived once, those made while the broker was down too: one line of
  // the feed for each row of the results file.
  const std::size_t rows = CsvRows(Output() / "periods.csv").size();
  std::multiset<std::string> received;
  for (const std::string& line : TextLines(FileText(subscriber.output))) {
    if (const std::size_t at = line.find("halvane_period,"); at != std::string::npos) {
      received.insert(line.substr(at));
    }
  }
  EXPECT_GE(rows, 6u);
  EXPECT_EQ(received.size(), rows) << FileText(subscriber.output);
  EXPECT_EQ(std::set<std::string>(received.begin(), received.end()).size(), received.size());
  EXPECT_NE(Errors().find("does not take the data"), std::string::npos) << Errors();
}

TEST_F(MonitorProgramTest, AWrongCommandLineEndsAtOnceWithoutShowingASecret) {
  const fs::path secrets = folder_.Path() / "secrets";
  std::ofstream(secrets) << "eve:hunter2\n";
  fs::permissions(secrets, fs::perms::owner_read | fs::perms::group_read);
  const struct {
    std::vector<std::string> arguments;
    const char* says;
  } cases[] = {
      {{"--period", "7m"}, "--period takes lengths that divide an hour"},
      {{"--influx-url", "ftp://eve:hunter2@db"}, "--influx-url takes a URL starting with http://"},
      {{"--mqtt-url", "mqtt://db", "--mqtt-credentials", secrets.string()}, "(chmod 600)"},
  };
  for (const auto& row : cases) {
    fs::remove(folder_.Path() / "stderr");
    EXPECT_EQ(Monitor(row.arguments)->Wait(std::chrono::seconds{10}), 2);
    EXPECT_NE(Errors().find(row.says), std::string::npos) << Errors();
    EXPECT_EQ(Errors().find("hunter2"), std::string::npos) << Errors();
  }
}

}  // namespace
}  // namespace halvane
