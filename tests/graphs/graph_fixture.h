#pragma once
// The main window with the "Plot" button's lists, the live poll off; record files are opened
// through the button as a user would.

#include <QImage>
#include <QProcess>
#include <fstream>

#include "graphs/plot_selection_controls.h"
#include "tests/graphs/record_files.h"
#include "tests/gui/panel_fixture.h"

namespace halvane::test {

// What a tool of poppler-utils writes to standard output.
inline QString ToolOutput(const QString& tool, const QStringList& arguments) {
  QProcess process;
  process.start(tool, arguments);
  process.waitForFinished();
  return QString::fromUtf8(process.readAllStandardOutput());
}

// The first page of a PDF rendered at `dpi`, as a viewer shows it.
inline QImage RenderedPdf(const std::filesystem::path& pdf, int dpi) {
  const QString page = QString::fromStdString(pdf.string()) + "-page";
  ToolOutput("pdftoppm", {"-r", QString::number(dpi), "-png", "-singlefile",
                          QString::fromStdString(pdf.string()), page});
  return QImage(page + ".png");
}

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

  PlotSelectionControls plot{panel, controls.Toolbar(), dialogs, editor, folder / "records"};
};

}  // namespace halvane::test
