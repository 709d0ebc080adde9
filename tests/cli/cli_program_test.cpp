// Runs the real halvane-cli against its simulated meter, as a script would; what it downloads is
// compared with the files the windows write, in tests/data/records.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>

#include "cli/exit_codes.h"
#include "live/meter.h"
#include "sim/meter_state.h"
#include "tests/file_text.h"
#include "tests/records/overfull_flash.h"
#include "tests/scratch_files.h"
#include "text/number_text.h"

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

// Lines are appended to a file named by -o or to standard output the shell appends to a file,
// with the header once; never to a file of another format.
TEST_F(CliProgramTest, LiveOutputAppendsWithOneHeader) {
  const fs::path file = folder / "levels.csv";
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

TEST_F(CliProgramTest, DownloadsAndListsAreTheFilesAndTablesTheWindowsShow) {
  const fs::path got = folder / "record3.txt";
  ASSERT_EQ(Cli({"--simulate", "flash", "get", "3", "-o", got.string()}).status, kExitSuccess);
  EXPECT_EQ(FileText(got), FileText(record));
  ASSERT_EQ(Cli({"--simulate", "flash", "get", "--all", "-o", (folder / "all").string()}).status,
            kExitSuccess);
  EXPECT_EQ(FileText(folder / "all/record-003-20130810-235950.txt"), FileText(record));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder / "all"), fs::directory_iterator()), 5);
  // "-o -": standard output.
  ExpectDataFile(Cli({"--simulate", "sd", "get", "2", "-o", "-"}).out,
                 "records/sample_card_set_2.txt");
  ExpectDataFile(Cli({"--simulate", "flash", "list", "--format", "json"}).out + "\n" +
                     Cli({"--simulate", "flash", "list"}).out + "\n" +
                     Cli({"--simulate", "sd", "list", "--format", "json"}).out + "\n" +
                     Cli({"--simulate", "sd", "list"}).out,
                 "cli/lists.txt");

  // Every record, also past the window's 250 and one cut short, which is marked.
  const std::string sim = folder / "overfull.bin", last = folder / "last.txt";
  const std::vector<std::uint8_t> bytes = OverfullFlashImage();
  std::ofstream(sim, std::ios::binary) << std::string(bytes.begin(), bytes.end());
  const std::vector<std::string> rows =
      TextLines(Cli({"--simulate", "--sim-flash", sim, "flash", "list"}).out);
  ASSERT_EQ(rows.size(), 1 + kOverfullRecords);
  EXPECT_TRUE(rows.back().ends_with("\t1 of 2")) << rows.back();
  ASSERT_EQ(Cli({"--simulate", "--sim-flash", sim, "flash", "get", std::to_string(kOverfullRecords),
                 "-o", last})
                .status,
            kExitSuccess);
  ExpectDataFile(FileText(last), "cli/cut_short_record.txt");  // with the one sample it holds
  ASSERT_EQ(Cli({"--simulate", "--sim-flash", sim, "flash", "get", "--all", "-o", folder / "every"})
                .status,
            kExitSuccess);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder / "every"), fs::directory_iterator()),
            static_cast<long>(kOverfullRecords));
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

  // 8-bit text is Latin-1; a file saved as UTF-8 with a byte-order mark (here also with CR-only
  // line ends) is UTF-8. JSON gets "°" and "é" either way.
  std::string latin1 = FileText(record);
  latin1.insert(latin1.find("\r\n", latin1.find("Mode : ")), 1, '\xB0');
  latin1[latin1.find("           1\t") + 13] = '\xE9';  // record 1's date/time cell
  std::string utf8 = "\xEF\xBB\xBF" + latin1;
  std::erase(utf8, '\n');
  utf8.replace(utf8.find('\xB0'), 1, "\u00B0");
  utf8.replace(utf8.find('\xE9'), 1, "\u00E9");
  const std::string edited = folder / "edited.txt";
  for (const std::string& text : {latin1, utf8}) {
    std::ofstream(edited, std::ios::binary) << text;
    ExpectDataFile(
        Cli({"record", "info", edited}).out + "\n" +
            TextLines(Cli({"record", "item", edited, "Leq(Main)", "-f", "jsonl"}).out).at(0),
        "cli/edited_record_info_and_item.txt");
  }
}

TEST_F(CliProgramTest, FailuresSayWhyInOneLineAndExitWithTheirCode) {
  const fs::path not_a_record = folder / "notes.txt";
  std::ofstream(not_a_record) << "shopping list\n";
  const std::string missing_folder = (folder / "missing" / "out").string();
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string says = "";
  };
  const Case cases[] = {
      {{"record", "info", (folder / "missing.txt").string()}, kExitUsage},
      {{"record", "info", not_a_record}, kExitUsage},
      {{"record", "info", "/dev/zero"}, kExitUsage, "not a record file"},
      {{"record", "item", record, "Leq(Nowhere)"}, kExitUsage},
      {{"--simulate", "flash", "get", "6"}, kExitUsage},
      {{"--simulate", "flash", "get", "0"}, kExitUsage, "N: '0' is not a record number"},
      {{"--simulate", "sd", "get", "5"}, kExitUsage},  // one past the card's four sets
      {{"--simulate", "live", "--format", "xml"}, kExitUsage, "'xml' is not one of jsonl, csv"},
      {{"--simulate", "live", "-f", "1"}, kExitUsage, "'1' is not one of"},
      {{"--simulate", "live", "-n", "0"}, kExitUsage, "'0' is not a number of lines"},
      {{"--simulate", "flash", "list", "--frob"}, kExitUsage, "there is no option --frob"},
      {{"frobnicate"}, kExitUsage, "there is no command 'frobnicate'; the commands are live,"},
      {{"flash"}, kExitUsage, "flash needs one of its commands: list, get or save"},
      {{"--simulate", "flash", "get", "--all", "-o", not_a_record}, kExitUsage, "is a file"},
      {{"--simulate", "--sim-flash", (folder / "missing.bin").string(), "flash", "list"},
       kExitUsage},
      {{"--simulate", "flash", "get", "1", "-o", missing_folder}, kExitFailure, "no folder"},
      {{"--simulate", "flash", "get", "--all", "-o", missing_folder}, kExitFailure, "no folder"},
      {{"--simulate", "sd", "save", "1", "-o", missing_folder}, kExitFailure, "no folder"},
      {{"--simulate", "live", "-o", missing_folder}, kExitFailure, "no folder"},
      {{"--simulate", "--path", "elsewhere", "clock", "sync"}, kExitNoMeter},
      {{"--simulate", "--path", "elsewhere", "flash", "list"}, kExitNoMeter},
      {{"--simulate", "flash", "save", "-o", folder.Device("full").string()}, kExitFailure},
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
  EXPECT_FALSE(fs::exists(folder / "missing"));
}

TEST_F(CliProgramTest, ClockSyncPausesBeforeTheNextReadAndBothPrintIso8601) {
  const fs::path trace = folder / "trace.txt";
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
  const Run run = Cli({"--simulate", "--sim-unplug", "20", "flash", "get", "1", "-o",
                       (folder / "record.txt").string()});
  EXPECT_EQ(run.status, kExitTransfer);
  EXPECT_EQ(TextLines(run.err).size(), 1u) << run.err;
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 2)
      << "only the captured output streams";
}

}  // namespace
}  // namespace halvane::test
