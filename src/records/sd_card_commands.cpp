#include "records/sd_card_commands.h"

#include <cmath>
#include <optional>

#include "control/poll_pause.h"
#include "records/kept_names.h"
#include "records/transfers.h"
#include "ui/transfer_gate.h"

namespace halvane {

namespace {

// The main window's caption as a transfer shows its progress ("50.00% Completed"); the
// caption it had comes back at the end. Answers whether the transfer may go on.
class CaptionProgress {
 public:
  CaptionProgress(QWidget& window, TransferGate& gate)
      : window_(window), gate_(gate), caption_(window.windowTitle()) {}
  ~CaptionProgress() { window_.setWindowTitle(caption_); }
  CaptionProgress(const CaptionProgress&) = delete;
  CaptionProgress& operator=(const CaptionProgress&) = delete;

  bool Show(const QString& text) {
    window_.setWindowTitle(text);
    return gate_.Repaint();
  }

 private:
  QWidget& window_;
  TransferGate& gate_;
  QString caption_;
};

QString Percent(std::uint64_t done, std::uint64_t total, int decimals) {
  const double percent = 100.0 * static_cast<double>(done) / static_cast<double>(total);
  return QString::number(decimals == 0 ? std::floor(percent) : percent, 'f', decimals);
}

}  // namespace

SdCardCommands::SdCardCommands(ControlContext context, Panel& panel, RecordFileOutput output)
    : context_(std::move(context)), panel_(panel), output_(std::move(output)) {
  QComboBox* sets = panel_.Lists().ComboSets;
  connect(sets, &QComboBox::activated, this,
          [this, sets](int index) { ChooseSet(sets->itemText(index)); });
}

void SdCardCommands::ScanSdCard() {
  if (panel_.RecordingImageShown()) {
    return;
  }
  PollPause poll_pause(context_.timer1);
  SdScan scan;
  {
    TransferGate gate(panel_);
    CaptionProgress caption(panel_, gate);
    scan =
        halvane::ScanSdCard(context_.usb, [&caption](std::uint64_t entry, std::uint64_t entries) {
          return caption.Show("Scanning the SD card: " + Percent(entry, entries, 0) + "%");
        });
    if (gate.MainWindowClosed()) {
      return;
    }
  }
  if (!scan.error.empty()) {
    context_.dialogs.ShowCritical(scan.error);
    return;
  }
  if (scan.table.SdSetCount() == 0) {
    context_.dialogs.ShowCritical(kNoSdSets);
    return;
  }
  table_ = std::move(scan.table);
  QComboBox* sets = panel_.Lists().ComboSets;
  sets->show();
  sets->clear();
  for (std::size_t n = 1; n <= table_.SdSetCount(); ++n) {
    sets->addItem(QString::number(n));
    sets->setItemData(static_cast<int>(n - 1),
                      QString::fromLatin1(SdSetSummary(n, table_.sets[n - 1])), Qt::ToolTipRole);
  }
  sets->addItem("Exit");
  sets->setCurrentIndex(0);
}

void SdCardCommands::ChooseSet(const QString& entry) {
  if (entry == "Exit") {
    panel_.Lists().ComboSets->hide();
    return;
  }
  bool is_number = false;
  const qulonglong n = entry.toULongLong(&is_number);
  if (!is_number || n < 1 || n > table_.SdSetCount()) {
    return;
  }
  Download(n, table_.sets[n - 1]);
}

void SdCardCommands::Download(std::size_t number, const SdSet& set) {
  std::optional<PollPause> poll_pause;
  std::string error;
  std::string file;
  std::string kept_name;
  {
    TransferGate gate(panel_);
    gate.Repaint();
    poll_pause.emplace(context_.timer1);
    CaptionProgress caption(panel_, gate);
    SdDownload download =
        DownloadSdSet(context_.usb, set, [&caption](std::uint64_t page, std::uint64_t pages) {
          return caption.Show(Percent(page, pages, 2) + "% Completed");
        });
    if (download.error.empty()) {
      kept_name = KeptSetName(number, download.set_text, set.length);
      file = SdRecordFileText(download.set_text, set.length,
                              [&caption](std::uint64_t written, std::uint64_t total) {
                                caption.Show(Percent(written, total, 0) + "% Completed");
                              });
    }
    if (gate.MainWindowClosed()) {
      return;
    }
    error = std::move(download.error);
  }
  if (!error.empty()) {
    context_.dialogs.ShowCritical(error);
    return;
  }
  output_.WriteAndOpen(file, panel_, kept_name);
}

}  // namespace halvane
