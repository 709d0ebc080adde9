#include "cli/flash_commands.h"

#include <algorithm>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

#include "cli/command_output.h"
#include "cli/exit_codes.h"
#include "cli/list_format.h"
#include "cli/meter_session.h"
#include "cli/usage.h"
#include "files/utf8_path.h"
#include "records/kept_names.h"
#include "records/logger_image.h"
#include "records/transfers.h"

namespace halvane {

namespace {

struct FlashSettings {
  ListFormat format = ListFormat::Table;
  std::size_t number = 0;  // from 1; 0 with `all`
  bool all = false;
  std::filesystem::path output;
};

// The used flash area and its records, or the exit status of a failure already reported.
struct FlashContents {
  std::vector<std::uint8_t> image;  // the used area alone
  LoggerRecordTable table;
  int status = kExitSuccess;
};

FlashContents ReadFlash(const Options& options) {
  FlashContents contents;
  std::unique_ptr<MeterSession> session = MeterSession::Open(options, contents.status);
  if (!session) {
    return contents;
  }
  if (!session->FindMeter()) {
    contents.status = kExitNoMeter;
    return contents;
  }
  const LoggerSize size = QueryLoggerSize(session->Usb());
  if (size.error == kNoFlashData) {
    return contents;
  }
  if (!size.error.empty()) {
    contents.status = TransferFailed(size.error, "when asked for the size of its recorded data");
    return contents;
  }
  LoggerRead read =
      ReadLoggerImage(session->Usb(), size.used_size, TerminalProgress("Reading the flash memory"));
  EndTerminalProgress();
  if (!read.error.empty()) {
    contents.status = TransferFailed(read.error, "during the flash memory read");
    return contents;
  }
  read.image.resize(std::min<std::size_t>(read.image.size(), size.used_size));
  contents.table = WalkLoggerImage(read.image, size.used_size);
  contents.image = std::move(read.image);
  return contents;
}

std::string RecordListJson(const LoggerRecordTable& table) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (std::size_t i = 0; i < table.size(); ++i) {
    const LoggerRecord& r = table[i];
    list.push_back({{"number", i + 1},
                    {"start", r.start_date + " " + r.start_time},
                    {"mode", r.mode ? std::string(RecordModeName(*r.mode)) : std::string()},
                    {"samples", r.samples_held},
                    {"cut_short", r.CutShort()},
                    {"main_weighting", r.main_freq_weighting + r.main_time_weighting},
                    {"sub_weighting", r.sub_freq_weighting + r.sub_time_weighting},
                    {"range", {r.range_lower, r.range_upper}},
                    {"interval", r.interval},
                    {"period", r.period},
                    {"trigger", r.trigger_mode_text}});
  }
  return list.dump(2) + "\n";
}

std::string RecordListTable(const LoggerRecordTable& table) {
  std::string text = "No.\tStart\tWeighting\tSamples\n";
  for (std::size_t i = 0; i < table.size(); ++i) {
    text += GridRowText(i + 1, table[i]) + "\n";
  }
  return text;
}

int RunList(const Options& options, const FlashSettings& settings) {
  const FlashContents contents = ReadFlash(options);
  if (contents.status != kExitSuccess) {
    return contents.status;
  }
  return WriteOutput({}, settings.format == ListFormat::Json ? RecordListJson(contents.table)
                                                             : RecordListTable(contents.table));
}

// The folder --all writes into: it may be missing (it is made then), never a file.
int CheckRecordFolder(const std::filesystem::path& folder) {
  std::error_code error;
  if (std::filesystem::exists(folder, error) && !std::filesystem::is_directory(folder, error)) {
    SayError("flash get --all -o takes a folder; " + folder.string() + " is a file");
    return kExitUsage;
  }
  return CheckOutputFolder(folder.has_filename() ? folder : folder.parent_path());
}

int RunGet(const Options& options, const FlashSettings& settings) {
  if (settings.all == (settings.number != 0)) {
    SayError("flash get takes a record number or --all");
    return kExitUsage;
  }
  if (settings.all && IsStandardOutput(settings.output)) {
    SayError("flash get --all needs -o DIR");
    return kExitUsage;
  }
  if (const int status =
          settings.all ? CheckRecordFolder(settings.output) : CheckOutputFolder(settings.output);
      status != kExitSuccess) {
    return status;
  }
  const FlashContents contents = ReadFlash(options);
  if (contents.status != kExitSuccess) {
    return contents.status;
  }
  if (!settings.all) {
    if (settings.number > contents.table.size()) {
      SayError("there is no record " + std::to_string(settings.number) +
               "; the flash memory holds " + std::to_string(contents.table.size()));
      return kExitUsage;
    }
    const LoggerRecord& record = contents.table[settings.number - 1];
    return WriteOutput(settings.output, FlashRecordFileText(contents.image, record));
  }
  std::error_code error;
  std::filesystem::create_directory(settings.output, error);
  if (error) {
    SayError("cannot create " + Utf8Text(settings.output) + ": " + error.message());
    return kExitFailure;
  }
  for (std::size_t i = 0; i < contents.table.size(); ++i) {
    const LoggerRecord& record = contents.table[i];
    const int status = WriteOutput(settings.output / KeptRecordName(i + 1, record),
                                   FlashRecordFileText(contents.image, record));
    if (status != kExitSuccess) {
      return status;
    }
  }
  return kExitSuccess;
}

int RunSave(const Options& options, const FlashSettings& settings) {
  if (const int status = CheckOutputFolder(settings.output); status != kExitSuccess) {
    return status;
  }
  const FlashContents contents = ReadFlash(options);
  if (contents.status != kExitSuccess) {
    return contents.status;
  }
  return WriteOutput(settings.output,
                     std::string_view(reinterpret_cast<const char*>(contents.image.data()),
                                      contents.image.size()));
}

}  // namespace

void AddFlashCommands(CLI::App& app, const Options& options, std::function<int()>& run) {
  auto settings = std::make_shared<FlashSettings>();
  CLI::App* flash = app.add_subcommand("flash", "The records in the meter's flash memory.");

  CLI::App* list = flash->add_subcommand("list", "List the records of the flash memory.");
  AddListFormatOption(*list, settings->format);
  list->footer("Example:\n  halvane-cli flash list --format json\n");
  list->callback([&run, &options, settings] {
    run = [&options, settings] { return RunList(options, *settings); };
  });

  CLI::App* get = flash->add_subcommand(
      "get", "Write the record file of one record, or of every record with --all.");
  get->add_option("N", settings->number, "the record number, from 1")
      ->check(WholeNumber("a record number", 1));
  get->add_flag("-a,--all", settings->all, "every record, one file each in DIR");
  AddPathOption(*get, "-o,--output", settings->output,
                "the record file (default or -: standard output); with --all the folder")
      ->type_name("FILE|DIR");
  get->footer(
      "Examples:\n  halvane-cli flash get 3 -o record3.txt\n  halvane-cli flash get --all -o "
      "records/\nWith --all each file is named by record number and start time, e.g. "
      "record-003-20250114-093000.txt.\n");
  get->callback([&run, &options, settings] {
    run = [&options, settings] { return RunGet(options, *settings); };
  });

  CLI::App* save =
      flash->add_subcommand("save", "Save the raw flash image, as --sim-flash reads it.");
  AddPathOption(*save, "-o,--output", settings->output, "the image file (-: standard output)")
      ->required();
  save->footer("Example:\n  halvane-cli flash save -o flash.bin\n");
  save->callback([&run, &options, settings] {
    run = [&options, settings] { return RunSave(options, *settings); };
  });
}

}  // namespace halvane
