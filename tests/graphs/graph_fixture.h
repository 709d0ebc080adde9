#pragma once
// The main window with its toolbar and the "Plot" button's lists over the simulated meter;
// the dialogs answer from the test and the text editor only records what it was asked to open.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <filesystem>
#include <fstream>

#include "control/meter_controls.h"
#include "graphs/plot_selection_controls.h"
#include "sim/simulated_backend.h"
#include "sim/simulated_meter.h"
#include "tests/file_text.h"
#include "tests/graphs/record_files.h"
#include "tests/gui/recorded_editor.h"

namespace halvane::test {

// What a tool of poppler-utils writes to standard output.
inline QString ToolOutput(const QString& tool, const QStringList& arguments) {
  QProcess process;
  process.start(tool, arguments);
  process.waitForFinished();
  return QString::fromUtf8(process.readAllStandardOutput());
}

// The first page of a PDF rendered at `dpi`, as a viewer shows it.
inline QImage RenderedPdf(const std::filesystem::path& pdf, int dpi) {
  const QString page = QString::fromStdString(pdf.string()) + "-page";
  ToolOutput("pdftoppm", {"-r", QString::number(dpi), "-png", "-singlefile",
                          QString::fromStdString(pdf.string()), page});
  return QImage(page + ".png");
}

class GraphDialogs : public UserDialogs {
 public:
  void ShowCritical(const std::string& message) override { messages.push_back(message); }
  void Report(const std::string& message, QWidget& window) override {
    messages.push_back(message);
    report_windows.push_back(window.window());
  }
  std::string AskText(const std::string&, const std::string&, const std::string&) override {
    return {};
  }
  std::filesystem::path AskOpenFile(const std::string& filter,
                                    const std::filesystem::path& folder) override {
    filters.push_back(filter);
    open_folders.push_back(folder);
    return open_path;
  }
  std::filesystem::path AskSaveFile(const std::string&, const std::string& filter) override {
    filters.push_back(filter);
    return save_path;
  }
  // Prints to a PDF file instead of a printer.
  bool SetUpPrinter(QPrinter& printer) override {
    if (print_path.empty()) {
      return false;
    }
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(print_path.string()));
    return true;
  }

  std::filesystem::path open_path;
  std::filesystem::path save_path;
  std::filesystem::path print_path;
  std::vector<std::string> filters;
  std::vector<std::filesystem::path> open_folders;
  std::vector<std::string> messages;
  std::vector<QWidget*> report_windows;  // the window each report opened over
};

class GraphFixture : public ::testing::Test {
 protected:
  GraphFixture()
      : backend(meter),
        usb(backend),
        // One folder per test, as CTest runs the tests of this program side by side.
        folder(std::filesystem::path(::testing::TempDir()) /
               (std::string("halvane-graphs-") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name())),
        panel(usb, folder),
        controls(panel, usb, dialogs, [](int) {}),
        plot(panel, controls.Toolbar(), dialogs, editor, folder / "records") {
    panel.Timer1().stop();
  }

  // Writes the record file and opens it with the toolbar's "Plot" button.
  std::filesystem::path OpenRecordFile(const std::string& text) {
    const std::filesystem::path path = folder / "record.txt";
    std::ofstream(path, std::ios::binary) << text;
    dialogs.open_path = path;
    controls.Toolbar().Click("Plot");
    return path;
  }
  // What the user's choice of `entry` in a list does.
  static void Choose(QComboBox* list, const QString& entry) {
    ASSERT_GE(list->findText(entry), 0) << entry.toStdString();
    list->setCurrentIndex(list->findText(entry));
    emit list->activated(list->currentIndex());
  }
  // Lets windows closed with delete-on-close go.
  static void DeleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  const PanelLists& Lists() { return panel.Lists(); }

  SimulatedMeter meter;
  SimulatedBackend backend;
  USB usb;
  std::filesystem::path folder;
  Panel panel;
  GraphDialogs dialogs;
  MeterControls controls;
  RecordedEditor editor;
  PlotSelectionControls plot;
};

}  // namespace halvane::test
