#pragma once
// The "History" window: a strip chart of the main channel's current value and the sub
// channel's Lp, fed by the live poll, with the statistics of the visible span and since opening
// of the quantity each channel shows, a limit line and exports of the visible span. The time
// axis runs on the monotonic clock; its labels give the PC's clock as it read there.

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QTableWidget>
#include <QWidget>
#include <array>
#include <vector>

#include "history/day_table.h"
#include "history/history_log_control.h"
#include "history/history_statistics.h"
#include "history/level_history.h"
#include "live/live_reply.h"
#include "ui/user_dialogs.h"

class QCustomPlot;
class QCPGraph;
class QCPItemText;

namespace halvane {

class LevelHistoryWindow : public QWidget {
  Q_OBJECT

 public:
  // The spans the window follows the newest sample with, in minutes.
  static constexpr std::array<int, 4> kSpanMinutes{1, 5, 15, 60};

  // `capacity` samples are kept: 24 hours of polls unless a test asks for fewer.
  explicit LevelHistoryWindow(UserDialogs& dialogs, QWidget* parent = nullptr,
                              std::size_t capacity = LevelHistory::kDayOfPolls);

  // One poll at `time`: its decoded reading, or null when the meter did not answer. Logged
  // while a log is open; redraws when `redraw`.
  void Record(PollTime time, const LiveReading* reading, bool redraw = true);
  // Draws the chart, the marks and the statistics for the visible span.
  void Redraw();

  const LevelHistory& History() const { return history_; }
  QCustomPlot& Chart() { return *chart_; }

 private:
  void BuildControls();
  void FollowNewest();
  void DrawSeries(std::int64_t from_ms, std::int64_t to_ms,
                  const std::array<HistoryStatistics, 2>& visible);
  void DrawMarks();
  void AddMarkLabel(const QString& text, double seconds);
  void StackMarkLabels();
  void ShowStatistics(std::int64_t from_ms, std::int64_t to_ms,
                      const std::array<HistoryStatistics, 2>& visible);
  void LimitChanged();
  void Export();
  // The table of the day beside the chart, and its export as CSV.
  QWidget* BuildDayPanel();
  void FillDayTable();
  void ExportDay();

  UserDialogs& dialogs_;
  LevelHistory history_;
  SpanStatisticsTracker visible_statistics_;
  SinceOpeningStatistics since_opening_;
  DayTable day_table_;
  QTableWidget* table_day_ = nullptr;
  QCustomPlot* chart_;
  std::array<QCPGraph*, 2> graphs_{};
  QCPGraph* above_limit_ = nullptr;
  std::vector<QCPItemText*> mark_labels_;  // owned by the chart
  QComboBox* combo_span_ = nullptr;
  QCheckBox* chk_follow_ = nullptr;
  QComboBox* combo_track_ = nullptr;
  QCheckBox* chk_limit_ = nullptr;
  QDoubleSpinBox* spin_limit_ = nullptr;
  QLabel* lbl_visible_ = nullptr;
  QLabel* lbl_since_opening_ = nullptr;
  QLabel* lbl_limit_ = nullptr;
  HistoryLogControl* log_control_ = nullptr;
  bool redrawing_ = false;
};

}  // namespace halvane
