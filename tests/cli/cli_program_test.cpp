// Runs the real halvane-cli against its simulated meter, as a script would.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "cli/exit_codes.h"
#include "live/meter.h"
#include "records/concat.h"
#include "records/logger_image.h"
#include "records/plot_selection.h"
#include "records/record_file_reader.h"
#include "records/sd_set.h"
#include "sim/meter_state.h"
#include "sim/sample_logger_contents.h"
#include "tests/file_text.h"
#include "tests/records/overfull_flash.h"
#include "tests/scratch_files.h"
#include "text/number_text.h"

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

  test::TempFolder folder_;
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
    EXPECT_GT(ReadWholeNumber(row["main_level"]).value_or(0), 20.0);
    EXPECT_EQ(row["oct_1k"], "");  // the level meter screen carries no bands
  }
}

// Lines are appended to a file named by -o or to standard output the shell appends to a file,
// with the header once; never to a file of another format.
TEST_F(CliProgramTest, LiveOutputAppendsWithOneHeader) {
  const fs::path file = folder_ / "levels.csv";
  const std::string appended = "\"$0\" --simulate live -n 3 -f csv >>'" + file.string() + "'";
  for (const Run& run : {Cli({"--simulate", "live", "-n", "2", "-f", "csv", "-o", file.string()}),
                         Cli({"sh", "-c", appended}, /*through_shell=*/true)}) {
    ASSERT_EQ(run.status, kExitSuccess) << run.err;
    EXPECT_EQ(run.out, "");
  }
  const std::string csv = FileText(file);
  const std::vector<std::string> lines = TextLines(csv);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_TRUE(lines[0].starts_with("time,display_mode,"));
  EXPECT_FALSE(lines[3].starts_with("time,"));

  const Run json = Cli({"--simulate", "live", "-n", "1", "-f", "jsonl", "-o", file.string()});
  EXPECT_EQ(json.status, kExitFailure);
  EXPECT_NE(json.err.find("another format than JSON lines"), std::string::npos) << json.err;
  EXPECT_EQ(FileText(file), csv);
}

TEST_F(CliProgramTest, LiveWaitsForAMeterThatWasAwayAndGoesOn) {
  const Run run = Cli({"--simulate", "--sim-unplug", "3:2500", "live", "--count", "4"});
  ASSERT_EQ(run.status, kExitSuccess) << run.err;
  const std::vector<std::string> lines = TextLines(run.out);
  ASSERT_EQ(lines.size(), 4u);
  const auto seconds = [&](std::size_t i) {
    const std::string time = nlohmann::json::parse(lines[i])["time"];
    return ReadNumber(time.substr(14, 2)) * 60 + ReadNumber(time.substr(17, 6));
  };
  EXPECT_GE(std::fmod(seconds(2) - seconds(1) + 3600, 3600), 2.5);  // the gap
  EXPECT_NE(run.err.find("waiting for it"), std::string::npos);
  EXPECT_NE(run.err.find("answers again"), std::string::npos);

  // A meter away at the start: no meter at once, or waited for with --wait.
  const std::vector<std::string> away{"--simulate", "--sim-unplug", "1:500", "live", "-n", "1"};
  EXPECT_EQ(Cli(away).status, kExitNoMeter);
  std::vector<std::string> waiting = away;
  waiting.insert(waiting.end(), {"--wait", "5"});
  const Run waited = Cli(waiting);
  EXPECT_EQ(waited.status, kExitSuccess) << waited.err;
  EXPECT_EQ(TextLines(waited.out).size(), 1U);
}

TEST_F(CliProgramTest, LiveStopsOnSigtermWithEveryLineCompleteAndQuietlyWhenItsReaderLeaves) {
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
  const Run read_once =
      Cli({"sh", "-c", "{ \"$0\" --simulate live; echo \"live: $?\" >&2; } | head -n 1"}, true);
  EXPECT_EQ(TextLines(read_once.out).size(), 1U);
  EXPECT_EQ(read_once.err, "live: 0\n");
}

TEST_F(CliProgramTest, DownloadsAreTheFilesTheWindowWritesOfEveryRecord) {
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
  const Run sd = Cli({"--simulate", "sd", "get", "1", "-o", "-"});  // "-": standard output
  ASSERT_EQ(sd.status, kExitSuccess) << sd.err;
  EXPECT_EQ(sd.out, SdRecordFileText(set_text, SetLengthField(set_text)));
  // The list names each set's start and weighting as the data logger grid does.
  const RecordFileHeader set_lines = ParseSetHeader(set_text, SetLengthField(set_text)).lines;
  const Run set_list = Cli({"--simulate", "sd", "list"});
  EXPECT_TRUE(set_list.out.starts_with("No.\tEntry\tBytes\tStart\tWeighting\n1\t")) << set_list.out;
  EXPECT_NE(
      set_list.out.find(Concat({"\t", set_lines.start_time, "\tL", set_lines.main_freq_weighting,
                                set_lines.main_time_weighting, "\n2\t"})),
      std::string::npos)
      << set_list.out;

  // Every record, also past the window's 250 and one cut short, which is marked.
  const std::string sim = folder_ / "overfull.bin";
  const std::vector<std::uint8_t> bytes = test::OverfullFlashImage();
  std::ofstream(sim, std::ios::binary) << std::string(bytes.begin(), bytes.end());
  const std::string last_number = std::to_string(test::kOverfullRecords);
  const Run list = Cli({"--simulate", "--sim-flash", sim, "flash", "list"});
  const std::vector<std::string> rows = TextLines(list.out);
  ASSERT_EQ(rows.size(), 1 + test::kOverfullRecords) << list.err;
  EXPECT_TRUE(rows.back().ends_with("\t1 of 2")) << rows.back();
  const std::string last = folder_ / "last.txt";
  ASSERT_EQ(Cli({"--simulate", "--sim-flash", sim, "flash", "get", last_number, "-o", last}).status,
            kExitSuccess);
  const std::vector<std::string> lines = TextLines(FileText(last));
  EXPECT_EQ(lines.size(), kFirstRecordLine);
  EXPECT_EQ(lines.at(9), "Records : 1\r");
  ASSERT_EQ(
      Cli({"--simulate", "--sim-flash", sim, "flash", "get", "--all", "-o", folder_ / "every"})
          .status,
      kExitSuccess);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "every"), fs::directory_iterator()),
            static_cast<long>(test::kOverfullRecords));
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

  // 8-bit text is Latin-1; a file saved as UTF-8 with a byte-order mark (here also with CR-only
  // line ends) is UTF-8. JSON gets "°" and "é" either way.
  std::string latin1 = FileText(record);
  latin1.insert(latin1.find("\r\n", latin1.find("Mode : ")), "\xB0");
  const std::string first_cell = "           1\t         ";  // record 1's date/time cell
  latin1.replace(latin1.find(first_cell) + first_cell.size() - 1, 1, "\xE9");
  std::string utf8 = "\xEF\xBB\xBF" + latin1;
  std::erase(utf8, '\n');
  utf8.replace(utf8.find('\xB0'), 1, "\u00B0");
  utf8.replace(utf8.find('\xE9'), 1, "\u00E9");
  const std::string edited = folder_ / "edited.txt";
  for (const std::string& text : {latin1, utf8}) {
    std::ofstream(edited, std::ios::binary) << text;
    const Run edited_info = Cli({"record", "info", edited});
    const Run edited_item = Cli({"record", "item", edited, item, "-f", "jsonl"});
    ASSERT_EQ(edited_info.status + edited_item.status, kExitSuccess) << edited_item.err;
    EXPECT_EQ(nlohmann::json::parse(edited_info.out)["mode"],
              header["mode"].get<std::string>() + "\u00B0");
    EXPECT_EQ(nlohmann::json::parse(TextLines(edited_item.out).at(0))["date_time"],
              "\u00E9" + column.date_times[0].substr(9));
  }
}

TEST_F(CliProgramTest, FailuresSayWhyInOneLineAndExitWithTheirCode) {
  const fs::path record = folder_ / "record.txt", not_a_record = folder_ / "notes.txt";
  ASSERT_EQ(Cli({"--simulate", "flash", "get", "1", "-o", record.string()}).status, kExitSuccess);
  std::ofstream(not_a_record) << "shopping list\n";
  const std::string missing_folder = (folder_ / "missing" / "out").string();
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string says = "";
  };
  const Case cases[] = {
      {{"record", "info", (folder_ / "missing.txt").string()}, kExitUsage},
      {{"record", "info", not_a_record.string()}, kExitUsage},
      {{"record", "info", "/dev/zero"}, kExitUsage, "not a record file"},
      {{"record", "item", record.string(), "Leq(Nowhere)"}, kExitUsage},
      {{"--simulate", "flash", "get", "6"}, kExitUsage},
      {{"--simulate", "flash", "get", "0"}, kExitUsage, "N: '0' is not a record number"},
      {{"--simulate", "sd", "get", "99"}, kExitUsage},
      {{"--simulate", "live", "--format", "xml"}, kExitUsage, "'xml' is not one of jsonl, csv"},
      {{"--simulate", "live", "-f", "1"}, kExitUsage, "'1' is not one of"},
      {{"--simulate", "live", "-n", "0"}, kExitUsage, "'0' is not a number of lines"},
      {{"--simulate", "flash", "list", "--frob"}, kExitUsage, "there is no option --frob"},
      {{"frobnicate"}, kExitUsage, "there is no command 'frobnicate'; the commands are live,"},
      {{"flash"}, kExitUsage, "flash needs one of its commands: list, get or save"},
      {{"--simulate", "flash", "get", "--all", "-o", record.string()}, kExitUsage, "is a file"},
      {{"--simulate", "--sim-flash", (folder_ / "missing.bin").string(), "flash", "list"},
       kExitUsage},
      {{"--simulate", "flash", "get", "1", "-o", missing_folder}, kExitFailure, "no folder"},
      {{"--simulate", "flash", "get", "--all", "-o", missing_folder}, kExitFailure, "no folder"},
      {{"--simulate", "sd", "save", "1", "-o", missing_folder}, kExitFailure, "no folder"},
      {{"--simulate", "live", "-o", missing_folder}, kExitFailure, "no folder"},
      {{"--simulate", "--path", "elsewhere", "clock", "sync"}, kExitNoMeter},
      {{"--simulate", "--path", "elsewhere", "flash", "list"}, kExitNoMeter},
      {{"--simulate", "flash", "save", "-o", folder_.Device("full").string()}, kExitFailure},
      {{"--simulate", "flash", "get", "--all", "-o", "-"}, kExitUsage},
      {{"--simulate", "--sim-unplug", "2", "flash", "list"}, kExitTransfer, "stopped answering"},
  };
  for (const Case& c : cases) {
    const Run run = Cli(c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments.back() << ": " << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.starts_with("halvane-cli: ")) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_LE(TextLines(run.err).size(), 2u) << run.err;  // a parse error adds where to find help
  }
  EXPECT_FALSE(fs::exists(folder_ / "missing"));
}

TEST_F(CliProgramTest, ClockSyncPausesBeforeTheNextReadAndBothPrintIso8601) {
  const fs::path trace = folder_ / "trace.txt";
  const Run sync = Cli({"--simulate", "--trace", trace.string(), "clock", "sync"});
  ASSERT_EQ(sync.status, kExitSuccess) << sync.err;
  const Run get = Cli({"--simulate", "clock", "get"});
  const std::regex iso_8601("20\\d\\d-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n");
  EXPECT_TRUE(std::regex_match(sync.out, iso_8601) && std::regex_match(get.out, iso_8601));
  // The trace: milliseconds since the start, then W and the bytes written.
  std::vector<double> sent_at;
  std::size_t set = 0;
  for (const std::string& line : TextLines(FileText(trace))) {
    if (line.find(" W ") != std::string::npos) {
      set = line.find(" W 00 41 02 ") != std::string::npos ? sent_at.size() : set;
      sent_at.push_back(ReadNumber(line));
    }
  }
  ASSERT_GT(sent_at.size(), set + 1) << "the clock is read back after it was set";
  EXPECT_GE(sent_at[set + 1] - sent_at[set], 2000);
}

TEST_F(CliProgramTest, AMeterUnpluggedMidTransferLeavesNoFile) {
  const fs::path record = folder_ / "record.txt";
  const Run run =
      Cli({"--simulate", "--sim-unplug", "20", "flash", "get", "1", "-o", record.string()});
  EXPECT_EQ(run.status, kExitTransfer);
  EXPECT_EQ(TextLines(run.err).size(), 1u) << run.err;
  EXPECT_FALSE(fs::exists(record));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_.Path()), fs::directory_iterator()), 2)
      << "only the captured output streams";
}

}  // namespace
}  // namespace halvane
