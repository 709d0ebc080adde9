#pragma once
// The bar graph window "BarGraph": one record of a record file as an octave band spectrum with
// the overall levels, a band cursor moved from the window's toolbar, by a click on a bar or by
// the arrow keys, and the statistics of both channels. Every redraw reads the record named by
// the record-number list again. A line above the chart names the record, its time and the
// file, a legend below it the bars; the toolbar steps to the previous or next record.

#include <QComboBox>
#include <QLabel>
#include <QToolBar>
#include <QWidget>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "records/record_file_reader.h"
#include "ui/canvas.h"
#include "ui/canvas_view.h"
#include "ui/text_editor_launcher.h"
#include "ui/user_dialogs.h"

class QPainter;

namespace halvane {

// The record file a graph is drawn from: its path and its header values.
struct PlotFile {
  std::filesystem::path RecordFileName;
  RecordFileInfo info;
};

class BarForm : public QWidget {
  Q_OBJECT

 public:
  // Opens beside `main_window`, centred over it at its top, with the band cursor on the first
  // band, and opens the record file in the text editor.
  BarForm(PlotFile file, QComboBox& combo_no, UserDialogs& dialogs, TextEditorLauncher& editor,
          QWidget& main_window);

  int BandCursor() const { return band_cursor_; }
  const Canvas& DrawingCanvas() const { return canvas_; }
  QToolBar& Toolbar1() { return *toolbar_; }

  // Draws the frame and the record chosen in the record-number list of `file`, then hides the
  // list; a record the file does not hold leaves the frame alone and the list shown.
  void ShowRecord(PlotFile file);
  void Redraw();

  void Print();
  // Exports the chart with its title line as a PNG or PDF picture, or its band levels as CSV.
  void Export();
  // Prints on a printer already set up: the title line and the chart, as vector graphics
  // filling the page; the toolbar is hidden meanwhile.
  void PrintOn(QPrinter& printer);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void MoveCursor(int step);
  void StepRecord(int step);
  void ShowTitle(std::uint64_t record);
  // The title line over the chart in `area` of any paint device.
  void PaintWithTitle(QPainter& painter, const QRectF& area);

  PlotFile file_;
  QComboBox& combo_no_;
  UserDialogs& dialogs_;
  Canvas canvas_;
  QToolBar* toolbar_;
  QLabel* lbl_title_;
  CanvasView* view_;
  QLabel* lbl_legend_;
  int band_cursor_ = 0;
  std::optional<std::vector<std::string>> fields_;  // of the record drawn last
  std::uint64_t titled_record_ = 0;
  std::string record_time_;  // of the record in the title
};

}  // namespace halvane
