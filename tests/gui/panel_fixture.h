#pragma once
// The main window with its meter controls over the simulated meter, as every window test has it.
// Dialogs answer from a script and keep what they showed, pauses are recorded, the text editor
// only notes what it was asked to open, and a trace of the link shows every read and write. Each
// test also checks that nothing talked to the meter while the live poll was on outside a poll.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QPrinter>
#include <QRegularExpression>
#include <QTest>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <sstream>

#include "control/meter_controls.h"
#include "link/tracing_backend.h"
#include "sim/simulated_backend.h"
#include "sim/simulated_meter.h"
#include "tests/file_text.h"
#include "tests/scratch_files.h"
#include "ui/text_editor_launcher.h"

namespace halvane::test {

class ScriptedDialogs : public UserDialogs {
 public:
  explicit ScriptedDialogs(const QTimer& timer1) : timer1_(timer1) {}

  void ShowCritical(const std::string& message) override { Show("message: " + message); }
  // Reported after the fact over `window`: the poll may run meanwhile.
  void Report(const std::string& message, QWidget& window) override {
    shown.push_back("report: " + message);
    report_windows.push_back(window.window());
  }
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
  // Prints to a PDF file, when one is named, instead of a printer.
  bool SetUpPrinter(QPrinter& printer) override {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(print_path.string()));
    return !print_path.empty();
  }

  std::deque<std::string> answers;
  std::filesystem::path open_path, save_path, print_path;
  std::vector<std::string> shown, filters;
  std::vector<std::filesystem::path> open_folders;
  std::vector<QWidget*> report_windows;  // the window each report opened over
  bool poll_ran_during_dialog = false;

 private:
  void Show(std::string what) {
    shown.push_back(std::move(what));
    poll_ran_during_dialog = poll_ran_during_dialog || timer1_.isActive();
  }
  const QTimer& timer1_;
};

// Starts unless told there is none.
struct RecordedEditor : TextEditorLauncher {
  bool Open(const std::filesystem::path& file) override {
    opened.push_back(file);
    return starts;
  }
  std::vector<std::filesystem::path> opened;
  bool starts = true;
};

class PanelFixture : public ::testing::Test {
 protected:
  PanelFixture() {
    meter.KeepReceivedReports();
    backend.SetWait([this](int ms) { link_waits.push_back(ms); });
  }
  void TearDown() override {
    EXPECT_EQ(traffic_while_polling, 0) << "a handler talked to the meter with the poll on";
  }

  // Runs `action` as the live poll's own: its traffic is the poll's.
  void DuringPoll(const std::function<void()>& action) {
    polling = true;
    action();
    polling = false;
  }
  // One tick of the live poll.
  void Poll() {
    DuringPoll([this] { panel.PollMeter(); });
  }
  // Finds the meter with a poll and forgets the poll's traffic.
  void Connect() {
    Poll();
    trace.str("");
    meter.ClearReceivedReports();
  }

  // Adds to `transcript` the name of a step, runs `action`, and adds what it noted, the traffic
  // it made, the dialogs it showed and the pauses it made, then the lists it left shown and
  // where the poll stands.
  void Step(const std::string& name, const std::function<void()>& action) {
    trace.str("");
    dialogs.shown.clear();
    dialogs.poll_ran_during_dialog = false;
    pauses.clear();
    transcript += "> " + name + "\n";
    action();
    // The link's traffic: "R" for a read (and how it failed), "W" and the bytes after the
    // report ID for a write, the zeros at its end left out.
    std::istringstream traffic(trace.str());
    for (std::string time, direction, rest;
         traffic >> time >> direction && std::getline(traffic, rest);) {
      for (; direction == "W" && rest.ends_with(" 00") && rest.size() > 6;) {
        rest.resize(rest.size() - 3);
      }
      Note(direction + (direction == "W" ? rest.substr(3) : rest.size() < 20 ? rest : ""));
    }
    for (const std::string& line : dialogs.shown) {
      Note(line);
    }
    for (const int ms : pauses) {
      Note("pause " + std::to_string(ms));
    }
    std::string state = "=";
    for (const auto* list : panel.findChildren<QComboBox*>(QRegularExpression("^Combo"))) {
      if (list->window() == &panel && list->isVisibleTo(&panel)) {
        state +=
            " " + list->objectName().toStdString() + "[" + list->currentText().toStdString() + "]";
      }
    }
    state += Lists().PicTriggerdB->isHidden() ? "" : " PicTriggerdB";
    state += dialogs.poll_ran_during_dialog ? ", poll ran during a dialog" : "";
    Note(state + (panel.Timer1().isActive() ? ", poll on" : ", poll off"));
  }
  void Step(const std::string& script) {
    Step(script, [&] { Run(script); });
  }
  // Runs the steps of `script`, separated by "; ": "click KEY" (a toolbar button), "choose LIST
  // ENTRY", "type LIST TEXT", "show WIDGET", "press BUTTON", "mouse WIDGET" (a click of the
  // mouse), "timeout TIMER", "answer TEXT" (the next question's answer, blanks kept), "tick" (a
  // poll), "timer on|off" (the poll's), "unplug", "replug" and "silence on|off" (the meter's).
  // Widgets and timers are named as Find takes them.
  void Run(const std::string& script) {
    for (std::size_t start = 0, end = 0; start < script.size(); start = end + 2) {
      end = std::min(script.find("; ", start), script.size());
      const std::string step = script.substr(start, end - start);
      const std::string verb = step.substr(0, step.find(' '));
      const std::string argument = step.substr(std::min(step.size(), verb.size() + 1));
      const std::string name = argument.substr(0, argument.find(' '));
      const QString text =
          QString::fromStdString(argument.substr(std::min(argument.size(), name.size() + 1)));
      const std::map<std::string, std::function<void()>> verbs{
          {"click", [&] { Click(name); }},
          {"choose", [&] { Choose(Find<QComboBox>(name), text); }},
          {"type", [&] { Find<QComboBox>(name)->setEditText(text); }},
          {"show", [&] { Find(name)->show(); }},
          {"press", [&] { Find<QAbstractButton>(name)->click(); }},
          {"mouse", [&] { QTest::mouseClick(Find(name), Qt::LeftButton); }},
          {"answer", [&] { dialogs.answers.push_back(argument); }},
          {"timeout", [&] { QMetaObject::invokeMethod(Find<QTimer>(name), "timeout"); }},
          {"tick", [&] { Poll(); }},
          {"unplug", [&] { backend.Unplug(); }},
          {"replug", [&] { backend.Replug(); }},
          {"silence", [&] { backend.SetSilent(argument == "on"); }},
          {"timer", [&] { argument == "on" ? panel.Timer1().start() : panel.Timer1().stop(); }}};
      ASSERT_TRUE(verbs.contains(verb)) << step;
      verbs.at(verb)();
    }
  }
  // A line of the transcript, control characters written as escapes and the test's own folder
  // as "<folder>".
  void Note(std::string line) {
    for (std::size_t at; (at = line.find(folder.Path().string())) != std::string::npos;) {
      line.replace(at, folder.Path().string().size(), "<folder>");
    }
    transcript += "  ";
    for (const char c : line) {
      transcript += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
    }
    transcript += "\n";
  }

  // What a user's choice of `entry` does: the list shows it and runs its handler.
  static void Choose(QComboBox* list, const QString& entry) {
    const int index = list->findText(entry);
    ASSERT_GE(index, 0) << entry.toStdString();
    list->setCurrentIndex(index);
    emit list->activated(index);
  }
  void Click(const std::string& key) { controls.Toolbar().Click(key); }
  // The widget of this name among the main window's children, or the window's of "WINDOW/NAME".
  template <typename Widget = QWidget>
  Widget* Find(const std::string& path) {
    const QObject* window = &panel;
    if (const std::size_t slash = path.find('/'); slash != std::string::npos) {
      window = panel.findChild<QWidget*>(QString::fromStdString(path.substr(0, slash)));
    }
    return window->findChild<Widget*>(QString::fromStdString(path.substr(path.find('/') + 1)));
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
  std::ostringstream trace;
  // Runs for every read and write: counts those made while the live poll is on outside a poll,
  // and takes the meter away once it has received `unplug_after` reports, so that the exchange
  // which sent the last of them gets no reply.
  TracingBackend tracing{backend, trace, [this] {
                           traffic_while_polling +=
                               watch_poll && panel.Timer1().isActive() && !polling ? 1 : 0;
                           if (unplug_after && meter.ReceivedReports().size() >= *unplug_after) {
                             backend.Unplug();
                           }
                           return std::chrono::milliseconds(0);
                         }};
  bool watch_poll = true;  // off where the tests let the timer drive the poll
  bool polling = false;
  int traffic_while_polling = 0;
  std::optional<std::size_t> unplug_after;
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
