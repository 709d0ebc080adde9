#pragma once
// The cursor graph window "Plot": one item of a record file over all records as a line graph,
// with pan and zoom track modes, wheel zoom in every mode, two draggable cursors with what lies
// between them, axis limit boxes that follow the view, "Reset Scale", printing and export.

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QWidget>
#include <array>
#include <optional>
#include <vector>

#include "graphs/record_times.h"
#include "records/plot_selection.h"
#include "ui/user_dialogs.h"

class QCustomPlot;
class QCPItemTracer;
class QPrinter;
class QMouseEvent;
class QWheelEvent;

namespace halvane {

// What the item list hands to the cursor graph.
struct CursorGraphData {
  std::string ItemName;
  ItemColumn column;       // `ItemValues` and each record's date/time cell
  std::string start_time;  // the file's start date and time, which dates the records' times
  std::string file_name;   // for the title
  std::uint64_t RecordCount = 0;
  double RecordRangeTop = 0;
  double RecordRangeBottom = 0;
};

// The axis ranges a graph starts from and is reset to. The x axis spans the records the graph
// holds and the y axis the file's range; neither is ever empty or inverted.
struct GraphRanges {
  double x_min = 1;
  double x_max = 2;
  double GraphYMin = 0;
  double GraphYMax = 0;
};
GraphRanges StartRanges(const CursorGraphData& data);

class Plot : public QWidget {
  Q_OBJECT

 public:
  // Loads the window at the top left of the screen, on top of other windows, in "Normal"
  // mode, and plots the item.
  Plot(CursorGraphData graph_data, UserDialogs& dialogs, QWidget* parent = nullptr);

  QCustomPlot& CWGraph1() { return *graph_; }
  QCPItemTracer& Cursor(int number) { return *cursors_[number - 1]; }
  QDoubleSpinBox& AxisMin(int axis) { return *axis_min_[axis - 1]; }
  QDoubleSpinBox& AxisMax(int axis) { return *axis_max_[axis - 1]; }

  // Places cursor `number` (1 or 2) and reports its move as a drag would.
  void MoveCursor(int number, double x, double y);
  void ResetScale();
  void PrintGraph();
  // Prints on a printer already set up: the graph alone, on white.
  void PrintOn(QPrinter& printer);
  void Export();

 private:
  void BuildGraph();
  void BuildControls();
  QWidget* BuildInformation();
  void ChooseTrackMode(int index);
  void ApplyBoxes();
  void SetBoxes(double x_min, double x_max, double y_min, double y_max);
  void ShowTimes(bool shown);
  void ShowCursorReadouts();
  void ZoomAtWheel(QWheelEvent* event);
  void PressOnGraph(QMouseEvent* event);
  void DragOnGraph(QMouseEvent* event);

  CursorGraphData data_;
  UserDialogs& dialogs_;
  GraphRanges ranges_;
  std::vector<std::optional<double>> levels_;
  std::vector<RecordTime> times_;
  QCustomPlot* graph_;
  std::array<QCPItemTracer*, 2> cursors_{};
  int dragged_cursor_ = 0;
  QGroupBox* frm_graphic_;
  std::array<QDoubleSpinBox*, 2> axis_min_{};
  std::array<QDoubleSpinBox*, 2> axis_max_{};
  QComboBox* combo1_;
  QPlainTextEdit* txt_description_;
  QLabel* x_position_;
  QLabel* y_position_;
  QLabel* lbl_cursor2_;
  QLabel* lbl_between_;
  QLabel* lbl_time_;
  QLabel* lbl_span_;
  QCheckBox* chk_times_;
};

}  // namespace halvane
