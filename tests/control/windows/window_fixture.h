#pragma once
// The meter-control windows over the simulated meter, with the main window's live poll timer
// running and a main window that owns the tool windows.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <vector>

#include "link/usb.h"
#include "sim/simulated_backend.h"
#include "ui/user_dialogs.h"

namespace halvane {

using Bytes = std::vector<std::uint8_t>;
using ::testing::ElementsAre;

// Records each message box, and whether the live poll ran while it was up.
struct ScriptedDialogs : UserDialogs {
  explicit ScriptedDialogs(const QTimer& poll) : timer1(poll) {}
  void ShowCritical(const std::string& message) override {
    messages.push_back(message);
    poll_ran_during_message |= timer1.isActive();
  }
  std::string AskText(const std::string&, const std::string&, const std::string&) override {
    ADD_FAILURE() << "unexpected input box";
    return {};
  }
  const QTimer& timer1;
  std::vector<std::string> messages;
  bool poll_ran_during_message = false;
};

class WindowFixture : public ::testing::Test {
 protected:
  // The meter reads its wall clock once for every report it receives: the fixture notes then
  // whether the live poll was running. The meter's clock reads 2013-12-31 23:59:58.
  WindowFixture() : meter(1, [this] { return MeterWallClock(); }), backend(meter), usb(backend) {
    backend.SetWait([this](int ms) { link_waits.push_back(ms); });
    timer1.start(160);
  }

  // The first `count` bytes of every report the meter received, in order.
  std::vector<Bytes> Sent(std::size_t count) const {
    std::vector<Bytes> sent;
    for (const auto& report : meter.ReceivedReports()) {
      sent.emplace_back(report.begin(), report.begin() + static_cast<std::ptrdiff_t>(count));
    }
    return sent;
  }
  void Connect() {
    ASSERT_TRUE(usb.FindMeter());
    meter.ClearReceivedReports();
  }
  static void TypeInto(QComboBox* list, const QString& text) {
    list->lineEdit()->clear();
    QTest::keyClicks(list->lineEdit(), text);
  }

  QTimer timer1;
  int reports_while_polling = 0;
  std::vector<int> link_waits;
  SimulatedMeter meter;
  SimulatedBackend backend;
  USB usb;
  ScriptedDialogs dialogs{timer1};
  QWidget owner;  // the main window; deletes the tool windows before the link goes

 private:
  std::chrono::system_clock::time_point MeterWallClock() {
    reports_while_polling += timer1.isActive() ? 1 : 0;
    using namespace std::chrono;
    return sys_days{year{2013} / 12 / 31} + hours{23} + minutes{59} + seconds{58};
  }
};

}  // namespace halvane
