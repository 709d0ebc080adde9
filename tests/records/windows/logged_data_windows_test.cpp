// The "SD" and "Memory" buttons over the simulated meter: what goes over the link and what the
// user sees, step by step, and the record file they leave, compared whole with the files in
// tests/data/records; also when the meter is lost in mid-transfer or the file cannot be written.

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <functional>

#include "live/panel_layout.h"
#include "records/kept_names.h"
#include "records/logged_data_controls.h"
#include "records/transfers.h"
#include "tests/gui/panel_fixture.h"
#include "tests/records/overfull_flash.h"

namespace halvane::test {
namespace {

class LoggedDataTest : public PanelFixture, public QObject {
 protected:
  LoggedDataTest() {
    Connect();
    std::ofstream(panel.TempFilePath(), std::ios::binary) << kEarlierFile;
  }
  // Notes each caption the main window is given.
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::WindowTitleChange) {
      Note("caption " + panel.windowTitle().toStdString());
    }
    return false;
  }
  void NoteOpened() {
    for (const auto& file : editor.opened) {
      Note(file == panel.TempFilePath() ? "the editor shows the record file" : file.string());
    }
    editor.opened.clear();
  }
  // Notes the files kept in the records folder; each is the record file.
  void NoteKept() {
    for (const auto& kept : std::filesystem::directory_iterator(folder / "records")) {
      Note("kept as " + kept.path().filename().string());
      EXPECT_EQ(FileText(kept.path()), RecordFile());
    }
  }
  // How often `text` stands in the link's trace since it was last emptied.
  std::size_t InTrace(const std::string& text) const {
    std::size_t count = 0;
    for (std::size_t at = trace.str().find(text); at != std::string::npos;
         at = trace.str().find(text, at + 1)) {
      ++count;
    }
    return count;
  }
  std::string RecordFile() const { return FileText(panel.TempFilePath()); }
  Memory* DataLogger() { return logged.FlashMemory().Window(); }

  static constexpr const char* kEarlierFile = "the file of an earlier download\r\n";
  LoggedDataControls logged{controls.Context(), panel, controls.Toolbar(), editor,
                            folder / "records"};
};

TEST_F(LoggedDataTest, ScanListsTheSetsAndChoosingOneWritesItsFileAndOpensIt) {
  Step("click SD");
  for (int entry = 0; entry < Lists().ComboSets->count(); ++entry) {
    Note("set list entry " + Lists().ComboSets->itemText(entry).toStdString() + " (" +
         Lists().ComboSets->itemData(entry, Qt::ToolTipRole).toString().toStdString() + ")");
  }
  panel.installEventFilter(this);
  Step("choose ComboSets 2");
  panel.removeEventFilter(this);
  NoteOpened();
  NoteKept();
  Note("status: " + panel.statusBar()->currentMessage().toStdString());
  ExpectDataFile(RecordFile(), "records/sample_card_set_2.txt");
  Step("click SD; choose ComboSets Exit");
  ExpectDataFile(transcript, "records/sd_download.txt");
}

TEST_F(LoggedDataTest, DataLoggerListsTheRecordsAndWritesTheOneClicked) {
  Step("click Memory");
  Memory* window = DataLogger();
  ASSERT_NE(window, nullptr);
  QTableWidget& grid = window->GridSet();
  Note(window->windowTitle().toStdString() + ", " + std::to_string(window->MBar().value()) + "%, " +
       window->findChild<QLabel*>("LblUsed")->text().toStdString() +
       ", weighting column: " + grid.horizontalHeaderItem(2)->toolTip().toStdString());
  for (int row = -1; row < grid.rowCount(); ++row) {
    std::string cells;
    for (int column = 0; column < grid.columnCount(); ++column) {
      cells += '|';
      cells += (row < 0 ? grid.horizontalHeaderItem(column) : grid.item(row, column))
                   ->text()
                   .toStdString();
    }
    Note(cells);
  }
  Step("record 3 clicked", [&] { emit grid.cellClicked(2, 0); });
  NoteOpened();
  NoteKept();
  ExpectDataFile(RecordFile(), "records/sample_flash_record_3.txt");
  Step("click Memory");
  EXPECT_EQ(panel.findChildren<Memory*>().size(), 1) << "a second read replaces the window";
  ExpectDataFile(transcript, "records/flash_read.txt");
}

TEST_F(LoggedDataTest, EmptyCardAndFlashSayThereIsNothingAndARecordingMeterIsLeftAlone) {
  meter.State().sd_entries = {std::nullopt, std::nullopt};
  meter.State().flash_image.clear();
  Step("click SD; click Memory");
  meter.State().recording = true;
  Step("tick; click SD; click Memory");
  EXPECT_EQ(DataLogger(), nullptr);
  ExpectDataFile(transcript, "records/nothing_to_read.txt");
}

TEST_F(LoggedDataTest, DataLoggerSaysWhatItsTableLeavesOut) {
  meter.State().flash_image = OverfullFlashImage();
  Click("Memory");
  ASSERT_NE(DataLogger(), nullptr);
  EXPECT_EQ(DataLogger()->GridSet().rowCount(), static_cast<int>(kMaxLoggerRecords));
  EXPECT_EQ(DataLogger()->LblNote().text().toStdString(),
            "The flash memory holds 251 records; the first 250 are listed.\n"
            "Record 251 is cut short: the flash memory holds 1 of its 2 samples.");
}

TEST_F(LoggedDataTest, MeterLostInMidTransferLeavesTheEarlierFileAndRecovers) {
  const std::size_t set_pages = PageCount(meter.State().sd_entries[0]->size() - 2);
  const std::size_t flash_pages = PageCount(meter.State().flash_image.size());
  for (const ReadFault fault : {ReadFault::Unplug, ReadFault::Silence}) {
    // A download reads once and discards it first; a flash read also sends its S command.
    for (const bool flash : {false, true}) {
      const std::size_t pages = flash ? flash_pages : set_pages;
      for (const std::size_t page : {std::size_t{1}, pages / 2, pages}) {
        SCOPED_TRACE(::testing::Message() << (flash ? "flash" : "SD") << " page " << page);
        dialogs.shown.clear();
        if (flash) {
          backend.FailAtRead(fault, static_cast<int>(page) + 2);
          Click("Memory");
        } else {
          Run("click SD");
          backend.FailAtRead(fault, static_cast<int>(page) + 1);
          Run("choose ComboSets 1");
        }
        ASSERT_EQ(dialogs.shown.size(), 1U);
        EXPECT_THAT(dialogs.shown[0], ::testing::HasSubstr("page " + std::to_string(page) + " of"));
        EXPECT_EQ(RecordFile(), kEarlierFile);
        EXPECT_EQ(DataLogger(), nullptr);
        EXPECT_TRUE(panel.Timer1().isActive());
        backend.SetSilent(false);
        backend.Replug();
        Poll();
        EXPECT_TRUE(usb.MeterConnected());
      }
    }
  }
  EXPECT_TRUE(editor.opened.empty());
  // Each silent read waited the link's 2000 ms bound once, no longer.
  EXPECT_EQ(link_waits, std::vector<int>(6, USB::kReadTimeoutMs));
}

// A file that cannot be written and an editor that does not start are reports, which leave
// the poll running; the program goes on.
TEST_F(LoggedDataTest, FileThatCannotBeWrittenOrShownIsReportedAndTheProgramGoesOn) {
  std::filesystem::remove(panel.TempFilePath());
  std::filesystem::create_directory(panel.TempFilePath());
  Step("click SD; choose ComboSets 1");
  NoteOpened();
  std::filesystem::remove(panel.TempFilePath());
  editor.starts = false;
  Step("choose ComboSets 1");
  ExpectDataFile(transcript, "records/unwritten_and_unshown.txt");
}

// Runs `during` at the first repaint of the transfer that `start` begins.
void DuringTransfer(const std::function<void()>& start, const std::function<void()>& during) {
  QTimer::singleShot(0, during);
  start();
}

TEST_F(LoggedDataTest, InputMadeDuringATransferIsDroppedAndItsProgressShown) {
  panel.show();
  QWidget* memory_button =
      panel.Toolbar1().widgetForAction(panel.Toolbar1().findChild<QAction*>("Memory"));
  DuringTransfer([this] { Click("Memory"); },
                 [memory_button] { QTest::mouseClick(memory_button, Qt::LeftButton); });
  QApplication::processEvents();
  EXPECT_EQ(InTrace(" W 00 43 04 00 01 "), 2U) << "one size query, one read: the click was dropped";
  EXPECT_EQ(panel.findChildren<Memory*>().size(), 1);

  // The scan of up to 65535 card entries shows how far it is.
  panel.installEventFilter(this);
  Step("click SD");
  EXPECT_NE(transcript.find("caption Scanning the SD card: 100%"), std::string::npos);
  EXPECT_EQ(panel.windowTitle().toStdString(), kPanelCaption);
}

TEST_F(LoggedDataTest, ClosingAWindowDuringATransferEndsItAndWritesNothing) {
  Click("SD");
  const std::pair<const char*, std::function<void()>> transfers[] = {
      {"scan", [this] { Click("SD"); }},
      {"download", [this] { Choose(Lists().ComboSets, "1"); }},
      {"flash read", [this] { Click("Memory"); }}};
  for (const auto& [name, start] : transfers) {
    SCOPED_TRACE(name);
    panel.show();
    Lists().ComboSets->hide();
    trace.str("");
    DuringTransfer(start, [this] { panel.close(); });
    EXPECT_LE(InTrace(" R "), 3U) << "the transfer went on";
    EXPECT_TRUE(Lists().ComboSets->isHidden());
    EXPECT_EQ(DataLogger(), nullptr);
  }

  // A posted close of the data logger arriving while it writes a record.
  panel.show();
  Click("Memory");
  QMetaObject::invokeMethod(DataLogger(), &QWidget::close, Qt::QueuedConnection);
  emit DataLogger()->GridSet().cellClicked(2, 0);
  EXPECT_EQ(DataLogger(), nullptr);
  EXPECT_EQ(RecordFile(), kEarlierFile);
  EXPECT_TRUE(editor.opened.empty());
  EXPECT_TRUE(dialogs.shown.empty());
}

}  // namespace
}  // namespace halvane::test
