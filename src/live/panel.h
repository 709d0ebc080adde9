#pragma once
// The main window: mirrors the meter's display every 160 ms and carries the toolbar and the
// settings lists through which the meter is driven.

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <filesystem>

#include "link/usb.h"
#include "live/live_reply.h"
#include "live/panel_lists.h"
#include "live/temp_file_claim.h"
#include "ui/canvas.h"
#include "ui/canvas_view.h"

namespace halvane {

class Panel : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kPollIntervalMs = 160;

  // Start-up: prepares the temporary record file in `temp_folder`, builds and fills every
  // list, and enables the poll timer as its last step.
  Panel(USB& usb, const std::filesystem::path& temp_folder, QWidget* parent = nullptr);
  // The link may outlive the window: its searches stop writing to the name label.
  ~Panel() override;

  QTimer& Timer1() { return timer1_; }
  const LiveReading& Reading() const { return reading_; }
  const Canvas& DrawingCanvas() const { return canvas_; }
  CanvasView& DrawingArea() { return *view_; }
  const PanelLists& Lists() const { return lists_; }
  QToolBar& Toolbar1() { return *toolbar_; }
  const std::filesystem::path& TempFilePath() const { return temp_file_.Path(); }
  // True while any of the recording images ImaRec, ImaStop, ImaPause is shown.
  bool RecordingImageShown() const;

  // The size the window opens at on a screen whose free area is `available`: large enough that
  // every screen's texts stay in their boxes, or the whole free area where that is smaller.
  QSize OpeningSize(const QRect& available) const;

  // One poll: ask the meter for its display, decode the reply, mirror it and redraw.
  void PollMeter();

  // Shows `note` on the status line under the drawing area for a while: a file just saved,
  // what a choice will draw.
  void ShowNote(const QString& note);

 signals:
  // After each poll: its decoded reading, or null when the meter did not answer.
  void Polled(const halvane::LiveReading* reading);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateToolbar();
  void CreateStatusImages();
  void CreateStatusLine();
  void ShowConnectionHint();
  void MirrorMeterState();
  void PlaceListsUnderButtons();
  void ToggleCaption();

  USB& usb_;
  TempFileClaim temp_file_;
  Canvas canvas_;
  CanvasView* view_;
  QToolBar* toolbar_;
  QLabel* lbl_name_;
  QStatusBar* status_line_;
  QLabel* lbl_hint_;
  PanelLists lists_;
  QLabel* ima_rec_;
  QLabel* ima_pause_;
  QLabel* ima_stop_;
  QLabel* ima_usb_;
  QTimer timer1_;
  LiveReading reading_;
};

}  // namespace halvane
