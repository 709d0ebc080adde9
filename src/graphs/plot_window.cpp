#include "graphs/plot_window.h"

#include <qcustomplot.h>

#include <QGridLayout>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

#include "graphs/cursor_readout.h"
#include "graphs/graph_output.h"
#include "graphs/item_csv.h"
#include "graphs/record_time_ticker.h"
#include "graphs/record_times.h"
#include "graphs/span_statistics.h"
#include "graphs/track_modes.h"
#include "text/number_text.h"
#include "ui/qt_text.h"

namespace halvane {

namespace {

constexpr int kCursorCoordinates = 1;
// Levels beyond this cannot come from a meter; a hand-edited range is held within it.
constexpr double kLevelLimit = 1e6;

QLabel* Label(const QString& caption, const char* name = nullptr) {
  auto* label = new QLabel(caption);
  if (name != nullptr) {
    label->setObjectName(name);
  }
  return label;
}

QDoubleSpinBox* NumericBox(const QString& name, int decimals) {
  auto* box = new QDoubleSpinBox;
  box->setObjectName(name);
  box->setDecimals(decimals);
  box->setKeyboardTracking(false);
  return box;
}

QPushButton* Button(const char* name, const char* caption) {
  auto* button = new QPushButton(caption);
  button->setObjectName(name);
  return button;
}

}  // namespace

GraphRanges StartRanges(const CursorGraphData& data) {
  GraphRanges ranges;
  ranges.x_max = std::max(2.0, static_cast<double>(data.column.values.size()));
  double bottom = data.RecordRangeBottom;
  double top = data.RecordRangeTop;
  if (!std::isfinite(bottom)) {
    bottom = 0;
  }
  bottom = std::clamp(bottom, -kLevelLimit, kLevelLimit);
  top = std::isfinite(top) ? std::min(top, kLevelLimit + 10) : bottom;
  ranges.GraphYMin = bottom;
  ranges.GraphYMax = top > bottom ? top : bottom + 10;
  return ranges;
}

Plot::Plot(CursorGraphData graph_data, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint),
      data_(std::move(graph_data)),
      dialogs_(dialogs),
      ranges_(StartRanges(data_)),
      times_(RecordDateTimes(data_.start_time, data_.column.date_times)),
      graph_(new QCustomPlot) {
  setObjectName("Plot");
  setWindowTitle("Plot");
  setAttribute(Qt::WA_DeleteOnClose);
  move(0, 0);
  BuildGraph();
  BuildControls();

  QVector<double> records;
  QVector<double> values;
  records.reserve(static_cast<qsizetype>(data_.column.values.size()));
  values.reserve(records.capacity());
  levels_.reserve(data_.column.values.size());
  for (const std::string& text : data_.column.values) {
    levels_.push_back(ReadWholeNumber(text));
    records.push_back(static_cast<double>(records.size() + 1));
    // A value that is not a number leaves a gap in the line.
    values.push_back(levels_.back().value_or(std::numeric_limits<double>::quiet_NaN()));
  }
  graph_->addGraph();
  graph_->graph(0)->setData(records, values, true);
  graph_->graph(0)->setPen(QPen(QColor(0, 0, 192)));

  ResetScale();
}

void Plot::BuildGraph() {
  graph_->setObjectName("CWGraph1");
  graph_->setMinimumSize(400, 300);
  // A pan over many thousand records stays smooth when its frames skip antialiasing.
  graph_->setNoAntialiasingOnDrag(true);
  graph_->xAxis->setLabel("No.s");
  graph_->yAxis->setLabel("dB");
  const QColor cursor_colours[] = {Qt::red, QColor(0, 128, 0)};
  for (std::size_t number = 0; number < cursors_.size(); ++number) {
    cursors_[number] = new QCPItemTracer(graph_);
    cursors_[number]->setStyle(QCPItemTracer::tsCrosshair);
    cursors_[number]->setPen(QPen(cursor_colours[number], 1, Qt::DashLine));
    cursors_[number]->setVisible(false);
  }
  connect(graph_, &QCustomPlot::mousePress, this, &Plot::PressOnGraph);
  connect(graph_, &QCustomPlot::mouseMove, this, &Plot::DragOnGraph);
  connect(graph_, &QCustomPlot::mouseRelease, this, [this] { dragged_cursor_ = 0; });
  connect(graph_, &QCustomPlot::mouseWheel, this, &Plot::ZoomAtWheel);
  // The boxes follow the view however it moved: a pan, a zoom, the wheel.
  const auto follow = [this] {
    const QCPRange x = graph_->xAxis->range();
    const QCPRange y = graph_->yAxis->range();
    SetBoxes(x.lower, x.upper, y.lower, y.upper);
  };
  connect(graph_->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, follow);
  connect(graph_->yAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, follow);

  graph_->plotLayout()->insertRow(0);
  auto* title =
      new QCPTextElement(graph_, ToQString(GraphTitle(data_.ItemName, data_.file_name, times_)),
                         QFont(font().family(), font().pointSize() + 1, QFont::Bold));
  title->setObjectName("Title");
  graph_->plotLayout()->addElement(0, 0, title);
}

void Plot::BuildControls() {
  frm_graphic_ = new QGroupBox("Graphic Plot");
  frm_graphic_->setObjectName("FrmGraphic");
  auto* boxes = new QGridLayout;
  boxes->addWidget(Label("Min"), 0, 1);
  boxes->addWidget(Label("Max"), 0, 2);
  boxes->addWidget(Label("No.s"), 1, 0);
  boxes->addWidget(Label(ToQString(data_.ItemName) + "dB", "Label4"), 2, 0);
  const double y_min = ranges_.GraphYMin;
  const double y_max = ranges_.GraphYMax;
  for (int axis = 1; axis <= 2; ++axis) {
    QDoubleSpinBox* min = NumericBox("AxisMin" + QString::number(axis), axis == 1 ? 0 : 1);
    QDoubleSpinBox* max = NumericBox("AxisMax" + QString::number(axis), axis == 1 ? 0 : 1);
    // The boxes keep to the records held and to the file's range.
    min->setRange(axis == 1 ? ranges_.x_min : y_min, axis == 1 ? ranges_.x_max : y_max);
    max->setRange(axis == 1 ? ranges_.x_min : y_min, axis == 1 ? ranges_.x_max : y_max);
    connect(min, &QDoubleSpinBox::valueChanged, this, &Plot::ApplyBoxes);
    connect(max, &QDoubleSpinBox::valueChanged, this, &Plot::ApplyBoxes);
    boxes->addWidget(min, axis, 1);
    boxes->addWidget(max, axis, 2);
    axis_min_[axis - 1] = min;
    axis_max_[axis - 1] = max;
  }

  auto* track = new QGroupBox("Track Mode");
  combo1_ = new QComboBox;
  combo1_->setObjectName("Combo1");
  for (const TrackMode& mode : kTrackModes) {
    combo1_->addItem(mode.entry);
  }
  txt_description_ = new QPlainTextEdit;
  txt_description_->setObjectName("txtDescription");
  txt_description_->setReadOnly(true);
  txt_description_->setMaximumHeight(70);
  auto* track_layout = new QVBoxLayout(track);
  track_layout->addWidget(combo1_);
  track_layout->addWidget(txt_description_);

  chk_times_ = new QCheckBox("Date/time axis");
  chk_times_->setObjectName("ChkTimes");
  chk_times_->setEnabled(RecordTimeTicker::HasTimes(data_.column.date_times));
  connect(chk_times_, &QCheckBox::toggled, this, &Plot::ShowTimes);
  QWidget* information = BuildInformation();
  QPushButton* reset = Button("CmdReset", "Reset Scale");
  QPushButton* print = Button("CmdPrint", "Print Graph");
  QPushButton* save = Button("CmdExport", "Export");
  connect(reset, &QPushButton::clicked, this, &Plot::ResetScale);
  connect(print, &QPushButton::clicked, this, &Plot::PrintGraph);
  connect(save, &QPushButton::clicked, this, &Plot::Export);

  auto* frame_layout = new QVBoxLayout(frm_graphic_);
  frame_layout->addLayout(boxes);
  for (QWidget* widget :
       std::initializer_list<QWidget*>{track, information, chk_times_, reset, print, save}) {
    frame_layout->addWidget(widget);
  }
  frame_layout->addStretch();
  auto* graph_column = new QVBoxLayout;
  const std::size_t held = data_.column.values.size();
  if (held < data_.RecordCount) {
    auto* short_file = Label(QString("This file holds %1 of the %2 records its header states; "
                                     "the graph shows those it holds.")
                                 .arg(held)
                                 .arg(data_.RecordCount),
                             "LblShortFile");
    short_file->setStyleSheet("color: #a00000");
    graph_column->addWidget(short_file);
  }
  graph_column->addWidget(graph_, 1);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(graph_column, 1);
  layout->addWidget(frm_graphic_);
  resize(1200, 660);

  connect(combo1_, &QComboBox::currentIndexChanged, this, &Plot::ChooseTrackMode);
  ChooseTrackMode(combo1_->currentIndex());
}

// Cursor 1's readout as described, then cursor 2, the distance between them, cursor 1's time
// with the date/time axis on, and the statistics of the records between them.
QWidget* Plot::BuildInformation() {
  auto* information = new QGroupBox("Cursor Information");
  x_position_ = Label("", "XPosition");
  y_position_ = Label("", "YPosition");
  lbl_cursor2_ = Label("", "LblCursor2");
  lbl_between_ = Label("", "LblBetween");
  lbl_time_ = Label("", "LblTime");
  lbl_span_ = Label("", "LblSpan");
  // Room for the lines from the start, so the frame does not jump when they come.
  for (QLabel* label : {lbl_cursor2_, lbl_between_, lbl_time_}) {
    label->setMinimumHeight(label->fontMetrics().lineSpacing());
  }
  lbl_span_->setMinimumHeight(3 * lbl_span_->fontMetrics().lineSpacing());
  auto* layout = new QGridLayout(information);
  layout->addWidget(Label("No.s ( X ) :"), 0, 0);
  layout->addWidget(x_position_, 0, 1);
  layout->addWidget(Label("dB ( Y ) :"), 1, 0);
  layout->addWidget(y_position_, 1, 1);
  layout->addWidget(Label("Cursor 2 :"), 2, 0);
  layout->addWidget(lbl_cursor2_, 2, 1);
  layout->addWidget(lbl_between_, 3, 0, 1, 2);
  layout->addWidget(lbl_time_, 4, 0, 1, 2);
  layout->addWidget(lbl_span_, 5, 0, 1, 2);
  return information;
}

void Plot::ChooseTrackMode(int index) {
  if (index < 0 || index >= static_cast<int>(kTrackModes.size())) {
    return;
  }
  const TrackMode& mode = kTrackModes[static_cast<std::size_t>(index)];
  ApplyTrackMode(*graph_, mode);
  txt_description_->setPlainText(mode.description);
  for (QCPItemTracer* cursor : cursors_) {
    cursor->setVisible(mode.cursors);
  }
  if (mode.cursors) {
    // Cursor 1 in the middle of the axes as they are now; cursor 2 three quarters across.
    const QCPRange x = graph_->xAxis->range();
    const QCPRange y = graph_->yAxis->range();
    MoveCursor(2, x.lower + 0.75 * x.size(), y.center());
    MoveCursor(1, x.center(), y.center());
  }
  ShowCursorReadouts();
  graph_->replot();
}

void Plot::MoveCursor(int number, double x, double y) {
  // Cursors stand on whole records.
  const double record = std::round(x);
  cursors_[static_cast<std::size_t>(number - 1)]->position->setCoords(record, y);
  if (number == 1) {
    x_position_->setText(QString::number(record));
    y_position_->setText(QString::number(y, 'f', 1));
  }
  ShowCursorReadouts();
  graph_->replot();
}

void Plot::ShowCursorReadouts() {
  if (!cursors_[0]->visible()) {
    for (QLabel* label : {lbl_cursor2_, lbl_between_, lbl_time_, lbl_span_}) {
      label->clear();
    }
    return;
  }
  const auto at = [this](int number) {
    const QPointF coords = cursors_[static_cast<std::size_t>(number - 1)]->position->coords();
    return CursorAt{coords.x(), coords.y()};
  };
  lbl_cursor2_->setText(ToQString(SecondCursorText(at(2))));
  lbl_between_->setText(ToQString(BetweenCursorsText(at(1), at(2), times_)));
  const auto record = static_cast<std::size_t>(std::max(1.0, at(1).record));
  lbl_time_->setText(chk_times_->isChecked() && record <= times_.size()
                         ? "Time : " + ToQString(times_[record - 1].text)
                         : QString());
  lbl_span_->setText(ToQString(SpanStatisticsText(ComputeSpanStatistics(
      levels_, static_cast<std::int64_t>(at(1).record), static_cast<std::int64_t>(at(2).record),
      EnergyMeanApplies(data_.ItemName)))));
}

// The wheel zooms about the mouse in every track mode: with Ctrl the x axis alone, with Shift
// the y axis alone.
void Plot::ZoomAtWheel(QWheelEvent* event) {
  const double factor = std::pow(0.85, event->angleDelta().y() / 120.0);
  const QPointF at = event->position();
  if (!event->modifiers().testFlag(Qt::ShiftModifier)) {
    graph_->xAxis->scaleRange(factor, graph_->xAxis->pixelToCoord(at.x()));
  }
  if (!event->modifiers().testFlag(Qt::ControlModifier)) {
    graph_->yAxis->scaleRange(factor, graph_->yAxis->pixelToCoord(at.y()));
  }
  graph_->replot();
}

void Plot::PressOnGraph(QMouseEvent* event) {
  if (combo1_->currentIndex() != kCursorCoordinates || event->button() != Qt::LeftButton) {
    return;
  }
  // The press takes the cursor nearest to it across the graph.
  const double x = event->position().x();
  const auto distance = [this, x](int number) {
    return std::abs(cursors_[static_cast<std::size_t>(number - 1)]->position->pixelPosition().x() -
                    x);
  };
  dragged_cursor_ = distance(1) <= distance(2) ? 1 : 2;
  DragOnGraph(event);
}

void Plot::DragOnGraph(QMouseEvent* event) {
  if (dragged_cursor_ == 0) {
    return;
  }
  const QPointF at = event->position();
  MoveCursor(dragged_cursor_, graph_->xAxis->pixelToCoord(at.x()),
             graph_->yAxis->pixelToCoord(at.y()));
}

// All four values are read first: each axis set makes the boxes follow it.
void Plot::ApplyBoxes() {
  const QCPRange x(axis_min_[0]->value(), axis_max_[0]->value());
  const QCPRange y(axis_min_[1]->value(), axis_max_[1]->value());
  graph_->xAxis->setRange(x);
  graph_->yAxis->setRange(y);
  graph_->replot();
}

void Plot::SetBoxes(double x_min, double x_max, double y_min, double y_max) {
  const std::array<std::pair<QDoubleSpinBox*, double>, 4> values{
      {{axis_max_[0], x_max}, {axis_min_[0], x_min}, {axis_max_[1], y_max}, {axis_min_[1], y_min}}};
  for (const auto& [box, value] : values) {
    const QSignalBlocker blocker(box);
    box->setValue(value);
  }
}

void Plot::ResetScale() {
  graph_->xAxis->setRange(ranges_.x_min, ranges_.x_max);
  graph_->yAxis->setRange(ranges_.GraphYMin, ranges_.GraphYMax);
  SetBoxes(ranges_.x_min, ranges_.x_max, ranges_.GraphYMin, ranges_.GraphYMax);
  graph_->replot();
}

void Plot::ShowTimes(bool shown) {
  if (shown) {
    graph_->xAxis->setTicker(QSharedPointer<RecordTimeTicker>::create(data_.column.date_times));
    graph_->xAxis->setLabel("Date Time");
  } else {
    graph_->xAxis->setTicker(QSharedPointer<QCPAxisTicker>::create());
    graph_->xAxis->setLabel("No.s");
  }
  ShowCursorReadouts();
  graph_->replot();
}

void Plot::PrintGraph() {
  QPrinter printer;
  if (dialogs_.SetUpPrinter(printer)) {
    PrintOn(printer);
  }
}

void Plot::PrintOn(QPrinter& printer) {
  const QPalette palette_before = palette();
  const bool fill_before = autoFillBackground();
  QPalette white = palette_before;
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  setAutoFillBackground(true);
  PrintWindowImage(*this, *frm_graphic_, printer);
  setPalette(palette_before);
  setAutoFillBackground(fill_before);
}

void Plot::Export() {
  ExportGraph(dialogs_, *graph_,
              [this] { return ItemCsvText(data_.ItemName, data_.column.values, times_); });
}

}  // namespace halvane
