// The "History" window over the simulated meter: opened by its toolbar button, fed by the
// main window's poll with a gap for an unplug and timed by a clock the test sets, its quantities
// kept apart, its limit line remembered, its exports and its log read back.

#include <qcustomplot.h>

#include <QAction>
#include <QDoubleSpinBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QToolBar>
#include <cmath>

#include "history/level_history_controls.h"
#include "tests/gui/panel_fixture.h"

namespace halvane::test {
namespace {

constexpr std::int64_t kStart = 1'700'000'000'000;

class HistoryFixture : public PanelFixture {
 protected:
  HistoryFixture() {
    QStandardPaths::setTestModeEnabled(true);
    panel.Timer1().stop();
  }

  QAction* Button(const char* key) { return panel.Toolbar1().findChild<QAction*>(key); }
  // The clocks the history reads, 160 ms on at each poll.
  PollTime Tick() {
    const PollTime now = clock;
    clock = {now.monotonic_ms + 160, now.wall_ms + 160};
    return now;
  }

  PollTime clock{5'000, kStart};
  LevelHistoryControls history{panel, controls.Toolbar(), dialogs, [this] { return Tick(); }};
};

// A reply of the sound level meter screen whose main current value is `tenths` of the item
// `item` (0 LAF, 1 LAeq, 2 LAE, 3 LAFmax), the sub channel's LCS the same.
LiveReading Reading(int tenths, std::uint8_t item = 0) {
  InputReportBuffer reply{};
  reply[19] = reply[20] = 0x10;
  reply[21] = item;
  reply[133] = static_cast<std::uint8_t>(tenths >> 8);
  reply[134] = static_cast<std::uint8_t>(tenths & 0xFF);
  reply[23] = reply[133], reply[24] = reply[134];
  return DecodeLiveReply(reply);
}

// The texts of the labels on the chart (changes and gaps), and whether two of them overlap.
std::vector<std::string> VisibleLabels(QCustomPlot& chart, bool& overlapping) {
  std::vector<std::string> texts;
  std::vector<QRectF> boxes;
  for (int i = 0; i < chart.itemCount(); ++i) {
    const auto* label = qobject_cast<QCPItemText*>(chart.item(i));
    if (label != nullptr && label->visible()) {
      const QRectF box(label->topLeft->pixelPosition(), label->bottomRight->pixelPosition());
      overlapping |=
          std::ranges::any_of(boxes, [&box](auto& other) { return other.intersects(box); });
      boxes.push_back(box);
      texts.push_back(label->text().toStdString());
    }
  }
  return texts;
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
  // Wholly on the screen, beside the main window rather than over it.
  const QRect frame = history.Window()->frameGeometry();
  EXPECT_TRUE(panel.screen()->availableGeometry().contains(frame));
  EXPECT_GT(frame.left(), panel.frameGeometry().right());

  const auto poll = [this](int times) {
    for (int i = 0; i < times; ++i) {
      panel.PollMeter();
    }
  };
  dialogs.save_path = folder / "levels.csv";
  std::filesystem::remove(dialogs.save_path);
  history.Window()->findChild<QPushButton*>("CmdLog")->click();
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
  bool overlapping = false;
  const std::vector<std::string> labels = VisibleLabels(history.Window()->Chart(), overlapping);
  EXPECT_EQ(std::ranges::count(labels, "meter away"), 1);
  EXPECT_EQ(main_line->name().toStdString(), panel.Reading().MainItemLabel);
  EXPECT_EQ(history.Window()->findChild<QLabel*>("LblLog")->text(),
            "Logging to levels.csv: 7 lines");

  history.Window()->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(history.Window(), nullptr);
  poll(1);  // no window: the poll goes on alone, the log is closed
  const std::vector<std::string> logged = TextLines(FileText(dialogs.save_path));
  ASSERT_EQ(logged.size(), 8U);  // the header and the 7 answered polls
  EXPECT_EQ(logged[0].rfind("time,display_mode,", 0), 0U);
  EXPECT_TRUE(dialogs.shown.empty());
}

// The log has the columns of halvane-cli live, whose lines the live formats' tests pin.
TEST_F(HistoryFixture, LogWritesEachAnsweredPollAsALiveCsvLine) {
  Button("History")->trigger();
  dialogs.save_path = folder / "window.csv";
  std::filesystem::remove(dialogs.save_path);
  history.Window()->findChild<QPushButton*>("CmdLog")->click();
  constexpr int kPolls = 12;
  for (int i = 0; i < kPolls; ++i) {
    panel.PollMeter();
  }
  history.Window()->findChild<QPushButton*>("CmdLog")->click();
  EXPECT_EQ(history.Window()->findChild<QLabel*>("LblLog")->text(),
            "Log window.csv ended: 12 lines");
  panel.PollMeter();  // after the log ended: not written

  std::string log = FileText(dialogs.save_path);
  for (std::size_t line = log.find('\n'); line + 1 < log.size(); line = log.find('\n', line + 1)) {
    log.erase(line + 1, log.find(',', line) - line - 1);  // the PC's time
  }
  ExpectDataFile(log, "history/log.csv");
}

TEST_F(HistoryFixture, LogThatCannotBeWrittenStopsWithAMessageWhileThePollGoesOn) {
  Button("History")->trigger();
  LevelHistoryWindow& window = *history.Window();
  auto* log_button = window.findChild<QPushButton*>("CmdLog");
  dialogs.save_path = folder / "missing" / "levels.csv";
  log_button->click();
  ASSERT_EQ(dialogs.shown.size(), 1U);
  EXPECT_EQ(dialogs.shown[0].rfind("report: Cannot log to " + dialogs.save_path.string() + ": ", 0),
            0U);
  EXPECT_EQ(log_button->text(), "Log to file…");

  dialogs.save_path = "/dev/full";
  log_button->click();
  EXPECT_EQ(log_button->text(), "Stop log");
  panel.PollMeter();
  panel.PollMeter();
  ASSERT_EQ(dialogs.shown.size(), 2U);
  EXPECT_EQ(dialogs.shown[1].rfind("report: Cannot write the log /dev/full: ", 0), 0U);
  EXPECT_NE(dialogs.shown[1].find(". Logging stopped."), std::string::npos);
  // Both are reports over the window, which leave the poll running.
  EXPECT_EQ(dialogs.report_windows, (std::vector<QWidget*>{&window, &window}));
  EXPECT_EQ(log_button->text(), "Log to file…");
  EXPECT_EQ(window.History().Size(), 2U);
}

TEST_F(HistoryFixture, LimitIsCountedRememberedAndTheVisibleSpanExportsReadBack) {
  setenv("TZ", "UTC", 1);  // the day's table is on the local clock
  tzset();
  Button("History")->trigger();
  LevelHistoryWindow& window = *history.Window();
  window.findChild<QCheckBox*>("ChkLimit")->setChecked(true);
  window.findChild<QDoubleSpinBox*>("SpinLimit")->setValue(80.0);
  // Two minutes at 160 ms: above 80 dB for 10 polls from 30 s and from 90 s.
  for (int poll = 0; poll < 750; ++poll) {
    const bool above = (poll >= 187 && poll < 197) || (poll >= 562 && poll < 572);
    const LiveReading reading = Reading(above ? 850 : 650);
    window.Record({poll * 160, kStart + poll * 160}, &reading, false);
  }
  window.Redraw();
  const std::string limit = window.findChild<QLabel*>("LblLimit")->text().toStdString();
  EXPECT_EQ(limit.rfind("LAF above 80.0 dB 2 times, 0:00:03.2 in all", 0), 0U) << limit;
  EXPECT_NE(window.findChild<QLabel*>("LblSinceOpening")->text().indexOf("Readings 750"), -1);
  EXPECT_GT(window.Chart().graph(2)->dataCount(), 0);  // the red samples

  dialogs.save_path = folder / "history.csv";
  window.findChild<QPushButton*>("CmdExport")->click();
  const std::string csv = FileText(dialogs.save_path);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 751);  // the whole 5-minute span
  EXPECT_NE(csv.find(",LAF,85.0,LCS,85.0\r\n"), std::string::npos);
  dialogs.save_path = folder / "history.png";
  window.findChild<QPushButton*>("CmdExport")->click();
  EXPECT_EQ(QImage(QString::fromStdString(dialogs.save_path.string())).size(),
            window.Chart().size());
  EXPECT_TRUE(dialogs.shown.empty());

  // The day so far as monitor makes it: the hour, the day's parts, the four exceedances (two a
  // channel), shown and exported alike.
  dialogs.save_path = folder / "day.csv";
  window.findChild<QPushButton*>("CmdExportDay")->click();
  const std::string day = FileText(dialogs.save_path);
  ExpectDataFile(day, "history/day.csv");
  const auto& table = *window.findChild<QTableWidget*>("TableDay");
  const std::vector<std::string> lines = TextLines(day);
  ASSERT_EQ(static_cast<std::size_t>(table.rowCount()) + 1, lines.size());
  for (int row = 0; row < table.rowCount(); ++row) {
    QStringList cells;
    for (int column = 0; column < table.columnCount(); ++column) {
      cells << table.item(row, column)->text();
    }
    EXPECT_EQ(cells.join(',').toStdString() + "\r", lines[static_cast<std::size_t>(row) + 1]);
  }

  LevelHistoryWindow reopened(dialogs);
  EXPECT_TRUE(reopened.findChild<QCheckBox*>("ChkLimit")->isChecked());
  EXPECT_EQ(reopened.findChild<QDoubleSpinBox*>("SpinLimit")->value(), 80.0);
}

TEST_F(HistoryFixture, PcClockSetBackAnHourKeepsTheOrderTheCountsAndTheDurations) {
  Button("History")->trigger();
  LevelHistoryWindow& window = *history.Window();
  for (int poll = 0; poll < 200; ++poll) {
    clock.wall_ms -= poll == 100 ? 3'600'000 : 0;
    panel.PollMeter();
  }
  // The simulated meter shows LAeq, which is no sound level: it has no Leq of its own.
  for (const char* name : {"LblVisible", "LblSinceOpening"}) {
    const std::string text = window.findChild<QLabel*>(name)->text().toStdString();
    EXPECT_NE(text.find("\nLAeq over 0:00:32.0\nReadings 200 ("), std::string::npos) << text;
    EXPECT_NE(text.find("\nNo Leq or L_N: LAeq is no time-weighted sound level (Lp)\nL"),
              std::string::npos);
  }
  bool overlapping = false;
  EXPECT_EQ(VisibleLabels(window.Chart(), overlapping).back(), "PC clock set back 1:00:00.0");
}

TEST_F(HistoryFixture, EachQuantityIsCountedApartAndTheLabelsOfItsChangesNeverOverlap) {
  Button("History")->trigger();
  LevelHistoryWindow& window = *history.Window();
  window.findChild<QCheckBox*>("ChkLimit")->setChecked(true);
  window.findChild<QDoubleSpinBox*>("SpinLimit")->setValue(80.0);
  std::int64_t ms = 0;
  const auto record = [&](int polls, int tenths, int item) {
    for (int i = 0; i < polls; ++i, ms += 160) {
      const LiveReading reading = Reading(tenths, static_cast<std::uint8_t>(item));
      window.Record({ms, kStart + ms}, &reading, false);
    }
  };
  // The main channel's figures: after the heading, before the sub channel's LCS.
  const auto main_text = [&window](const char* label) {
    const std::string text = window.findChild<QLabel*>(label)->text().toStdString();
    return text.substr(text.find('\n'), text.find("\nLCS over") - text.find('\n'));
  };
  // LAE, then LAFmax, then LAF: the figures and the limit are LAF's alone.
  record(100, 950, 2);
  record(100, 1045, 3);
  record(100, 700, 0);
  window.Redraw();
  for (const char* label : {"LblVisible", "LblSinceOpening"}) {
    EXPECT_EQ(main_text(label),
              "\nLAF over 0:00:16.0, mixed quantities: figures of LAF only\n"
              "Readings 100 (0 without a level)\nLeq 70.0  Lmax 70.0  Lmin 70.0\n"
              "L10 70.0  L50 70.0  L90 70.0");
  }
  EXPECT_EQ(window.findChild<QLabel*>("LblLimit")->text(),
            "LAF above 80.0 dB 0 times, 0:00:00.0 in all");
  EXPECT_EQ(window.Chart().graph(2)->dataCount(), 0);  // nothing red

  for (int change = 0; change < 40; ++change) {
    record(2, 700, change % 4);
  }
  window.Redraw();
  bool overlapping = false;
  EXPECT_GE(VisibleLabels(window.Chart(), overlapping).size(), 8U);
  EXPECT_FALSE(overlapping);
}

}  // namespace
}  // namespace halvane::test
