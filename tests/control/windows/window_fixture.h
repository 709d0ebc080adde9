#pragma once
// The control windows over a connected simulated meter, beside the main window and its live poll.
// Every test also checks that no window talked to the meter while the live poll was on.

#include <gmock/gmock.h>

#include <QTest>
#include <QTimer>
#include <sstream>

#include "control/control_context.h"
#include "link/tracing_backend.h"
#include "link/usb.h"
#include "sim/simulated_backend.h"
#include "tests/control/link_watch.h"

namespace halvane {

using Bytes = std::vector<std::uint8_t>;
using ::testing::ElementsAre;

struct MockDialogs : UserDialogs {
  MOCK_METHOD(void, ShowCritical, (const std::string&), (override));
  MOCK_METHOD(std::string, AskText, (const std::string&, const std::string&, const std::string&),
              (override));
  MOCK_METHOD(std::filesystem::path, AskOpenFile,
              (const std::string&, const std::filesystem::path&), (override));
  MOCK_METHOD(std::filesystem::path, AskSaveFile, (const std::string&, const std::string&),
              (override));
  MOCK_METHOD(bool, SetUpPrinter, (QPrinter&), (override));
};

class WindowFixture : public ::testing::Test {
 protected:
  WindowFixture() {
    meter.KeepReceivedReports();
    backend.SetWait([this](int ms) { link_waits.push_back(ms); });
    watch.WatchPoll(timer1);
    timer1.start(160);
    Connect();
  }
  void TearDown() override {
    EXPECT_EQ(watch.TrafficWhilePolling(), 0) << "a window talked to the meter with the poll on";
  }
  void Connect() {
    ASSERT_TRUE(usb.FindMeter());
    meter.ClearReceivedReports();
  }
  // The first `count` bytes of every report the meter received, in order.
  std::vector<Bytes> Sent(std::size_t count) const {
    std::vector<Bytes> sent;
    for (const auto& report : meter.ReceivedReports())
      sent.emplace_back(report.begin(), report.begin() + static_cast<std::ptrdiff_t>(count));
    return sent;
  }
  template <typename Widget = QWidget>
  Widget* Find(const char* name) {
    return owner.findChild<Widget*>(name);
  }
  void Click(const char* name) { QTest::mouseClick(Find(name), Qt::LeftButton); }

  QTimer timer1;  // the main window's live poll
  std::vector<int> link_waits;
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
  ::testing::StrictMock<MockDialogs> dialogs;  // no message unless a test expects one
  ControlContext context{usb, timer1, dialogs, [](int) {}};
  QWidget owner;  // the main window; deletes the tool windows before the link goes
};

}  // namespace halvane
