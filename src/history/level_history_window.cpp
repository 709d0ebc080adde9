#include "history/level_history_window.h"

#include <qcustomplot.h>

#include <QDateTime>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "graphs/graph_output.h"
#include "graphs/track_modes.h"
#include "history/history_csv.h"
#include "history/history_series.h"
#include "history/level_history_text.h"
#include "records/atomic_file.h"
#include "ui/qt_text.h"

namespace halvane {

namespace {

constexpr const char* kLimitOnKey = "history/limit_on";
constexpr const char* kLimitKey = "history/limit_db";
constexpr double kDefaultLimitDb = 85.0;
constexpr int kDefaultSpanIndex = 1;  // 5 minutes

constexpr std::array<QColor, 2> kChannelColours{QColor(30, 90, 200), QColor(40, 150, 60)};

std::int64_t Milliseconds(double seconds) {
  return std::llround(seconds * 1000.0);
}

QString ClockText(std::int64_t wall_ms) {
  return QDateTime::fromMSecsSinceEpoch(wall_ms).toString("hh:mm:ss.zzz");
}

// The time axis labelled with the PC's clock as it read at each tick, also after it was set.
class WallClockTicker : public QCPAxisTickerDateTime {
 public:
  explicit WallClockTicker(const LevelHistory& history) : history_(history) {}

 protected:
  QString getTickLabel(double tick, const QLocale& locale, QChar format, int precision) override {
    const double offset = static_cast<double>(history_.WallOffsetAt(Milliseconds(tick))) / 1000;
    return QCPAxisTickerDateTime::getTickLabel(tick + offset, locale, format, precision);
  }

 private:
  const LevelHistory& history_;
};

// Places boxes of the given sizes at their x, each as high as it goes without overlapping an
// obstacle or a box placed before and without reaching below `bottom`; a box that fits nowhere
// is left out.
std::vector<std::optional<QRectF>> StackBoxes(std::vector<QRectF> obstacles,
                                              const std::vector<QRectF>& at_top, double bottom) {
  std::vector<std::optional<QRectF>> placed;
  for (const QRectF& box : at_top) {
    std::vector<double> tops{box.top()};
    for (const QRectF& other : obstacles) {
      tops.push_back(other.bottom());
    }
    std::ranges::sort(tops);
    placed.emplace_back();
    for (const double top : tops) {
      const QRectF moved = box.translated(0, top - box.top());
      if (moved.bottom() <= bottom &&
          std::ranges::none_of(obstacles,
                               [&moved](const QRectF& other) { return other.intersects(moved); })) {
        placed.back() = moved;
        obstacles.push_back(moved);
        break;
      }
    }
  }
  return placed;
}

QVector<double> ToVector(const std::vector<double>& values) {
  return QVector<double>(values.begin(), values.end());
}

}  // namespace

LevelHistoryWindow::LevelHistoryWindow(UserDialogs& dialogs, QWidget* parent, std::size_t capacity)
    : QWidget(parent, Qt::Window), dialogs_(dialogs), history_(capacity) {
  setObjectName("History");
  setWindowTitle("Level History");
  chart_ = new QCustomPlot(this);
  chart_->setObjectName("ChartHistory");
  auto ticker = QSharedPointer<WallClockTicker>::create(history_);
  ticker->setDateTimeFormat("hh:mm:ss");
  chart_->xAxis->setTicker(ticker);
  chart_->xAxis->setLabel("PC time");
  chart_->yAxis->setLabel("dB");
  chart_->yAxis->setRange(30, 130);
  for (std::size_t channel = 0; channel < graphs_.size(); ++channel) {
    graphs_[channel] = chart_->addGraph();
    graphs_[channel]->setPen(QPen(kChannelColours[channel], 1));
    // The series is already thinned to the chart's width; antialiasing its steep min/max
    // strokes would cost more than everything else in a redraw.
    graphs_[channel]->setAdaptiveSampling(false);
    graphs_[channel]->setAntialiased(false);
  }
  above_limit_ = chart_->addGraph();
  above_limit_->setLineStyle(QCPGraph::lsNone);
  above_limit_->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssSquare, Qt::red, Qt::red, 4));
  above_limit_->setAntialiasedScatters(false);
  above_limit_->removeFromLegend();
  chart_->legend->setVisible(true);
  chart_->axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignRight);
  connect(chart_, &QCustomPlot::afterLayout, this, &LevelHistoryWindow::StackMarkLabels);
  connect(chart_->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, [this] {
    if (!redrawing_) {
      chk_follow_->setChecked(false);
      Redraw();
    }
  });
  BuildControls();
  resize(1100, 760);
}

void LevelHistoryWindow::BuildControls() {
  combo_span_ = new QComboBox;
  combo_span_->setObjectName("ComboSpan");
  for (int minutes : kSpanMinutes) {
    combo_span_->addItem(QString("%1 min").arg(minutes), minutes);
  }
  combo_span_->setCurrentIndex(kDefaultSpanIndex);
  chk_follow_ = new QCheckBox("Follow newest");
  chk_follow_->setObjectName("ChkFollow");
  chk_follow_->setChecked(true);
  combo_track_ = new QComboBox;
  combo_track_->setObjectName("ComboTrack");
  for (const TrackMode& mode : kTrackModes) {
    if (!mode.cursors) {
      combo_track_->addItem(mode.entry);
    }
  }
  QSettings settings;
  chk_limit_ = new QCheckBox("Limit line");
  chk_limit_->setObjectName("ChkLimit");
  chk_limit_->setChecked(settings.value(kLimitOnKey, false).toBool());
  spin_limit_ = new QDoubleSpinBox;
  spin_limit_->setObjectName("SpinLimit");
  spin_limit_->setRange(0, 200);
  spin_limit_->setDecimals(1);
  spin_limit_->setSuffix(" dB");
  spin_limit_->setValue(settings.value(kLimitKey, kDefaultLimitDb).toDouble());
  auto* export_button = new QPushButton("Export");
  export_button->setObjectName("CmdExport");

  connect(combo_span_, &QComboBox::activated, this, [this] {
    chk_follow_->setChecked(true);
    Redraw();
  });
  connect(chk_follow_, &QCheckBox::toggled, this, [this] { Redraw(); });
  connect(combo_track_, &QComboBox::currentTextChanged, this, [this](const QString& entry) {
    for (const TrackMode& mode : kTrackModes) {
      if (entry == mode.entry) {
        ApplyTrackMode(*chart_, mode);
      }
    }
  });
  connect(chk_limit_, &QCheckBox::toggled, this, &LevelHistoryWindow::LimitChanged);
  connect(spin_limit_, &QDoubleSpinBox::valueChanged, this, &LevelHistoryWindow::LimitChanged);
  connect(export_button, &QPushButton::clicked, this, &LevelHistoryWindow::Export);

  auto* bar = new QHBoxLayout;
  bar->addWidget(new QLabel("Span"));
  for (QWidget* widget : std::initializer_list<QWidget*>{combo_span_, chk_follow_, combo_track_,
                                                         chk_limit_, spin_limit_, export_button}) {
    bar->addWidget(widget);
  }
  bar->addStretch();
  auto make_label = [](const char* name) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
  };
  lbl_visible_ = make_label("LblVisible");
  lbl_since_opening_ = make_label("LblSinceOpening");
  lbl_limit_ = make_label("LblLimit");
  auto* note = new QLabel(
      "Statistics of the 160 ms readings on the PC, of the quantity each channel shows: Leq and "
      "L_N (the level exceeded for N % of the time) only of a time-weighted sound level (Lp, such "
      "as LAF). The meter's own Leq remains the reference.");
  note->setWordWrap(true);
  auto* statistics = new QHBoxLayout;
  statistics->addWidget(lbl_visible_, 1);
  statistics->addWidget(lbl_since_opening_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  auto* chart_and_day = new QHBoxLayout;
  chart_and_day->addWidget(chart_, 3);
  chart_and_day->addWidget(BuildDayPanel(), 2);
  layout->addLayout(chart_and_day, 1);
  layout->addWidget(lbl_limit_);
  layout->addLayout(statistics);
  layout->addWidget(note);
  log_control_ = new HistoryLogControl(dialogs_);
  layout->addWidget(log_control_);
}

QWidget* LevelHistoryWindow::BuildDayPanel() {
  auto* panel = new QWidget;
  table_day_ = new QTableWidget(0, static_cast<int>(kDayTableColumns.size()));
  table_day_->setObjectName("TableDay");
  QStringList headers;
  for (const char* column : kDayTableColumns) {
    headers << column;
  }
  table_day_->setHorizontalHeaderLabels(headers);
  table_day_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_day_->verticalHeader()->setVisible(false);
  auto* export_day = new QPushButton("Export day");
  export_day->setObjectName("CmdExportDay");
  connect(export_day, &QPushButton::clicked, this, &LevelHistoryWindow::ExportDay);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(
      new QLabel("Today: hours, Lday, Levening, Lnight, Lden and the events above "
                 "the limit"));
  layout->addWidget(table_day_, 1);
  layout->addWidget(export_day, 0, Qt::AlignLeft);
  day_table_.SetLimit(chk_limit_->isChecked() ? std::optional(spin_limit_->value()) : std::nullopt);
  return panel;
}

void LevelHistoryWindow::FillDayTable() {
  const std::vector<DayTableRow> rows = day_table_.Rows();
  table_day_->setRowCount(static_cast<int>(rows.size()));
  for (std::size_t row = 0; row < rows.size(); ++row) {
    for (std::size_t column = 0; column < rows[row].size(); ++column) {
      const QString text = ToQString(rows[row][column]);
      QTableWidgetItem* item = table_day_->item(static_cast<int>(row), static_cast<int>(column));
      if (item == nullptr) {
        table_day_->setItem(static_cast<int>(row), static_cast<int>(column),
                            new QTableWidgetItem(text));
      } else if (item->text() != text) {
        item->setText(text);
      }
    }
  }
}

void LevelHistoryWindow::ExportDay() {
  const std::filesystem::path file = dialogs_.AskSaveFile("Export the day", "CSV files (*.csv)");
  if (file.empty()) {
    return;
  }
  if (const std::optional<std::string> failure = WriteFileAtomically(file, day_table_.CsvText())) {
    dialogs_.ShowCritical(*failure);
  }
}

void LevelHistoryWindow::Record(PollTime time, const LiveReading* reading, bool redraw) {
  log_control_->Record(time.wall_ms, reading);
  day_table_.Record(time, reading);
  visible_statistics_.BeforeAppend(history_);
  history_.Append(HistoryPollFromReading(time, reading));
  since_opening_.Add(history_);
  if (redraw) {
    Redraw();
  }
}

void LevelHistoryWindow::FollowNewest() {
  if (history_.Size() == 0) {
    return;
  }
  const double newest = static_cast<double>(history_.At(history_.Size() - 1).time_ms) / 1000;
  const double span = 60.0 * combo_span_->currentData().toInt();
  chart_->xAxis->setRange(newest - span, newest);
}

void LevelHistoryWindow::Redraw() {
  redrawing_ = true;
  if (chk_follow_->isChecked()) {
    FollowNewest();
  }
  const QCPRange visible = chart_->xAxis->range();
  const std::int64_t from_ms = Milliseconds(visible.lower);
  const std::int64_t to_ms = Milliseconds(visible.upper) + 1;
  const auto visible_statistics = visible_statistics_.Compute(history_, from_ms, to_ms);
  DrawSeries(from_ms, to_ms, visible_statistics);
  DrawMarks();
  ShowStatistics(from_ms, to_ms, visible_statistics);
  FillDayTable();
  chart_->replot();
  redrawing_ = false;
}

void LevelHistoryWindow::DrawSeries(std::int64_t from_ms, std::int64_t to_ms,
                                    const std::array<HistoryStatistics, 2>& visible) {
  const int columns = std::max(1, chart_->axisRect()->width());
  QVector<double> above_seconds;
  QVector<double> above_levels;
  const double limit = spin_limit_->value();
  for (std::size_t channel = 0; channel < graphs_.size(); ++channel) {
    const HistorySeries series =
        BuildHistorySeries(history_, static_cast<HistoryChannel>(channel),
                           visible[channel].quantity, from_ms, to_ms, columns);
    graphs_[channel]->setData(ToVector(series.seconds), ToVector(series.levels), true);
    if (visible[channel].quantity) {
      graphs_[channel]->setName(ToQString(visible[channel].quantity->label));
    }
    // Red are the readings above the limit of the quantity whose exceedances are counted.
    if (channel == 0 && chk_limit_->isChecked()) {
      for (std::size_t i = 0; i < series.levels.size(); ++i) {
        if (series.shown[i] && series.levels[i] > limit) {
          above_seconds.append(series.seconds[i]);
          above_levels.append(series.levels[i]);
        }
      }
    }
  }
  above_limit_->setData(above_seconds, above_levels, true);
}

// A dotted line where each segment begins, labelled with what changed there, and a grey band
// over each span without readings, labelled with why.
void LevelHistoryWindow::DrawMarks() {
  chart_->clearItems();
  mark_labels_.clear();
  if (chk_limit_->isChecked()) {
    auto* line = new QCPItemStraightLine(chart_);
    line->setPen(QPen(Qt::red, 1, Qt::DashLine));
    line->point1->setCoords(0, spin_limit_->value());
    line->point2->setCoords(1, spin_limit_->value());
  }
  const QCPRange visible = chart_->xAxis->range();
  for (const HistorySegment& segment : history_.Segments()) {
    const QString text = ToQString(SegmentLabel(segment));
    if (segment.first < history_.OldestNumber() || text.isEmpty()) {
      continue;
    }
    const double seconds = static_cast<double>(history_.Numbered(segment.first).time_ms) / 1000;
    if (!visible.contains(seconds)) {
      continue;
    }
    auto* line = new QCPItemStraightLine(chart_);
    line->setPen(QPen(Qt::darkGray, 1, Qt::DotLine));
    line->point1->setCoords(seconds, 0);
    line->point2->setCoords(seconds, 1);
    AddMarkLabel(text, seconds);
  }
  for (const HistoryGap& gap :
       FindHistoryGaps(history_, Milliseconds(visible.lower), Milliseconds(visible.upper) + 1)) {
    auto* band = new QCPItemRect(chart_);
    band->setPen(Qt::NoPen);
    band->setBrush(QColor(0, 0, 0, 24));
    band->topLeft->setTypeY(QCPItemPosition::ptAxisRectRatio);
    band->bottomRight->setTypeY(QCPItemPosition::ptAxisRectRatio);
    band->topLeft->setCoords(static_cast<double>(gap.from_ms) / 1000, 0);
    band->bottomRight->setCoords(static_cast<double>(gap.to_ms) / 1000, 1);
    AddMarkLabel(ToQString(GapLabel(gap)),
                 std::max(visible.lower, static_cast<double>(gap.from_ms) / 1000));
  }
}

void LevelHistoryWindow::AddMarkLabel(const QString& text, double seconds) {
  auto* label = new QCPItemText(chart_);
  label->setText(text);
  label->setPadding(QMargins(3, 2, 3, 2));
  label->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->position->setTypeY(QCPItemPosition::ptAbsolute);
  label->position->setCoords(seconds, 0);
  mark_labels_.push_back(label);
}

// Once the chart is laid out, the labels of the marks are stacked from the top down so that none
// covers another or the legend; one that finds no room in the upper half is left out. A label
// that would reach past the right edge stands left of its line.
void LevelHistoryWindow::StackMarkLabels() {
  const QRect area = chart_->axisRect()->rect();
  std::vector<QRectF> boxes;
  for (QCPItemText* label : mark_labels_) {
    const QRect text =
        QFontMetrics(label->font())
            .boundingRect(0, 0, 0, 0, Qt::TextDontClip | label->textAlignment(), label->text());
    const QMargins padding = label->padding();
    const double width = text.width() + padding.left() + padding.right();
    const double x = chart_->xAxis->coordToPixel(label->position->key());
    const bool left_of_line = x + width > area.right();
    label->setPositionAlignment((left_of_line ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
    boxes.emplace_back(left_of_line ? x - width : x, area.top(), width,
                       text.height() + padding.top() + padding.bottom());
  }
  const auto placed =
      StackBoxes({chart_->legend->outerRect()}, boxes, area.top() + area.height() / 2.0);
  for (std::size_t i = 0; i < mark_labels_.size(); ++i) {
    mark_labels_[i]->setVisible(placed[i].has_value());
    if (placed[i]) {
      mark_labels_[i]->position->setCoords(mark_labels_[i]->position->key(), placed[i]->top());
    }
  }
}

void LevelHistoryWindow::ShowStatistics(std::int64_t from_ms, std::int64_t to_ms,
                                        const std::array<HistoryStatistics, 2>& visible) {
  QString visible_text = "Visible span";
  QString since = "Since opening";
  for (std::size_t channel = 0; channel < graphs_.size(); ++channel) {
    visible_text += "\n" + ToQString(ChannelStatisticsText(visible[channel]));
    since += "\n" + ToQString(ChannelStatisticsText(
                        since_opening_.Current(static_cast<HistoryChannel>(channel))));
  }
  lbl_visible_->setText(visible_text);
  lbl_since_opening_->setText(since);
  const std::optional<ChannelQuantity>& main = visible[0].quantity;
  if (!chk_limit_->isChecked() || !main) {
    lbl_limit_->clear();
    return;
  }
  const LimitExceedances exceedances = FindLimitExceedances(history_, HistoryChannel::kMain, *main,
                                                            from_ms, to_ms, spin_limit_->value());
  const QString clock =
      exceedances.last_crossing_wall_ms ? ClockText(*exceedances.last_crossing_wall_ms) : QString();
  lbl_limit_->setText(
      ToQString(LimitText(main->label, spin_limit_->value(), exceedances, clock.toStdString())));
}

void LevelHistoryWindow::LimitChanged() {
  day_table_.SetLimit(chk_limit_->isChecked() ? std::optional(spin_limit_->value()) : std::nullopt);
  QSettings settings;
  settings.setValue(kLimitOnKey, chk_limit_->isChecked());
  settings.setValue(kLimitKey, spin_limit_->value());
  Redraw();
}

void LevelHistoryWindow::Export() {
  ExportGraph(dialogs_, *chart_, [this] {
    const QCPRange visible = chart_->xAxis->range();
    return HistoryCsvText(history_, Milliseconds(visible.lower), Milliseconds(visible.upper) + 1);
  });
}

}  // namespace halvane
