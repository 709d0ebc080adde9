#pragma once
// The toolbar's "Plot" button and the three lists it fills: "Plot" reads a record file's header
// and offers "No.s" or "Item"; a record number opens the bar graph, an item the cursor graph.
// Tooltips and the main window's status line say what each choice draws.

#include <QObject>
#include <QPointer>
#include <optional>

#include "control/toolbar_commands.h"
#include "graphs/bar_form.h"
#include "graphs/plot_window.h"
#include "live/panel.h"

namespace halvane {

class PlotSelectionControls : public QObject {
  Q_OBJECT

 public:
  // The open-file dialog starts in `records_folder`, where downloads are kept.
  PlotSelectionControls(Panel& panel, ToolbarCommands& toolbar, UserDialogs& dialogs,
                        TextEditorLauncher& editor, std::filesystem::path records_folder);

  // The "Plot" branch: the open-file dialog, the header, and the three lists filled.
  void PlotFromFile();

  // The open graph windows; null when closed.
  BarForm* BarGraph() const { return bar_form_; }
  Plot* CursorGraph() const { return plot_; }
  bool CursorGraphOpen() const { return !plot_.isNull(); }

 private:
  void ChooseNoItem(const QString& entry);
  void ChooseNo(const QString& entry);
  // The list or the number box, as `ComboNo` is shown or hidden.
  void ShowRecordChoice(bool shown);
  void ChooseItem(int position);

  Panel& panel_;
  const PanelLists& lists_;
  std::filesystem::path records_folder_;
  UserDialogs& dialogs_;
  TextEditorLauncher& editor_;
  std::optional<PlotFile> file_;
  std::uint64_t held_records_ = 0;  // the record lines of the file, up to its stated count
  QPointer<BarForm> bar_form_;
  QPointer<Plot> plot_;
};

}  // namespace halvane
