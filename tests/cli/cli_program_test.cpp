// Runs the real halvane-cli against its simulated meter, as a script would; what it downloads is
// compared with the files the windows write, in tests/data/records.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "cli/exit_codes.h"
#include "live/meter.h"
#include "sim/meter_state.h"
#include "tests/file_text.h"

namespace halvane::test {
namespace {

namespace fs = std::filesystem;

class CliProgramTest : public ::testing::Test {
 protected:
  struct Run {
    int status = -1;
    std::string out, err;
  };

  // halvane-cli with these arguments, each passed as it stands; or, `through_shell`, the
  // command of the arguments with the program's path after them, as $0 of a `sh -c`.
  Run Cli(const std::vector<std::string>& arguments, bool through_shell = false) const {
    std::string command = through_shell ? "" : std::string("'") + HALVANE_CLI + "'";
    for (const std::string& argument : arguments) {
      command += " '" + argument + "'";
    }
    if (through_shell) {
      command += std::string(" '") + HALVANE_CLI + "'";
    }
    command += " >'" + (folder / "out").string() + "' 2>'" + (folder / "err").string() + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, FileText(folder / "out"),
            FileText(folder / "err")};
  }

  ScratchFolder folder;
  // A record file as the windows write it.
  const std::string record = DataPath("records/sample_flash_record_3.txt").string();
};

// The lines' layout is the live formats' own; here they carry the simulated meter's state.
TEST_F(CliProgramTest, LiveLinesCarryWhatTheSimulatedMeterShows) {
  const MeterState meter;
  const Run run = Cli({"--simulate", "live", "--count", "5"});
  ASSERT_EQ(run.status, kExitSuccess) << run.err;
  const std::vector<std::string> lines = TextLines(run.out);
  ASSERT_EQ(lines.size(), 5u);
  for (const std::string& text : lines) {
    const nlohmann::json line = nlohmann::json::parse(text);
    EXPECT_EQ(line["display_mode"], meter.display_mode);
    EXPECT_EQ(line["range_top"], meter.range_top);
    EXPECT_EQ(line["battery"], meter.battery_level);
    EXPECT_EQ(line["main_item"], ItemLabel(meter.item_code, "A", "F"));
    EXPECT_EQ(line["sub_item"], ItemLabel(meter.item_code, "C", "S"));
    EXPECT_EQ(line["storage"], meter.storage_is_flash ? "flash" : "sd");
    EXPECT_GT(line["main_level"].get<double>(), 20.0);
    EXPECT_EQ(line["time"].get<std::string>().size(), 24u);  // 2026-01-02T03:04:05.678Z
  }
}

TEST_F(CliProgramTest, LiveOutputAppendsWithOneHeader) {
  const fs::path file = folder / "levels.csv";
  for (const char* count : {"2", "3"}) {
    const Run run = Cli({"--simulate", "live", "-n", count, "-f", "csv", "-o", file.string()});
    ASSERT_EQ(run.status, kExitSuccess) << run.err;
    EXPECT_EQ(run.out, "");
  }
  const std::vector<std::string> lines = TextLines(FileText(file));
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_TRUE(lines[0].starts_with("time,display_mode,"));
  EXPECT_FALSE(lines[3].starts_with("time,"));
}

TEST_F(CliProgramTest, LiveWaitsForAMeterThatWasAwayAndGoesOn) {
  const Run run = Cli({"--simulate", "--sim-unplug", "3:2500", "live", "--count", "4"});
  ASSERT_EQ(run.status, kExitSuccess) << run.err;
  const std::vector<std::string> lines = TextLines(run.out);
  ASSERT_EQ(lines.size(), 4u);
  const auto seconds = [&](std::size_t i) {
    const std::string time = nlohmann::json::parse(lines[i])["time"];
    return std::stod(time.substr(14, 2)) * 60 + std::stod(time.substr(17, 6));
  };
  EXPECT_GE(std::fmod(seconds(2) - seconds(1) + 3600, 3600), 2.5);  // the gap
  EXPECT_NE(run.err.find("waiting for it"), std::string::npos);
  EXPECT_NE(run.err.find("answers again"), std::string::npos);
}

TEST_F(CliProgramTest, LiveStopsOnSigtermWithEveryLineComplete) {
  const Run run =
      Cli({"sh", "-c", "\"$0\" --simulate live & pid=$!; sleep 1.3; kill -TERM $pid; wait $pid"},
          /*through_shell=*/true);
  EXPECT_EQ(run.status, kExitSuccess) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(run.out.ends_with("\n"));
  const std::vector<std::string> lines = TextLines(run.out);
  EXPECT_GE(lines.size(), 3u);
  for (const std::string& line : lines) {
    EXPECT_TRUE(nlohmann::json::accept(line)) << line;
  }
}

TEST_F(CliProgramTest, DownloadsAndListsAreTheFilesAndTablesTheWindowsShow) {
  const fs::path got = folder / "record3.txt";
  ASSERT_EQ(Cli({"--simulate", "flash", "get", "3", "-o", got.string()}).status, kExitSuccess);
  EXPECT_EQ(FileText(got), FileText(record));
  ASSERT_EQ(Cli({"--simulate", "flash", "get", "--all", "-o", (folder / "all").string()}).status,
            kExitSuccess);
  EXPECT_EQ(FileText(folder / "all/record-003-20130810-235950.txt"), FileText(record));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder / "all"), fs::directory_iterator()), 5);
  ExpectDataFile(Cli({"--simulate", "sd", "get", "2"}).out, "records/sample_card_set_2.txt");
  ExpectDataFile(Cli({"--simulate", "flash", "list", "--format", "json"}).out + "\n" +
                     Cli({"--simulate", "flash", "list"}).out + "\n" +
                     Cli({"--simulate", "sd", "list", "--format", "json"}).out,
                 "cli/lists.txt");
}

TEST_F(CliProgramTest, SavedRawContentsLoadIntoTheSimulatedMeterAgain) {
  const fs::path image = folder / "flash.bin", set = folder / "set.sd";
  ASSERT_EQ(Cli({"--simulate", "flash", "save", "-o", image.string()}).status, kExitSuccess);
  ASSERT_EQ(Cli({"--simulate", "sd", "save", "2", "-o", set.string()}).status, kExitSuccess);
  const Run original = Cli({"--simulate", "flash", "list", "--format", "json"});
  const Run reloaded =
      Cli({"--simulate", "--sim-flash", image.string(), "flash", "list", "--format", "json"});
  ASSERT_EQ(reloaded.status, kExitSuccess) << reloaded.err;
  EXPECT_EQ(nlohmann::json::parse(reloaded.out), nlohmann::json::parse(original.out));
  EXPECT_EQ(nlohmann::json::parse(original.out).size(), 5u);

  const Run second_set = Cli({"--simulate", "sd", "get", "2"});
  const Run reloaded_set = Cli({"--simulate", "--sim-sd", set.string(), "sd", "get", "1"});
  ASSERT_EQ(reloaded_set.status, kExitSuccess) << reloaded_set.err;
  EXPECT_EQ(reloaded_set.out, second_set.out);
}

TEST_F(CliProgramTest, RecordInfoAndItemReadARecordFile) {
  ExpectDataFile(Cli({"record", "info", record}).out + "\n" +
                     Cli({"record", "item", record, "Leq(Main)", "--format", "jsonl"}).out,
                 "cli/record_info_and_item.txt");
}

TEST_F(CliProgramTest, FailuresSayWhyInOneLineAndExitWithTheirCode) {
  const fs::path not_a_record = folder / "notes.txt";
  std::ofstream(not_a_record) << "shopping list\n";
  const std::pair<std::vector<std::string>, int> cases[] = {
      {{"record", "info", (folder / "missing.txt").string()}, kExitUsage},
      {{"record", "info", not_a_record.string()}, kExitUsage},
      {{"record", "item", record, "Leq(Nowhere)"}, kExitUsage},
      {{"--simulate", "flash", "get", "6"}, kExitUsage},
      {{"--simulate", "flash", "get", "0"}, kExitUsage},
      {{"--simulate", "sd", "get", "99"}, kExitUsage},
      {{"--simulate", "live", "--format", "xml"}, kExitUsage},
      {{"--simulate", "--sim-flash", (folder / "missing.bin").string(), "flash", "list"},
       kExitUsage},
      {{"--simulate", "--path", "elsewhere", "clock", "sync"}, kExitNoMeter},
      {{"--simulate", "--path", "elsewhere", "flash", "list"}, kExitNoMeter},
  };
  for (const auto& [arguments, status] : cases) {
    const Run run = Cli(arguments);
    EXPECT_EQ(run.status, status) << arguments.back() << ": " << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.starts_with("halvane-cli: ")) << run.err;
    EXPECT_LE(TextLines(run.err).size(), 2u) << run.err;  // a parse error adds where to find help
  }
}

TEST_F(CliProgramTest, AMeterUnpluggedMidTransferLeavesNoFile) {
  const Run run = Cli({"--simulate", "--sim-unplug", "20", "flash", "get", "1", "-o",
                       (folder / "record.txt").string()});
  EXPECT_EQ(run.status, kExitTransfer);
  EXPECT_EQ(TextLines(run.err).size(), 1u) << run.err;
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 2)
      << "only the captured output streams";
}

}  // namespace
}  // namespace halvane::test
