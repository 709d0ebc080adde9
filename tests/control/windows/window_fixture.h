#pragma once
// The control windows over a connected simulated meter, beside the main window and its live poll.

#include <gmock/gmock.h>

#include <QTest>
#include <QTimer>

#include "link/usb.h"
#include "sim/simulated_backend.h"

namespace halvane {

using Bytes = std::vector<std::uint8_t>;
using ::testing::ElementsAre;

class WindowFixture : public ::testing::Test {
 protected:
  WindowFixture() {
    backend.SetWait([this](int ms) { link_waits.push_back(ms); });
    timer1.start(160);
    Connect();
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

  QTimer timer1;                  // the main window's live poll
  int reports_while_polling = 0;  // reports the meter received with the live poll on
  std::vector<int> link_waits;
  // The meter reads its wall clock, 2013-12-31 23:59:58, once for every report it receives.
  SimulatedMeter meter{1, [this] {
                         reports_while_polling += timer1.isActive() ? 1 : 0;
                         using namespace std::chrono;
                         return sys_days{year{2013} / 12 / 31} + 23h + 59min + 58s;
                       }};
  SimulatedBackend backend{meter};
  USB usb{backend};
  QWidget owner;  // the main window; deletes the tool windows before the link goes
};

}  // namespace halvane
