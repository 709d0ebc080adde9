// Saves pictures of the graph windows: the bar graph of a record in each band mode, and the
// cursor graph of an item with its two cursors and their span after a zoom.
// Usage: halvane_graph_screenshots DIR

#include <qcustomplot.h>

#include <QApplication>
#include <QDir>
#include <cmath>
#include <fstream>

#include "graphs/bar_form.h"
#include "graphs/plot_window.h"
#include "tests/graphs/record_files.h"
#include "text/number_text.h"
#include "tools/save_window.h"

namespace {

using halvane::tools::Save;

class NoEditor : public halvane::TextEditorLauncher {
 public:
  bool Open(const std::filesystem::path&) override { return true; }
};

// A spectrum that rises to the middle bands and falls again; the levels drift from record to
// record, and every 13th record has no level.
std::string Level(std::size_t record, std::size_t column) {
  if (record % 13 == 0) {
    return "---.-";
  }
  const double level = 70 + 20 * std::sin(static_cast<double>(column) / 9.0) +
                       8 * std::sin(static_cast<double>(record) / 7.0);
  return halvane::FixedPointText(level, 1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: halvane_graph_screenshots DIR\n", stderr);
    return 2;
  }
  QApplication application(argc, argv);
  const QDir folder(argv[1]);
  folder.mkpath(".");
  halvane::QtUserDialogs dialogs(nullptr);
  NoEditor editor;
  QWidget main_window;
  QComboBox combo_no;
  combo_no.addItem("5");

  const std::pair<halvane::RecordMode, const char*> modes[] = {
      {halvane::RecordMode::Octave, "bar-octave"},
      {halvane::RecordMode::ThirdOctave, "bar-third-octave"},
      {halvane::RecordMode::OctaveAndThirdOctave, "bar-both"}};
  for (const auto& [mode, name] : modes) {
    const std::filesystem::path path = folder.filePath(QString(name) + ".txt").toStdString();
    std::ofstream(path, std::ios::binary) << halvane::test::RecordFile(mode, 200, 200, Level);
    std::ifstream in(path, std::ios::binary);
    halvane::BarForm form({path, *halvane::RecordFileReader(in).Header()}, combo_no, dialogs,
                          editor, main_window);
    form.show();
    form.findChild<QAction*>("RightC")->trigger();
    form.findChild<QAction*>("RightC")->trigger();
    Save(form, folder, name);
    std::filesystem::remove(path);
  }

  halvane::CursorGraphData data;
  data.ItemName = "Leq(Main)";
  data.file_name = "record-001-20130809-235958.txt";
  data.start_time = "2013/08/09 23:59:58";
  std::istringstream file(halvane::test::RecordFile(halvane::RecordMode::Slm, 200, 200, Level));
  data.column = halvane::ReadItemColumn(file, 4, 200);
  data.RecordCount = 200;
  data.RecordRangeTop = 130;
  data.RecordRangeBottom = 40;
  halvane::Plot plot(data, dialogs);
  plot.show();
  Save(plot, folder, "plot");
  plot.AxisMin(1).setValue(20);
  plot.AxisMax(1).setValue(120);
  plot.AxisMin(2).setValue(50);
  plot.AxisMax(2).setValue(100);
  plot.findChild<QComboBox*>("Combo1")->setCurrentText("Cursor Coordinates");
  plot.MoveCursor(1, 40, 75);
  plot.MoveCursor(2, 95, 60);
  Save(plot, folder, "plot-zoom-cursors");
  plot.findChild<QCheckBox*>("ChkTimes")->setChecked(true);
  Save(plot, folder, "plot-date-time-axis");
  return 0;
}
