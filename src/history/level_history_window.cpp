#include "history/level_history_window.h"

#include <qcustomplot.h>

#include <QDateTime>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>
#include <cmath>

#include "graphs/graph_output.h"
#include "graphs/track_modes.h"
#include "history/history_csv.h"
#include "history/history_series.h"
#include "history/level_history_text.h"
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

QString ClockText(std::int64_t pc_time_ms) {
  return QDateTime::fromMSecsSinceEpoch(pc_time_ms).toString("hh:mm:ss.zzz");
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
  auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
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
      "Statistics of the 160 ms readings on the PC; the meter's own Leq remains the reference.");
  auto* statistics = new QHBoxLayout;
  statistics->addWidget(lbl_visible_, 1);
  statistics->addWidget(lbl_since_opening_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(chart_, 1);
  layout->addWidget(lbl_limit_);
  layout->addLayout(statistics);
  layout->addWidget(note);
  log_control_ = new HistoryLogControl(dialogs_);
  layout->addWidget(log_control_);
}

void LevelHistoryWindow::Record(std::int64_t pc_time_ms, const LiveReading* reading, bool redraw) {
  log_control_->Record(pc_time_ms, reading);
  visible_statistics_.BeforeAppend(history_);
  history_.Append(HistoryPollFromReading(pc_time_ms, reading));
  const HistorySample& newest = history_.At(history_.Size() - 1);
  since_opening_[0].Add(newest, HistoryChannel::kMain);
  since_opening_[1].Add(newest, HistoryChannel::kSub);
  if (redraw) {
    Redraw();
  }
}

void LevelHistoryWindow::FollowNewest() {
  if (history_.Size() == 0) {
    return;
  }
  const double newest = static_cast<double>(history_.At(history_.Size() - 1).pc_time_ms) / 1000;
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
  DrawSeries(from_ms, to_ms);
  DrawMarks();
  ShowStatistics(from_ms, to_ms);
  chart_->replot();
  redrawing_ = false;
}

void LevelHistoryWindow::DrawSeries(std::int64_t from_ms, std::int64_t to_ms) {
  const int columns = std::max(1, chart_->axisRect()->width());
  QVector<double> above_seconds;
  QVector<double> above_levels;
  const double limit = spin_limit_->value();
  for (std::size_t channel = 0; channel < graphs_.size(); ++channel) {
    const HistorySeries series =
        BuildHistorySeries(history_, static_cast<HistoryChannel>(channel), from_ms, to_ms, columns);
    graphs_[channel]->setData(ToVector(series.seconds), ToVector(series.levels), true);
    if (channel == 0 && chk_limit_->isChecked()) {
      for (std::size_t i = 0; i < series.levels.size(); ++i) {
        if (series.levels[i] > limit) {
          above_seconds.append(series.seconds[i]);
          above_levels.append(series.levels[i]);
        }
      }
    }
  }
  above_limit_->setData(above_seconds, above_levels, true);
}

void LevelHistoryWindow::DrawMarks() {
  chart_->clearItems();
  if (chk_limit_->isChecked()) {
    auto* line = new QCPItemStraightLine(chart_);
    line->setPen(QPen(Qt::red, 1, Qt::DashLine));
    line->point1->setCoords(0, spin_limit_->value());
    line->point2->setCoords(1, spin_limit_->value());
  }
  const QCPRange visible = chart_->xAxis->range();
  for (const HistoryMark& mark : history_.Marks()) {
    const double seconds = static_cast<double>(mark.pc_time_ms) / 1000;
    if (!visible.contains(seconds)) {
      continue;
    }
    auto* line = new QCPItemStraightLine(chart_);
    line->setPen(QPen(Qt::darkGray, 1, Qt::DotLine));
    line->point1->setCoords(seconds, 0);
    line->point2->setCoords(seconds, 1);
    auto* label = new QCPItemText(chart_);
    label->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
    label->position->setCoords(seconds, 0);
    label->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setText(ToQString(mark.quantity.main_label + " / " + mark.quantity.sub_label));
    label->setPadding(QMargins(3, 2, 3, 2));
  }
  if (const HistoryMark* latest = history_.Marks().empty() ? nullptr : &history_.Marks().back()) {
    graphs_[0]->setName(ToQString(latest->quantity.main_label));
    graphs_[1]->setName(ToQString(latest->quantity.sub_label));
  }
}

void LevelHistoryWindow::ShowStatistics(std::int64_t from_ms, std::int64_t to_ms) {
  QString visible = "Visible span\n";
  QString since = "Since opening\n";
  const auto statistics = visible_statistics_.Compute(history_, from_ms, to_ms);
  for (std::size_t channel = 0; channel < graphs_.size(); ++channel) {
    const std::string label = graphs_[channel]->name().toStdString();
    visible += ToQString(ChannelStatisticsText(label, statistics[channel])) + "\n";
    since += ToQString(ChannelStatisticsText(label, since_opening_[channel].Current())) + "\n";
  }
  lbl_visible_->setText(visible.trimmed());
  lbl_since_opening_->setText(since.trimmed());
  if (!chk_limit_->isChecked()) {
    lbl_limit_->clear();
    return;
  }
  const LimitExceedances exceedances =
      FindLimitExceedances(history_, HistoryChannel::kMain, from_ms, to_ms, spin_limit_->value());
  const QString clock =
      exceedances.last_crossing_ms ? ClockText(*exceedances.last_crossing_ms) : QString();
  lbl_limit_->setText(ToQString(graphs_[0]->name().toStdString() + " " +
                                LimitText(spin_limit_->value(), exceedances, clock.toStdString())));
}

void LevelHistoryWindow::LimitChanged() {
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
