#pragma once
// The main window with the "Plot" button's lists, the live poll off; record files are opened
// through the button as a user would.

#include <fstream>

#include "graphs/plot_selection_controls.h"
#include "tests/graphs/record_files.h"
#include "tests/gui/panel_fixture.h"

namespace halvane::test {

class GraphFixture : public PanelFixture {
 protected:
  GraphFixture() { panel.Timer1().stop(); }

  // Writes the record file and opens it with the toolbar's "Plot" button.
  std::filesystem::path OpenRecordFile(const std::string& text) {
    const std::filesystem::path path = folder / "record.txt";
    std::ofstream(path, std::ios::binary) << text;
    dialogs.open_path = path;
    Click("Plot");
    return path;
  }

  PlotSelectionControls plot{panel, panel.Lists(), controls.Toolbar(), dialogs, editor};
};

}  // namespace halvane::test
