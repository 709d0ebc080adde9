#include "records/sd_card_commands.h"

#include "control/poll_pause.h"
#include "records/transfers.h"

namespace halvane {

namespace {

// The caption as the download and the writing show their progress: "50.00% Completed".
class CaptionProgress {
 public:
  explicit CaptionProgress(QWidget& window) : window_(window), caption_(window.windowTitle()) {}
  ~CaptionProgress() { window_.setWindowTitle(caption_); }
  CaptionProgress(const CaptionProgress&) = delete;
  CaptionProgress& operator=(const CaptionProgress&) = delete;

  void Show(const QString& percent) {
    const QString text = percent + "% Completed";
    if (text != window_.windowTitle()) {
      window_.setWindowTitle(text);
      LetWindowsRepaint();
    }
  }

 private:
  QWidget& window_;
  QString caption_;
};

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
  SdScan scan = halvane::ScanSdCard(context_.usb);
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
  Download(table_.sets[n - 1]);
}

void SdCardCommands::Download(const SdSet& set) {
  LetWindowsRepaint();
  PollPause poll_pause(context_.timer1);
  std::string file;
  {
    CaptionProgress caption(panel_);
    const SdDownload download =
        DownloadSdSet(context_.usb, set, [&caption](std::uint64_t page, std::uint64_t pages) {
          caption.Show(QString::number(
              100.0 * static_cast<double>(page) / static_cast<double>(pages), 'f', 2));
        });
    if (!download.error.empty()) {
      context_.dialogs.ShowCritical(download.error);
      return;
    }
    file = SdRecordFileText(download.set_text, set.length,
                            [&caption](std::uint64_t written, std::uint64_t total) {
                              caption.Show(QString::number(100 * written / total));
                            });
  }
  output_.WriteAndOpen(file);
}

}  // namespace halvane
