#pragma once
// The main window with its meter controls over the simulated meter. Dialogs are answered from
// a script, pauses are recorded, and a trace of the link shows every read and write in order.
// Every test also checks that no handler talked to the meter while the live poll was on.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <deque>
#include <filesystem>
#include <memory>
#include <sstream>

#include "control/meter_controls.h"
#include "link/tracing_backend.h"
#include "link_watch.h"
#include "sim/simulated_backend.h"
#include "sim/simulated_meter.h"

namespace halvane {

class ScriptedAnswers : public UserDialogs {
 public:
  explicit ScriptedAnswers(const QTimer& timer1) : timer1_(timer1) {}

  void ShowCritical(const std::string& message) override {
    shown.push_back("message: " + message);
    poll_ran_during_dialog = poll_ran_during_dialog || timer1_.isActive();
  }
  // Reported after the fact: the poll may run meanwhile.
  void Report(const std::string& message, QWidget&) override {
    shown.push_back("report: " + message);
  }
  std::string AskText(const std::string& prompt, const std::string& title,
                      const std::string& default_text) override {
    shown.push_back("ask: " + title + " [" + default_text + "] " + prompt);
    poll_ran_during_dialog = poll_ran_during_dialog || timer1_.isActive();
    if (answers.empty()) {
      return {};
    }
    const std::string answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::filesystem::path AskOpenFile(const std::string&, const std::filesystem::path&) override {
    return {};
  }
  std::filesystem::path AskSaveFile(const std::string&, const std::string&) override { return {}; }
  bool SetUpPrinter(QPrinter&) override { return false; }

  std::deque<std::string> answers;
  std::vector<std::string> shown;
  bool poll_ran_during_dialog = false;

 private:
  const QTimer& timer1_;
};

class ControlFixture : public ::testing::Test {
 protected:
  ControlFixture()
      : backend(meter),
        watch(meter, backend),
        tracing(backend, trace, watch.Clock()),
        usb(tracing),
        temp_folder(temp_dir.path().toStdString()),
        panel(usb, temp_folder),
        dialogs(panel.Timer1()),
        controls(panel, usb, dialogs, [this](int ms) { pauses.push_back(ms); }) {
    meter.KeepReceivedReports();
    backend.SetWait([](int) {});
    watch.WatchPoll(panel.Timer1());
    Poll();
    trace.str("");
  }
  void TearDown() override {
    EXPECT_EQ(watch.TrafficWhilePolling(), 0) << "a handler talked to the meter with the poll on";
  }

  // One tick of the live poll.
  void Poll() {
    watch.DuringPoll([this] { panel.PollMeter(); });
  }

  // The link's traffic since the last call: "R" for a read, "W" and the first `bytes` bytes
  // after the report ID for a write.
  std::vector<std::string> Traffic(std::size_t bytes = 3) {
    std::vector<std::string> lines;
    std::istringstream in(trace.str());
    std::string time, direction;
    while (in >> time >> direction) {
      std::string rest;
      std::getline(in, rest);
      if (direction == "R") {
        lines.push_back("R");
      } else {
        lines.push_back(std::string("W").append(rest, 3, 3 * bytes));
      }
    }
    trace.str("");
    return lines;
  }

  // What a user's choice of `entry` does: the list shows it and runs its handler.
  static void Choose(QComboBox* list, const QString& entry) {
    const int index = list->findText(entry);
    ASSERT_GE(index, 0) << entry.toStdString();
    list->setCurrentIndex(index);
    emit list->activated(index);
  }

  void Click(const std::string& key) { controls.Toolbar().Click(key); }

  SimulatedMeter meter;
  SimulatedBackend backend;
  LinkWatch watch;
  std::ostringstream trace;
  TracingBackend tracing;
  USB usb;
  QTemporaryDir temp_dir;
  std::filesystem::path temp_folder;
  Panel panel;
  ScriptedAnswers dialogs;
  std::vector<int> pauses;
  MeterControls controls;
};

}  // namespace halvane
