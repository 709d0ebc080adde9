#include "cli/record_commands.h"

#include <algorithm>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/command_output.h"
#include "cli/exit_codes.h"
#include "cli/meter_session.h"
#include "cli/usage.h"
#include "files/utf8_path.h"
#include "records/csv_cell.h"
#include "records/plot_selection.h"
#include "records/record_file_reader.h"
#include "text/latin1.h"
#include "text/number_text.h"

namespace halvane {

namespace {

enum class ItemFormat { Csv, JsonLines };

struct RecordSettings {
  std::filesystem::path file;
  std::string item;
  ItemFormat format = ItemFormat::Csv;
};

// What the output of `record item` gathers before it is written: memory stays bounded
// however many records a file holds.
constexpr std::size_t kOutputChunk = 1 << 16;

struct RecordHeader {
  RecordFileInfo info;
  bool utf8 = false;  // the file is UTF-8 text (it opens with a byte-order mark), not 8-bit
};

// The header of a record file; nullopt, after saying why, when it cannot be read or is none.
std::optional<RecordHeader> ReadHeader(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    SayError("cannot read " + Utf8Text(file));
    return std::nullopt;
  }
  RecordFileReader reader(in);
  if (!reader.Header()) {
    SayError(Utf8Text(file) + " is not a record file");
    return std::nullopt;
  }
  return RecordHeader{*reader.Header(), reader.Lines().Utf8()};
}

// A text of the file as JSON takes it: 8-bit text read as Latin-1; in a UTF-8 file, a byte
// sequence that is no UTF-8 becomes U+FFFD when dumped.
std::string JsonText(std::string_view text, bool utf8) {
  return utf8 ? std::string(text) : Latin1ToUtf8(text);
}

std::string Dump(const nlohmann::ordered_json& json, int indent = -1) {
  return json.dump(indent, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

int RunInfo(const RecordSettings& settings) {
  const std::optional<RecordHeader> header = ReadHeader(settings.file);
  if (!header) {
    return kExitUsage;
  }
  const RecordFileInfo& info = header->info;
  const auto text = [&header](std::string_view field) { return JsonText(field, header->utf8); };
  std::vector<std::string> items = ItemEntries(ItemListMode(info.RecordMode));
  std::erase(items, "Exit");
  const nlohmann::ordered_json json = {
      {"start_time", text(info.start_time)},
      {"time", text(info.time)},
      {"period", text(info.period)},
      {"main_weighting",
       {{"frequency", text(info.RecordMainFreqWeighting)},
        {"time", text(info.RecordMainTimeWeighting)}}},
      {"sub_weighting",
       {{"frequency", text(info.RecordSubFreqWeighting)},
        {"time", text(info.RecordSubTimeWeighting)}}},
      {"mode", text(info.RecordMode)},
      {"range", {{"bottom", info.RecordRangeBottom}, {"top", info.RecordRangeTop}}},
      {"record_count", info.RecordCount},
      {"items", items}};
  return WriteOutput({}, Dump(json, 2) + "\n");
}

// The date/time cell without the blanks that align it in the file.
std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  return first == std::string_view::npos
             ? std::string_view()
             : text.substr(first, text.find_last_not_of(' ') + 1 - first);
}

// One item over all records, written as the records are read.
int RunItem(const RecordSettings& settings) {
  const std::optional<RecordHeader> header = ReadHeader(settings.file);
  if (!header) {
    return kExitUsage;
  }
  const RecordMode mode = ItemListMode(header->info.RecordMode);
  const std::vector<std::string> entries = ItemEntries(mode);
  const auto entry = std::find(entries.begin(), entries.end(), settings.item);
  const std::optional<std::size_t> field =
      ItemField(mode, static_cast<std::size_t>(entry - entries.begin()));
  if (!field) {
    SayError("no item '" + settings.item + "' in " + Utf8Text(settings.file) +
             "; 'record info' lists its items");
    return kExitUsage;
  }
  std::ifstream in(settings.file, std::ios::binary);
  std::string text = settings.format == ItemFormat::Csv ? "record,date_time,value\n" : "";
  std::uint64_t record = 0;
  int status = kExitSuccess;
  const bool whole = VisitItemColumn(
      in, *field, header->info.RecordCount,
      [&](std::string_view value_text, std::string_view date_time) {
        // A value that is not a number is a gap, as in the cursor graph.
        const std::optional<double> value = ReadWholeNumber(value_text);
        const nlohmann::ordered_json number = value ? nlohmann::ordered_json(*value) : nullptr;
        if (settings.format == ItemFormat::Csv) {
          text += std::to_string(++record) + "," + CsvCell(Trimmed(date_time)) + "," +
                  (value ? number.dump() : std::string()) + "\n";
        } else {
          text += Dump({{"record", ++record},
                        {"date_time", JsonText(Trimmed(date_time), header->utf8)},
                        {"value", number}}) +
                  "\n";
        }
        if (text.size() >= kOutputChunk && status == kExitSuccess) {
          status = WriteOutput({}, text);
          text.clear();
        }
      });
  if (status == kExitSuccess) {
    status = WriteOutput({}, text);
  }
  if (!whole) {
    SayError(Utf8Text(settings.file) + " has a line longer than " +
             std::to_string(TextLineReader::kMaxLineLength) +
             " characters; the records from there on were not read");
    return kExitUsage;
  }
  return status;
}

}  // namespace

void AddRecordCommands(CLI::App& app, std::function<int()>& run) {
  auto settings = std::make_shared<RecordSettings>();
  CLI::App* record = app.add_subcommand("record", "Read a record file; no meter needed.");

  CLI::App* info = record->add_subcommand("info", "Print the header of a record file as JSON.");
  AddPathOption(*info, "FILE", settings->file, "the record file")->required();
  info->footer("Example:\n  halvane-cli record info record3.txt\n");
  info->callback([&run, settings] { run = [settings] { return RunInfo(*settings); }; });

  CLI::App* item = record->add_subcommand(
      "item", "Print one item over all records, as the cursor graph reads it.");
  AddPathOption(*item, "FILE", settings->file, "the record file")->required();
  item->add_option("ITEM", settings->item,
                   "the item as the window's item list names it, e.g. \"Leq(Main)\" or "
                   "\"1/3 OCT 1k Hz\"")
      ->required();
  AddFormatOption<ItemFormat>(*item, settings->format,
                              {{"csv", ItemFormat::Csv}, {"jsonl", ItemFormat::JsonLines}},
                              "csv (default) or jsonl");
  item->footer("Example:\n  halvane-cli record item record3.txt \"Leq(Main)\" --format csv\n");
  item->callback([&run, settings] { run = [settings] { return RunItem(*settings); }; });
}

}  // namespace halvane
