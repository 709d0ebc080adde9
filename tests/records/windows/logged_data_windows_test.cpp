// The "SD" and "Memory" buttons over the simulated meter: what the user sees, what goes over the
// link, and the record file they leave, also when the meter is lost in mid-transfer.

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
#include "sim/sample_logger_contents.h"
#include "tests/control/control_fixture.h"
#include "tests/file_text.h"
#include "tests/gui/recorded_editor.h"
#include "tests/records/overfull_flash.h"

namespace halvane {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

// Every caption the window is given.
class CaptionLog : public QObject {
 public:
  explicit CaptionLog(QWidget& window) : window_(window) { window.installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::WindowTitleChange) {
      captions.push_back(window_.windowTitle().toStdString());
    }
    return false;
  }
  std::vector<std::string> captions;

 private:
  QWidget& window_;
};

class LoggedDataTest : public ControlFixture {
 protected:
  LoggedDataTest()
      : records_folder(temp_folder / "records"),
        logged(controls.Context(), panel, controls.Toolbar(), editor, records_folder) {
    std::ofstream(panel.TempFilePath(), std::ios::binary) << kEarlierFile;
  }

  std::string RecordFile() const { return test::FileText(panel.TempFilePath()); }

  // The sets of the sample card, without its empty entries.
  std::vector<std::string> CardSets() const {
    std::vector<std::string> sets;
    for (const auto& entry : meter.State().sd_entries) {
      if (entry) {
        sets.push_back(*entry);
      }
    }
    return sets;
  }

  // No live poll was sent since the last look at the traffic.
  bool NoPollSent() {
    for (const std::string& line : Traffic(1)) {
      if (line == "W 42") {
        return false;
      }
    }
    return true;
  }

  Memory* DataLogger() { return logged.FlashMemory().Window(); }

  static constexpr const char* kEarlierFile = "the file of an earlier download\r\n";
  RecordedEditor editor;
  std::filesystem::path records_folder;
  LoggedDataControls logged;
};

TEST_F(LoggedDataTest, ScanListsTheSetsAndChoosingOneWritesItsFileAndOpensIt) {
  const std::vector<std::string> sets = CardSets();
  ASSERT_GE(sets.size(), 4U);
  Click("SD");
  QComboBox* list = panel.Lists().ComboSets;
  EXPECT_FALSE(list->isHidden());
  ASSERT_EQ(list->count(), static_cast<int>(sets.size()) + 1);
  EXPECT_EQ(list->itemText(0), "1");
  EXPECT_EQ(list->itemText(list->count() - 1), "Exit");
  EXPECT_TRUE(list->itemData(0, Qt::ToolTipRole).toString().startsWith("Set 1: started 20"));
  EXPECT_TRUE(NoPollSent());
  EXPECT_TRUE(panel.Timer1().isActive());

  const std::string caption = panel.windowTitle().toStdString();
  CaptionLog log(panel);
  Choose(list, "2");
  EXPECT_EQ(RecordFile(), SdRecordFileText(sets[1], SetLengthField(sets[1])));
  EXPECT_THAT(editor.opened, ElementsAre(panel.TempFilePath()));
  // Also kept under the name halvane-cli gives it, which the status line names.
  const std::filesystem::path kept =
      records_folder / KeptSetName(2, sets[1], SetLengthField(sets[1]));
  EXPECT_EQ(test::FileText(kept), RecordFile());
  EXPECT_TRUE(panel.statusBar()->currentMessage().contains(QString::fromStdString(kept.string())));
  EXPECT_THAT(log.captions, Contains("100.00% Completed"));
  EXPECT_THAT(log.captions, Contains("100% Completed"));
  EXPECT_EQ(panel.windowTitle().toStdString(), caption);
  EXPECT_TRUE(NoPollSent());
  EXPECT_TRUE(panel.Timer1().isActive());
  EXPECT_THAT(dialogs.shown, IsEmpty());

  // "Exit" hides the list and sends nothing.
  Click("SD");
  Traffic();
  Choose(list, "Exit");
  EXPECT_TRUE(list->isHidden());
  EXPECT_THAT(Traffic(), IsEmpty());
}

TEST_F(LoggedDataTest, EmptyCardAndEmptyFlashSayThereIsNothingAndOpenNoWindow) {
  meter.State().sd_entries = {std::nullopt, std::nullopt};
  meter.State().flash_image.clear();
  Click("SD");
  Click("Memory");
  EXPECT_THAT(dialogs.shown, ElementsAre(std::string("message: ") + kNoSdSets,
                                         std::string("message: ") + kNoFlashData));
  EXPECT_TRUE(panel.Lists().ComboSets->isHidden());
  EXPECT_EQ(DataLogger(), nullptr);
  EXPECT_TRUE(panel.Timer1().isActive());
}

TEST_F(LoggedDataTest, NothingHappensWhileTheMeterRecords) {
  meter.State().recording = true;
  Poll();
  Traffic();
  Click("SD");
  Click("Memory");
  EXPECT_THAT(Traffic(), IsEmpty());
  EXPECT_EQ(DataLogger(), nullptr);
}

TEST_F(LoggedDataTest, DataLoggerListsTheRecordsAndWritesTheOneClicked) {
  const std::vector<std::uint8_t> image = meter.State().flash_image;
  Click("Memory");
  Memory* window = DataLogger();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "Data Logger");
  const LoggerRecordTable table = WalkLoggerImage(image, static_cast<std::uint32_t>(image.size()));
  ASSERT_GE(table.size(), 5U);
  QTableWidget& grid = window->GridSet();
  ASSERT_EQ(grid.rowCount(), static_cast<int>(table.size()));
  EXPECT_EQ(grid.horizontalHeaderItem(1)->text(), "    Date Time    ");
  EXPECT_EQ(grid.item(2, 0)->text(), "3");
  EXPECT_EQ(grid.item(2, 3)->text(), QString::number(table[2].sample_count));
  EXPECT_EQ(window->MBar().value(), 100);
  EXPECT_EQ(window->findChild<QLabel*>("LblUsed")->text(), QString("%1 bytes").arg(image.size()));
  EXPECT_TRUE(grid.horizontalHeaderItem(2)->toolTip().contains("weighting"));
  EXPECT_TRUE(NoPollSent());

  emit grid.cellClicked(2, 0);
  EXPECT_EQ(RecordFile(), FlashRecordFileText(image, table[2]));
  EXPECT_EQ(test::FileText(records_folder / KeptRecordName(3, table[2])), RecordFile());
  EXPECT_THAT(editor.opened, ElementsAre(panel.TempFilePath()));

  // A second read replaces the window.
  Click("Memory");
  EXPECT_NE(DataLogger(), nullptr);
  EXPECT_THAT(panel.findChildren<Memory*>(), SizeIs(1));
}

TEST_F(LoggedDataTest, DataLoggerSaysWhatItsTableLeavesOut) {
  meter.State().flash_image = test::OverfullFlashImage();
  Click("Memory");
  ASSERT_NE(DataLogger(), nullptr);
  EXPECT_EQ(DataLogger()->GridSet().rowCount(), static_cast<int>(kMaxLoggerRecords));
  EXPECT_EQ(DataLogger()->LblNote().text().toStdString(),
            "The flash memory holds 251 records; the first 250 are listed.\n"
            "Record 251 is cut short: the flash memory holds 1 of its 2 samples.");
}

TEST_F(LoggedDataTest, MeterLostInMidTransferLeavesTheEarlierFileAndRecovers) {
  const std::size_t set_pages = PageCount(CardSets()[0].size() - 2);
  const std::size_t flash_pages = PageCount(meter.State().flash_image.size());
  ASSERT_GT(set_pages, 2U);
  for (const ReadFault fault : {ReadFault::Unplug, ReadFault::Silence}) {
    // A download reads once and discards it first; a flash read also sends its S command.
    for (const bool flash : {false, true}) {
      const std::size_t pages = flash ? flash_pages : set_pages;
      for (const std::size_t page : {std::size_t{1}, pages / 2, pages}) {
        SCOPED_TRACE(testing::Message() << (flash ? "flash" : "SD") << " page " << page);
        if (flash) {
          backend.FailAtRead(fault, static_cast<int>(page) + 2);
          Click("Memory");
        } else {
          Click("SD");
          backend.FailAtRead(fault, static_cast<int>(page) + 1);
          Choose(panel.Lists().ComboSets, "1");
        }
        ASSERT_THAT(dialogs.shown, SizeIs(1));
        if (flash) {
          EXPECT_THAT(dialogs.shown[0], testing::HasSubstr("page " + std::to_string(page) + " of"));
        }
        dialogs.shown.clear();
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
  EXPECT_THAT(editor.opened, IsEmpty());
  // Each silent read waited the link's 2000 ms bound once, no longer.
  for (const int wait : backend.TimedOutReads()) {
    EXPECT_EQ(wait, USB::kReadTimeoutMs);
  }
}

// A file that cannot be written and an editor that does not start are reports, which leave
// the poll running; the program goes on.
TEST_F(LoggedDataTest, FileThatCannotBeWrittenOrShownIsReportedAndTheProgramGoesOn) {
  std::filesystem::remove(panel.TempFilePath());
  std::filesystem::create_directory(panel.TempFilePath());
  Click("SD");
  Choose(panel.Lists().ComboSets, "1");
  ASSERT_THAT(dialogs.shown, SizeIs(1));
  EXPECT_THAT(dialogs.shown[0], testing::StartsWith("report: "));
  EXPECT_THAT(dialogs.shown[0], testing::HasSubstr("could not be written"));
  EXPECT_THAT(editor.opened, IsEmpty());
  EXPECT_TRUE(panel.Timer1().isActive());
  std::filesystem::remove(panel.TempFilePath());

  editor.starts = false;
  Choose(panel.Lists().ComboSets, "1");
  EXPECT_EQ(dialogs.shown.back(), "report: No text editor could be started. The record file is " +
                                      panel.TempFilePath().string());
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
  const std::vector<std::string> traffic = Traffic(4);
  EXPECT_EQ(std::ranges::count(traffic, "W 43 04 00 01"), 2) << "one size query, one read";
  EXPECT_THAT(panel.findChildren<Memory*>(), SizeIs(1));

  // The scan of up to 65535 card entries shows how far it is.
  CaptionLog log(panel);
  Click("SD");
  EXPECT_THAT(log.captions, Contains("Scanning the SD card: 100%"));
  EXPECT_EQ(log.captions.back(), kPanelCaption);
}

TEST_F(LoggedDataTest, ClosingAWindowDuringATransferEndsItAndWritesNothing) {
  Click("SD");
  const std::pair<const char*, std::function<void()>> transfers[] = {
      {"scan", [this] { Click("SD"); }},
      {"download", [this] { Choose(panel.Lists().ComboSets, "1"); }},
      {"flash read", [this] { Click("Memory"); }}};
  for (const auto& [name, start] : transfers) {
    SCOPED_TRACE(name);
    panel.show();
    panel.Lists().ComboSets->hide();
    Traffic();
    DuringTransfer(start, [this] { panel.close(); });
    EXPECT_LE(std::ranges::count(Traffic(), "R"), 3) << "the transfer went on";
    EXPECT_TRUE(panel.Lists().ComboSets->isHidden());
    EXPECT_EQ(DataLogger(), nullptr);
  }

  // A posted close of the data logger arriving while it writes a record.
  panel.show();
  Click("Memory");
  QMetaObject::invokeMethod(DataLogger(), &QWidget::close, Qt::QueuedConnection);
  emit DataLogger()->GridSet().cellClicked(2, 0);
  EXPECT_EQ(DataLogger(), nullptr);
  EXPECT_EQ(RecordFile(), kEarlierFile);
  EXPECT_THAT(editor.opened, IsEmpty());
  EXPECT_THAT(dialogs.shown, IsEmpty());
}

}  // namespace
}  // namespace halvane
