#include "cli/sd_commands.h"

#include <memory>
#include <nlohmann/json.hpp>

#include "cli/command_output.h"
#include "cli/exit_codes.h"
#include "cli/list_format.h"
#include "cli/meter_session.h"
#include "cli/usage.h"
#include "records/sd_set.h"
#include "records/transfers.h"

namespace halvane {

namespace {

struct SdSettings {
  ListFormat format = ListFormat::Table;
  std::size_t number = 0;  // from 1
  std::filesystem::path output;
};

// The card's sets, or the exit status of a failure already reported.
struct SdCard {
  std::unique_ptr<MeterSession> session;
  SdSetTable table;
  int status = kExitSuccess;
};

SdCard ScanCard(const Options& options) {
  SdCard card;
  card.session = MeterSession::Open(options, card.status);
  if (!card.session) {
    return card;
  }
  if (!card.session->FindMeter()) {
    card.status = kExitNoMeter;
    return card;
  }
  SdScan scan = ScanSdCard(card.session->Usb());
  if (!scan.error.empty()) {
    card.status = TransferFailed(scan.error, "during the SD card scan");
    return card;
  }
  card.table = std::move(scan.table);
  return card;
}

int RunList(const Options& options, const SdSettings& settings) {
  const SdCard card = ScanCard(options);
  if (card.status != kExitSuccess) {
    return card.status;
  }
  const std::vector<SdSet>& sets = card.table.sets;
  if (settings.format == ListFormat::Json) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < sets.size(); ++i) {
      list.push_back({{"number", i + 1},
                      {"entry", sets[i].position},
                      {"bytes", sets[i].length},
                      {"start", sets[i].start_time},
                      {"main_weighting", sets[i].main_weighting}});
    }
    return WriteOutput({}, list.dump(2) + "\n");
  }
  std::string text = "No.\tEntry\tBytes\tStart\tWeighting\n";
  for (std::size_t i = 0; i < sets.size(); ++i) {
    text += std::to_string(i + 1) + "\t" + std::to_string(sets[i].position) + "\t" +
            std::to_string(sets[i].length) + "\t" + sets[i].start_time + "\tL" +
            sets[i].main_weighting + "\n";
  }
  return WriteOutput({}, text);
}

// Downloads set `settings.number` and writes what `content` makes of it.
int RunDownload(const Options& options, const SdSettings& settings,
                std::string (*content)(const SdDownload&, const SdSet&)) {
  if (const int status = CheckOutputFolder(settings.output); status != kExitSuccess) {
    return status;
  }
  SdCard card = ScanCard(options);
  if (card.status != kExitSuccess) {
    return card.status;
  }
  if (settings.number > card.table.SdSetCount()) {
    SayError("there is no set " + std::to_string(settings.number) + "; the SD card holds " +
             std::to_string(card.table.SdSetCount()));
    return kExitUsage;
  }
  const SdSet& set = card.table.sets[settings.number - 1];
  const SdDownload download =
      DownloadSdSet(card.session->Usb(), set, TerminalProgress("Reading the SD card"));
  EndTerminalProgress();
  if (!download.error.empty()) {
    return TransferFailed(download.error, "during the set download");
  }
  return WriteOutput(settings.output, content(download, set));
}

std::string RecordFile(const SdDownload& download, const SdSet& set) {
  return SdRecordFileText(download.set_text, set.length);
}

std::string RawSet(const SdDownload& download, const SdSet&) {
  return download.set_text;
}

}  // namespace

void AddSdCommands(CLI::App& app, const Options& options, std::function<int()>& run) {
  auto settings = std::make_shared<SdSettings>();
  CLI::App* sd = app.add_subcommand("sd", "The sets on the meter's SD card.");

  CLI::App* list = sd->add_subcommand("list", "List the sets of the SD card.");
  AddListFormatOption(*list, settings->format);
  list->footer("Example:\n  halvane-cli sd list --format json\n");
  list->callback([&run, &options, settings] {
    run = [&options, settings] { return RunList(options, *settings); };
  });

  CLI::App* get = sd->add_subcommand("get", "Write the record file of one set.");
  get->add_option("N", settings->number, "the set number, from 1")
      ->required()
      ->check(WholeNumber("a set number", 1));
  AddPathOption(*get, "-o,--output", settings->output,
                "the record file (default or -: standard output)");
  get->footer("Example:\n  halvane-cli sd get 2 -o set2.txt\n");
  get->callback([&run, &options, settings] {
    run = [&options, settings] { return RunDownload(options, *settings, RecordFile); };
  });

  CLI::App* save =
      sd->add_subcommand("save", "Save the raw text of one set, as --sim-sd reads it.");
  save->add_option("N", settings->number, "the set number, from 1")
      ->required()
      ->check(WholeNumber("a set number", 1));
  AddPathOption(*save, "-o,--output", settings->output, "the set file (-: standard output)")
      ->required();
  save->footer("Example:\n  halvane-cli sd save 2 -o set2.sd\n");
  save->callback([&run, &options, settings] {
    run = [&options, settings] { return RunDownload(options, *settings, RawSet); };
  });
}

}  // namespace halvane
