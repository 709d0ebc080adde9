// The "History" window over the simulated meter: opened by its toolbar button, fed by the
// main window's poll with a gap for an unplug, its limit line remembered and its exports read
// back.

#include <qcustomplot.h>

#include <QAction>
#include <QDoubleSpinBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolBar>
#include <cmath>

#include "history/level_history_controls.h"
#include "tests/graphs/graph_fixture.h"

namespace halvane {
namespace {

constexpr std::int64_t kStart = 1'700'000'000'000;

class HistoryFixture : public ::testing::Test {
 protected:
  HistoryFixture()
      : backend(meter),
        usb(backend),
        folder(std::filesystem::path(::testing::TempDir()) /
               (std::string("halvane-history-") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name())),
        panel(usb, folder),
        controls(panel, usb, dialogs, [](int) {}),
        history(panel, controls.Toolbar(), dialogs) {
    QStandardPaths::setTestModeEnabled(true);
    panel.Timer1().stop();
  }

  QAction* Button(const char* key) { return panel.Toolbar1().findChild<QAction*>(key); }

  SimulatedMeter meter;
  SimulatedBackend backend;
  USB usb;
  std::filesystem::path folder;
  test::GraphDialogs dialogs;
  Panel panel;
  MeterControls controls;
  LevelHistoryControls history;
};

// A reply of the sound level meter screen whose main current value is `tenths`.
LiveReading Reading(int tenths) {
  InputReportBuffer reply{};
  reply[133] = static_cast<std::uint8_t>(tenths >> 8);
  reply[134] = static_cast<std::uint8_t>(tenths & 0xFF);
  reply[23] = reply[133], reply[24] = reply[134];
  return DecodeLiveReply(reply);
}

std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST_F(HistoryFixture, ButtonAfterPlotOpensTheWindowThatRecordsEveryPollWithAGapForAnUnplug) {
  const QList<QAction*> actions = panel.Toolbar1().actions();
  const auto plot = actions.indexOf(Button("Plot"));
  ASSERT_GE(plot, 0);
  EXPECT_EQ(actions[plot + 1], Button("History"));
  EXPECT_EQ(Button("History")->toolTip(), "Level History");

  panel.Lists().ComboRecMode->show();
  Button("History")->trigger();
  EXPECT_FALSE(panel.Lists().ComboRecMode->isVisible());
  ASSERT_NE(history.Window(), nullptr);
  EXPECT_TRUE(history.Window()->isVisible());

  const auto poll = [this](int times) {
    for (int i = 0; i < times; ++i) {
      panel.PollMeter();
    }
  };
  poll(4);
  backend.Unplug();
  poll(2);
  backend.Replug();
  poll(3);
  const LevelHistory& kept = history.Window()->History();
  ASSERT_EQ(kept.Size(), 9U);
  for (std::size_t i = 0; i < kept.Size(); ++i) {
    EXPECT_EQ(kept.At(i).measuring, i < 4 || i >= 6) << i;
  }
  // The chart's main line is broken once, at the unplug.
  const QCPGraph* main_line = history.Window()->Chart().graph(0);
  int breaks = 0;
  for (auto point = main_line->data()->constBegin(); point != main_line->data()->constEnd();
       ++point) {
    breaks += std::isnan(point->value) ? 1 : 0;
  }
  EXPECT_EQ(breaks, 1);
  EXPECT_EQ(main_line->name().toStdString(), panel.Reading().MainItemLabel);

  history.Window()->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(history.Window(), nullptr);
  poll(1);  // no window: the poll goes on alone
}

TEST_F(HistoryFixture, LimitIsCountedRememberedAndTheVisibleSpanExportsReadBack) {
  Button("History")->trigger();
  LevelHistoryWindow& window = *history.Window();
  window.findChild<QCheckBox*>("ChkLimit")->setChecked(true);
  window.findChild<QDoubleSpinBox*>("SpinLimit")->setValue(80.0);
  // Two minutes at 160 ms: above 80 dB for 10 polls from 30 s and from 90 s.
  for (int poll = 0; poll < 750; ++poll) {
    const bool above = (poll >= 187 && poll < 197) || (poll >= 562 && poll < 572);
    const LiveReading reading = Reading(above ? 850 : 650);
    window.Record(kStart + poll * 160, &reading, false);
  }
  window.Redraw();
  const std::string limit = window.findChild<QLabel*>("LblLimit")->text().toStdString();
  EXPECT_NE(limit.find("above 80.0 dB 2 times, 0:00:03.2 in all"), std::string::npos) << limit;
  EXPECT_NE(window.findChild<QLabel*>("LblSinceOpening")->text().indexOf("Records 750"), -1);
  EXPECT_GT(window.Chart().graph(2)->dataCount(), 0);  // the red samples

  dialogs.save_path = folder / "history.csv";
  window.findChild<QPushButton*>("CmdExport")->click();
  const std::string csv = FileText(dialogs.save_path);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 751);  // the whole 5-minute span
  EXPECT_NE(csv.find(",LAF,85.0,LAF,85.0\r\n"), std::string::npos);
  dialogs.save_path = folder / "history.png";
  window.findChild<QPushButton*>("CmdExport")->click();
  EXPECT_EQ(QImage(QString::fromStdString(dialogs.save_path.string())).size(),
            window.Chart().size());
  EXPECT_TRUE(dialogs.messages.empty());

  LevelHistoryWindow reopened(dialogs);
  EXPECT_TRUE(reopened.findChild<QCheckBox*>("ChkLimit")->isChecked());
  EXPECT_EQ(reopened.findChild<QDoubleSpinBox*>("SpinLimit")->value(), 80.0);
}

}  // namespace
}  // namespace halvane
