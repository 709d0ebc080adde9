#pragma once
// The main window with its meter controls over the simulated meter, as every window test has it.
// Dialogs answer from a script and keep what they showed, pauses are recorded, the text editor
// only notes what it was asked to open, and a trace of the link shows every read and write. Each
// test also checks that nothing talked to the meter while the live poll was on outside a poll.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QPrinter>
#include <deque>
#include <functional>
#include <sstream>

#include "control/meter_controls.h"
#include "link/tracing_backend.h"
#include "sim/simulated_backend.h"
#include "sim/simulated_meter.h"
#include "tests/control/link_watch.h"
#include "tests/file_text.h"
#include "ui/text_editor_launcher.h"

namespace halvane::test {

class ScriptedDialogs : public UserDialogs {
 public:
  explicit ScriptedDialogs(const QTimer& timer1) : timer1_(timer1) {}

  void ShowCritical(const std::string& message) override { Show("message: " + message); }
  std::string AskText(const std::string& prompt, const std::string& title,
                      const std::string& default_text) override {
    Show("ask: " + title + " [" + default_text + "] " + prompt);
    if (answers.empty()) {
      return {};
    }
    std::string answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::filesystem::path AskOpenFile(const std::string& filter) override {
    filters.push_back(filter);
    return open_path;
  }
  std::filesystem::path AskSaveFile(const std::string&, const std::string& filter) override {
    filters.push_back(filter);
    return save_path;
  }
  // Prints to a PDF file, when one is named, instead of a printer.
  bool SetUpPrinter(QPrinter& printer) override {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(print_path.string()));
    return !print_path.empty();
  }

  std::deque<std::string> answers;
  std::filesystem::path open_path, save_path, print_path;
  std::vector<std::string> shown, filters;
  bool poll_ran_during_dialog = false;

 private:
  void Show(std::string what) {
    shown.push_back(std::move(what));
    poll_ran_during_dialog = poll_ran_during_dialog || timer1_.isActive();
  }
  const QTimer& timer1_;
};

struct RecordedEditor : TextEditorLauncher {
  bool Open(const std::filesystem::path& file) override {
    opened.push_back(file);
    return true;
  }
  std::vector<std::filesystem::path> opened;
};

class PanelFixture : public ::testing::Test {
 protected:
  PanelFixture() {
    backend.SetWait([this](int ms) { link_waits.push_back(ms); });
    watch.WatchPoll(panel.Timer1());
  }
  void TearDown() override {
    EXPECT_EQ(watch.TrafficWhilePolling(), 0) << "a handler talked to the meter with the poll on";
  }

  // One tick of the live poll.
  void Poll() {
    watch.DuringPoll([this] { panel.PollMeter(); });
  }
  // Finds the meter with a poll and forgets the poll's traffic.
  void Connect() {
    Poll();
    trace.str("");
    meter.ClearReceivedReports();
  }

  // The link's traffic since the last call: "R" for a read (and how it failed), "W" and the
  // first `bytes` bytes after the report ID for a write.
  std::vector<std::string> Traffic(std::size_t bytes = 3) {
    std::vector<std::string> lines;
    std::istringstream in(trace.str());
    for (std::string time, direction, rest; in >> time >> direction && std::getline(in, rest);) {
      lines.push_back(direction == "R" ? (rest.size() < 20 ? "R" + rest : "R")
                                       : "W" + rest.substr(3, 3 * bytes));
    }
    trace.str("");
    return lines;
  }

  // Runs `action` and adds to `transcript` its name, the traffic it made (`bytes` bytes of each
  // write), the dialogs it showed and the pauses it made, then the lists shown and the poll.
  void Step(const std::string& name, const std::function<void()>& action, std::size_t bytes = 3) {
    Traffic();
    dialogs.shown.clear();
    pauses.clear();
    action();
    transcript += "> " + name + "\n";
    for (const std::string& line : Traffic(bytes)) {
      transcript += "  " + line + "\n";
    }
    for (const std::string& line : dialogs.shown) {
      transcript += "  " + line + "\n";
    }
    for (const int ms : pauses) {
      transcript += "  pause " + std::to_string(ms) + "\n";
    }
    transcript += "  =";
    for (const QWidget* list : panel.findChildren<QWidget*>()) {
      const auto* combo = qobject_cast<const QComboBox*>(list);
      if (list->objectName().startsWith("Combo") && combo != nullptr && !list->isHidden()) {
        transcript += " " + list->objectName().toStdString() + "[" +
                      combo->currentText().toStdString() + "]";
      }
    }
    transcript += panel.Lists().PicTriggerdB->isHidden() ? "" : " PicTriggerdB";
    transcript += panel.Timer1().isActive() ? " poll on\n" : " poll off\n";
  }

  // What a user's choice of `entry` does: the list shows it and runs its handler.
  static void Choose(QComboBox* list, const QString& entry) {
    const int index = list->findText(entry);
    ASSERT_GE(index, 0) << entry.toStdString();
    list->setCurrentIndex(index);
    emit list->activated(index);
  }
  void Click(const std::string& key) { controls.Toolbar().Click(key); }
  template <typename Widget = QWidget>
  Widget* Find(const char* name) {
    return panel.findChild<Widget*>(name);
  }
  const PanelLists& Lists() const { return panel.Lists(); }
  // Lets windows closed with delete-on-close go.
  static void DeleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  // The meter's wall clock stands at 2013-12-31 23:59:58.
  SimulatedMeter meter{1, [] {
                         using namespace std::chrono;
                         return sys_days{year{2013} / 12 / 31} + 23h + 59min + 58s;
                       }};
  SimulatedBackend backend{meter};
  LinkWatch watch{meter, backend};
  std::ostringstream trace;
  TracingBackend tracing{backend, trace, watch.Clock()};
  USB usb{tracing};
  std::vector<int> link_waits, pauses;
  ScratchFolder folder;
  Panel panel{usb, folder.Path()};
  ScriptedDialogs dialogs{panel.Timer1()};
  MeterControls controls{panel, usb, dialogs, [this](int ms) { pauses.push_back(ms); }};
  RecordedEditor editor;
  std::string transcript;
};

}  // namespace halvane::test
