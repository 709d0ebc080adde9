#pragma once
// The bar graph window "BarGraph": one record of a record file as an octave band spectrum with
// the overall levels, a band cursor moved from the window's toolbar, and the statistics of both
// channels. Every redraw reads the record named by the record-number list again.

#include <QComboBox>
#include <QToolBar>
#include <QWidget>
#include <filesystem>

#include "records/record_file_reader.h"
#include "ui/canvas.h"
#include "ui/canvas_view.h"
#include "ui/text_editor_launcher.h"
#include "ui/user_dialogs.h"

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
  void Export();
  // Prints on a printer already set up; the toolbar is hidden while the page is drawn.
  void PrintOn(QPrinter& printer);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void MoveCursor(int step);

  PlotFile file_;
  QComboBox& combo_no_;
  UserDialogs& dialogs_;
  Canvas canvas_;
  QToolBar* toolbar_;
  CanvasView* view_;
  int band_cursor_ = 0;
};

}  // namespace halvane
