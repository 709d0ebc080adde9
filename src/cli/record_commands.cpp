#include "cli/record_commands.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/command_output.h"
#include "cli/exit_codes.h"
#include "cli/meter_session.h"
#include "control/typed_number.h"
#include "records/csv_cell.h"
#include "records/plot_selection.h"
#include "records/record_file_reader.h"

namespace halvane {

namespace {

enum class ItemFormat { Csv, JsonLines };

struct RecordSettings {
  std::string file;
  std::string item;
  ItemFormat format = ItemFormat::Csv;
};

// The header of a record file; nullopt, after saying why, when it cannot be read or is none.
std::optional<RecordFileInfo> ReadHeader(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    SayError("cannot read " + file);
    return std::nullopt;
  }
  RecordFileReader reader(in);
  if (!reader.Header()) {
    SayError(file + " is not a record file");
  }
  return reader.Header();
}

int RunInfo(const RecordSettings& settings) {
  const std::optional<RecordFileInfo> info = ReadHeader(settings.file);
  if (!info) {
    return kExitUsage;
  }
  std::vector<std::string> items = ItemEntries(ItemListMode(info->RecordMode));
  std::erase(items, "Exit");
  const nlohmann::ordered_json header = {
      {"start_time", info->start_time},
      {"time", info->time},
      {"period", info->period},
      {"main_weighting",
       {{"frequency", info->RecordMainFreqWeighting}, {"time", info->RecordMainTimeWeighting}}},
      {"sub_weighting",
       {{"frequency", info->RecordSubFreqWeighting}, {"time", info->RecordSubTimeWeighting}}},
      {"mode", info->RecordMode},
      {"range", {{"bottom", info->RecordRangeBottom}, {"top", info->RecordRangeTop}}},
      {"record_count", info->RecordCount},
      {"items", items}};
  return WriteOutput({}, header.dump(2) + "\n");
}

// The date/time cell without the blanks that align it in the file.
std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string()
                                    : text.substr(first, text.find_last_not_of(' ') + 1 - first);
}

int RunItem(const RecordSettings& settings) {
  const std::optional<RecordFileInfo> info = ReadHeader(settings.file);
  if (!info) {
    return kExitUsage;
  }
  const RecordMode mode = ItemListMode(info->RecordMode);
  const std::vector<std::string> entries = ItemEntries(mode);
  const auto entry = std::find(entries.begin(), entries.end(), settings.item);
  const std::optional<std::size_t> field =
      ItemField(mode, static_cast<std::size_t>(entry - entries.begin()));
  if (!field) {
    SayError("no item '" + settings.item + "' in " + settings.file +
             "; 'record info' lists its items");
    return kExitUsage;
  }
  std::ifstream in(settings.file, std::ios::binary);
  const ItemColumn column = ReadItemColumn(in, *field, info->RecordCount);
  std::string text = settings.format == ItemFormat::Csv ? "record,date_time,value\n" : "";
  for (std::size_t i = 0; i < column.values.size(); ++i) {
    // A value that is not a number is a gap, as in the cursor graph.
    const std::optional<double> value = ReadWholeNumber(column.values[i]);
    if (settings.format == ItemFormat::Csv) {
      text += std::to_string(i + 1) + "," + CsvCell(Trimmed(column.date_times[i])) + "," +
              (value ? nlohmann::json(*value).dump() : std::string()) + "\n";
    } else {
      const nlohmann::ordered_json line = {
          {"record", i + 1},
          {"date_time", Trimmed(column.date_times[i])},
          {"value", value ? nlohmann::json(*value) : nlohmann::json(nullptr)}};
      text += line.dump() + "\n";
    }
  }
  return WriteOutput({}, text);
}

}  // namespace

void AddRecordCommands(CLI::App& app, std::function<int()>& run) {
  auto settings = std::make_shared<RecordSettings>();
  CLI::App* record = app.add_subcommand("record", "Read a record file; no meter needed.");
  record->require_subcommand(1);

  CLI::App* info = record->add_subcommand("info", "Print the header of a record file as JSON.");
  info->add_option("FILE", settings->file, "the record file")->required();
  info->footer("Example:\n  halvane-cli record info record3.txt\n");
  info->callback([&run, settings] { run = [settings] { return RunInfo(*settings); }; });

  CLI::App* item = record->add_subcommand(
      "item", "Print one item over all records, as the cursor graph reads it.");
  item->add_option("FILE", settings->file, "the record file")->required();
  item->add_option("ITEM", settings->item,
                   "the item as the window's item list names it, e.g. \"Leq(Main)\" or "
                   "\"1/3 OCT 1k Hz\"")
      ->required();
  item->add_option("-f,--format", settings->format, "csv (default) or jsonl")
      ->transform(CLI::CheckedTransformer(
          std::map<std::string, ItemFormat>{{"csv", ItemFormat::Csv},
                                            {"jsonl", ItemFormat::JsonLines}},
          CLI::ignore_case));
  item->footer("Example:\n  halvane-cli record item record3.txt \"Leq(Main)\" --format csv\n");
  item->callback([&run, settings] { run = [settings] { return RunItem(*settings); }; });
}

}  // namespace halvane
