// The dialogs as the program shows them: a report leaves the program running, and a save
// dialog's answer takes the type that was chosen in it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include "tests/gui/modal_watchdog.h"
#include "ui/user_dialogs.h"

namespace halvane {
namespace {

constexpr const char* kExportFilters =
    "PNG image (*.png);;PDF document (*.pdf);;CSV values (*.csv);;All Files (*)";

TEST(SaveChoice, TheChosenTypesExtensionIsAddedUnlessAnOfferedOneWasTyped) {
  struct Row {
    const char* typed;
    const char* chosen;
    const char* file;
  };
  const Row rows[] = {{"/tmp/leq_span2", "CSV values (*.csv)", "/tmp/leq_span2.csv"},
                      {"/tmp/plot.PDF", "CSV values (*.csv)", "/tmp/plot.PDF"},
                      {"/tmp/levels.v2", "PNG image (*.png)", "/tmp/levels.v2.png"},
                      {"/tmp/notes", "All Files (*)", "/tmp/notes"},
                      {"", "CSV values (*.csv)", ""}};
  for (const Row& row : rows) {
    EXPECT_EQ(FileOfSaveChoice(row.typed, kExportFilters, row.chosen), row.file) << row.typed;
  }
}

TEST(QtUserDialogs, AReportReturnsAtOnceAndASaveAnswerTakesTheChosenType) {
  const ModalWatchdog watchdog;
  QWidget window;
  auto* inner = new QWidget(&window);
  window.show();
  QtUserDialogs dialogs(&window);

  dialogs.Report("Cannot write the log", *inner);
  auto* box = window.findChild<QMessageBox*>("Report");
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->isVisible());
  EXPECT_FALSE(box->isModal());
  EXPECT_EQ(box->text(), "Cannot write the log");
  EXPECT_EQ(box->icon(), QMessageBox::Critical);
  EXPECT_EQ(box->windowTitle(), kProgramTitle);
  box->close();

  const QTemporaryDir folder;
  const QString typed = folder.filePath("leq_span2");
  QTimer::singleShot(0, [typed] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->selectNameFilter("CSV values (*.csv)");
    dialog->selectFile(typed);
    static_cast<QDialog*>(dialog)->accept();
  });
  EXPECT_EQ(dialogs.AskSaveFile("Export", kExportFilters), typed.toStdString() + ".csv");
}

}  // namespace
}  // namespace halvane
