// Runs the real halvane-cli against its simulated meter, as a script would.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/exit_codes.h"
#include "control/typed_number.h"
#include "live/meter.h"
#include "records/concat.h"
#include "records/logger_image.h"
#include "records/plot_selection.h"
#include "records/record_file_reader.h"
#include "records/sd_set.h"
#include "sim/meter_state.h"
#include "sim/sample_logger_contents.h"
#include "tests/file_text.h"

namespace halvane {
namespace {

namespace fs = std::filesystem;

using test::FileText;
using test::TextLines;

class CliProgramTest : public testing::Test {
 protected:
  struct Run {
    int status = -1;
    std::string out, err;
  };

  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "halvane-cli-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { fs::remove_all(folder_); }

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
    command += " >'" + (folder_ / "out").string() + "' 2>'" + (folder_ / "err").string() + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, FileText(folder_ / "out"),
            FileText(folder_ / "err")};
  }

  fs::path folder_;
};

TEST_F(CliProgramTest, LiveLinesCarryWhatTheSimulatedMeterShows) {
  const MeterState meter;
  const Run json = Cli({"--simulate", "live", "--count", "5"});
  ASSERT_EQ(json.status, kExitSuccess) << json.err;
  const Run csv = Cli({"--simulate", "live", "--count", "5", "--format", "csv"});
  ASSERT_EQ(csv.status, kExitSuccess) << csv.err;

  const std::vector<std::string> json_lines = TextLines(json.out);
  ASSERT_EQ(json_lines.size(), 5u);
  const std::vector<std::string> csv_lines = TextLines(csv.out);
  ASSERT_EQ(csv_lines.size(), 6u);  // the header, then the lines
  std::vector<std::string> names;
  std::istringstream header(csv_lines[0]);
  for (std::string name; std::getline(header, name, ',');) {
    names.push_back(name);
  }
  for (std::size_t i = 0; i < 5; ++i) {
    const nlohmann::json line = nlohmann::json::parse(json_lines[i]);
    EXPECT_EQ(line["display_mode"], meter.display_mode);
    EXPECT_EQ(line["range_top"], meter.range_top);
    EXPECT_EQ(line["battery"], meter.battery_level);
    EXPECT_EQ(line["main_item"], ItemLabel(meter.item_code, "A", "F"));
    EXPECT_EQ(line["sub_item"], ItemLabel(meter.item_code, "C", "S"));
    EXPECT_EQ(line["storage"], meter.storage_is_flash ? "flash" : "sd");
    EXPECT_TRUE(line["main_level"].is_number());
    EXPECT_EQ(line["time"].get<std::string>().size(), 24u);  // 2026-01-02T03:04:05.678Z

    std::map<std::string, std::string> row;
    std::istringstream cells(csv_lines[i + 1] + ",");
    for (const std::string& name : names) {
      std::getline(cells, row[name], ',');
    }
    EXPECT_EQ(cells.peek(), EOF) << "more cells than names";
    EXPECT_EQ(row["range_top"], std::to_string(meter.range_top));
    EXPECT_EQ(row["main_freq_weighting"], "A");
    EXPECT_EQ(row["sub_time_weighting"], "S");
    EXPECT_GT(std::stod(row["main_level"]), 20.0);
    EXPECT_EQ(row["oct_1k"], "");  // the level meter screen carries no bands
  }
}

TEST_F(CliProgramTest, LiveOutputAppendsWithOneHeader) {
  const fs::path file = folder_ / "levels.csv";
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

TEST_F(CliProgramTest, DownloadsAreTheFilesTheWindowWrites) {
  const std::vector<std::uint8_t> image = SampleFlashImage();
  const LoggerRecordTable table = WalkLoggerImage(image, static_cast<std::uint32_t>(image.size()));
  ASSERT_GE(table.size(), 3u);
  const fs::path record = folder_ / "record3.txt";
  const Run flash = Cli({"--simulate", "flash", "get", "3", "-o", record.string()});
  ASSERT_EQ(flash.status, kExitSuccess) << flash.err;
  EXPECT_EQ(FileText(record), FlashRecordFileText(image, table[2]));

  const Run all = Cli({"--simulate", "flash", "get", "--all", "-o", (folder_ / "all").string()});
  ASSERT_EQ(all.status, kExitSuccess) << all.err;
  EXPECT_EQ(FileText(folder_ / "all" / "record-003-20130810-235950.txt"), FileText(record));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "all"), fs::directory_iterator()),
            static_cast<long>(table.size()));

  const std::string set_text = *SampleSdCard().front();
  const Run sd = Cli({"--simulate", "sd", "get", "1"});
  ASSERT_EQ(sd.status, kExitSuccess) << sd.err;
  EXPECT_EQ(sd.out, SdRecordFileText(set_text, SetLengthField(set_text)));
  // The list names each set's start and weighting as the data logger grid does.
  const RecordFileHeader lines = ParseSetHeader(set_text, SetLengthField(set_text)).lines;
  const Run list = Cli({"--simulate", "sd", "list"});
  EXPECT_TRUE(list.out.starts_with("No.\tEntry\tBytes\tStart\tWeighting\n1\t")) << list.out;
  EXPECT_NE(list.out.find(Concat({"\t", lines.start_time, "\tL", lines.main_freq_weighting,
                                  lines.main_time_weighting, "\n2\t"})),
            std::string::npos)
      << list.out;
}

TEST_F(CliProgramTest, SavedRawContentsLoadIntoTheSimulatedMeterAgain) {
  const fs::path image = folder_ / "flash.bin", set = folder_ / "set.sd";
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

TEST_F(CliProgramTest, RecordItemGivesTheCursorGraphsValues) {
  const fs::path record = folder_ / "record5.txt";
  ASSERT_EQ(Cli({"--simulate", "flash", "get", "5", "-o", record.string()}).status, kExitSuccess);
  const Run info = Cli({"record", "info", record.string()});
  ASSERT_EQ(info.status, kExitSuccess) << info.err;
  const nlohmann::json header = nlohmann::json::parse(info.out);
  const std::string item = header["items"][1];  // as the window's item list names it
  const RecordMode mode = ItemListMode(header["mode"].get<std::string>());
  const std::vector<std::string> entries = ItemEntries(mode);

  const Run values = Cli({"record", "item", record.string(), item, "--format", "jsonl"});
  ASSERT_EQ(values.status, kExitSuccess) << values.err;
  std::ifstream in(record, std::ios::binary);
  const ItemColumn column = ReadItemColumn(
      in, *ItemField(mode, std::find(entries.begin(), entries.end(), item) - entries.begin()),
      header["record_count"]);
  const std::vector<std::string> lines = TextLines(values.out);
  ASSERT_EQ(lines.size(), column.values.size());
  ASSERT_EQ(lines.size(), 300u);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const nlohmann::json line = nlohmann::json::parse(lines[i]);
    EXPECT_EQ(line["record"], i + 1);
    EXPECT_EQ(line["value"].get<double>(), *ReadWholeNumber(column.values[i]));
  }
}

TEST_F(CliProgramTest, FailuresSayWhyInOneLineAndExitWithTheirCode) {
  const fs::path record = folder_ / "record.txt", not_a_record = folder_ / "notes.txt";
  ASSERT_EQ(Cli({"--simulate", "flash", "get", "1", "-o", record.string()}).status, kExitSuccess);
  std::ofstream(not_a_record) << "shopping list\n";
  struct Case {
    std::vector<std::string> arguments;
    int status;
  };
  const Case cases[] = {
      {{"record", "info", (folder_ / "missing.txt").string()}, kExitUsage},
      {{"record", "info", not_a_record.string()}, kExitUsage},
      {{"record", "item", record.string(), "Leq(Nowhere)"}, kExitUsage},
      {{"--simulate", "flash", "get", "6"}, kExitUsage},
      {{"--simulate", "flash", "get", "0"}, kExitUsage},
      {{"--simulate", "sd", "get", "99"}, kExitUsage},
      {{"--simulate", "live", "--format", "xml"}, kExitUsage},
      {{"--simulate", "--sim-flash", (folder_ / "missing.bin").string(), "flash", "list"},
       kExitUsage},
      {{"--simulate", "--path", "elsewhere", "clock", "sync"}, kExitNoMeter},
      {{"--simulate", "--path", "elsewhere", "flash", "list"}, kExitNoMeter},
  };
  for (const Case& c : cases) {
    const Run run = Cli(c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments.back() << ": " << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.starts_with("halvane-cli: ")) << run.err;
    EXPECT_LE(TextLines(run.err).size(), 2u) << run.err;  // a parse error adds where to find help
  }
}

TEST_F(CliProgramTest, AMeterUnpluggedMidTransferLeavesNoFile) {
  const fs::path record = folder_ / "record.txt";
  const Run run =
      Cli({"--simulate", "--sim-unplug", "20", "flash", "get", "1", "-o", record.string()});
  EXPECT_EQ(run.status, kExitTransfer);
  EXPECT_EQ(TextLines(run.err).size(), 1u) << run.err;
  EXPECT_FALSE(fs::exists(record));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2)
      << "only the captured output streams";
}

}  // namespace
}  // namespace halvane
