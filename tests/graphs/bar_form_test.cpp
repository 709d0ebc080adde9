// The "Plot" button's lists and the bar graph window they open: the record shown, the band
// cursor, the minimum size, the pixels, printing and export.

#include <QAction>
#include <QImage>
#include <QTest>

#include "graphs/bar_form.h"
#include "tests/graphs/graph_fixture.h"
#include "tests/live/display_list.h"
#include "ui/canvas_view.h"

namespace halvane::test {
namespace {

// Record r, level column c reads 40.5 + 10 r + c dB: the tests run under a comma-decimal
// locale, where a reader that heeds it drops the half.
std::string Level(std::size_t record, std::size_t column) {
  return std::to_string(40 + 10 * record + column) + ".5";
}

class BarFormTest : public GraphFixture {
 protected:
  BarForm& OpenRecord(const QString& number) {
    Choose(Lists().ComboNoItem, "No.s");
    Choose(Lists().ComboNo, number);
    return *plot.BarGraph();
  }
  void Press(BarForm& form, const char* key) { form.findChild<QAction*>(key)->trigger(); }
  static void ExpectShows(BarForm& form, std::string_view text) {
    EXPECT_EQ(TextCount(form.DrawingCanvas(), text), 1U) << text;
  }
};

// The "Plot" button's lists filled from the header and the records the file holds, step by
// step: a hand-edited count offers only those, SLM has no record graph, and a file that is not a
// record file says so and leaves the lists alone.
TEST_F(BarFormTest, PlotFillsTheListsFromTheHeaderAndTheFileItHolds) {
  const auto note_lists = [this] {
    for (const QComboBox* list : {Lists().ComboNoItem, Lists().ComboNo, Lists().ComboItem}) {
      std::string entries = list->objectName().toStdString() + ":";
      for (int entry = 0; entry < list->count() && entry < 5; ++entry) {
        entries += ' ';
        entries += list->itemText(entry).toStdString();
      }
      Note(entries + (list->count() > 5 ? " ... " + std::to_string(list->count()) : ""));
    }
    Note(Lists().SpinNo->isHidden() ? "SpinNo hidden"
                                    : "SpinNo up to " + std::to_string(Lists().SpinNo->maximum()));
  };
  Step("Plot, the file dialog cancelled", [&] { Click("Plot"); });
  Note(dialogs.filters.front());
  Step("Plot, a 1/1 & 1/3 file of 3 records",
       [&] { OpenRecordFile(RecordFile(RecordMode::OctaveAndThirdOctave, 3, 3)); });
  note_lists();
  // The dialog starts where downloads are kept; the lists and the status line say what each
  // choice draws.
  Note("opened in " + dialogs.open_folders.back().string());
  Note("No.s: " + Lists()
                      .ComboNoItem->itemData(Lists().ComboNoItem->findText("No.s"), Qt::ToolTipRole)
                      .toString()
                      .toStdString());
  Note("status: " + panel.statusBar()->currentMessage().toStdString());
  Step("choose ComboNoItem Item");
  Step("choose ComboNoItem No.s");
  Step("choose ComboNo Exit");
  Step("Plot, an SLM file stating 99999999999 records and holding 2",
       [&] { OpenRecordFile(RecordFile(RecordMode::Slm, 99999999999, 2)); });
  note_lists();
  Step("choose ComboNoItem Exit");
  Step("Plot, a file that is not a record file", [&] { OpenRecordFile("Hello\r\n"); });
  note_lists();
  Step("Plot, a 1/1 file stating 99999999999 records and holding 1001", [&] {
    OpenRecordFile(RecordFile(RecordMode::Octave, 99999999999, kListedRecordNumbers + 1));
  });
  Step("choose ComboNoItem No.s");
  note_lists();
  Step("SpinNo at its highest", [&] { Lists().SpinNo->setValue(Lists().SpinNo->maximum()); });
  Note("ComboNo at " + Lists().ComboNo->currentText().toStdString());
  note_lists();
  ExpectDataFile(transcript, "graphs/plot_lists.txt");
}

TEST_F(BarFormTest, ShowsTheChosenRecordAndMovesItsCursorWithWrapAround) {
  const auto path = OpenRecordFile(RecordFile(RecordMode::Octave, 3, 3, Level));
  BarForm& form = OpenRecord("2");
  EXPECT_EQ(form.windowTitle(), "BarGraph");
  EXPECT_EQ(editor.opened, std::vector<std::filesystem::path>{path});
  EXPECT_TRUE(Lists().ComboNo->isHidden());
  ExpectShows(form, "1/1 OCTAVE    16 Hz   71.5 dB");
  ExpectShows(form, "Main LAF      61.5 dB");
  EXPECT_EQ(form.findChild<QLabel*>("LblTitle")->text(),
            "Record 2   2013-08-10T00:00:00   record.txt");

  Press(form, "LeftC");
  EXPECT_EQ(form.BandCursor(), 10);
  ExpectShows(form, "1/1 OCTAVE   16k Hz   81.5 dB");
  Press(form, "RightC");
  Press(form, "RightC");
  EXPECT_EQ(form.BandCursor(), 1);
  // A click on a bar and the arrow keys move it too.
  auto* view = form.findChild<CanvasView*>();
  QTest::mouseClick(view, Qt::LeftButton, {}, view->ToPixels({175, 60}));
  EXPECT_EQ(form.BandCursor(), 3);
  QTest::keyClick(&form, Qt::Key_Left);
  EXPECT_EQ(form.BandCursor(), 2);

  // Another record in the same window, the cursor where it was; then the previous one.
  BarForm& again = OpenRecord("3");
  EXPECT_EQ(&again, &form);
  ExpectShows(form, "1/1 OCTAVE    63 Hz   83.5 dB");
  EXPECT_EQ(editor.opened.size(), 1U);
  Press(form, "NextRecord");
  EXPECT_EQ(Lists().ComboNo->currentText(), "3") << "the last record";
  Press(form, "PrevRecord");
  ExpectShows(form, "1/1 OCTAVE    63 Hz   73.5 dB");
  EXPECT_TRUE(form.findChild<QLabel*>("LblTitle")->text().startsWith("Record 2 "));

  form.resize(100, 100);
  EXPECT_GE(form.width(), 753);
  EXPECT_GE(form.height(), 591);

  form.close();
  DeleteClosedWindows();
  EXPECT_EQ(plot.BarGraph(), nullptr);
}

// The longest run of dark pixels along a row: the chart's baseline, across the page.
int LongestDarkRun(const QImage& image) {
  int longest = 0;
  for (int y = 0; y < image.height(); ++y) {
    int run = 0;
    for (int x = 0; x < image.width(); ++x) {
      run = qGray(image.pixel(x, y)) < 128 ? run + 1 : 0;
      longest = std::max(longest, run);
    }
  }
  return longest;
}

TEST_F(BarFormTest, PaintsBarsPrintsAsVectorsAndExportsPicturesAndBandLevels) {
  OpenRecordFile(RecordFile(RecordMode::Octave, 1, 1, Level));
  BarForm& form = OpenRecord("1");
  form.resize(1120, 700);
  auto* view = form.findChild<CanvasView*>();
  QImage image(view->size(), QImage::Format_RGB32);
  view->render(&image);
  const auto pixel = [](const QImage& picture, int top, double x, double y) {
    return picture.pixelColor(static_cast<int>(x * picture.width() / 560),
                              top + static_cast<int>(y * (picture.height() - top) / 160));
  };
  // The 16 Hz bar (61.5 dB) fills slot 0 up to y = 90 - 70 * 21.5 / 90, about 73.
  EXPECT_NE(DisplayListText(form.DrawingCanvas()).find("box 40 73.2778 70 90 #0000FF\n"),
            std::string::npos);
  EXPECT_EQ(pixel(image, 0, 50, 80), QColor(0, 0, 255));
  EXPECT_EQ(pixel(image, 0, 50, 40), QColor(Qt::white));

  // Printed as text and lines over the whole width of a landscape page.
  dialogs.print_path = folder / "bar.pdf";
  Press(form, "Print");
  EXPECT_FALSE(form.Toolbar1().isHidden());
  const QString text =
      ToolOutput("pdftotext", {QString::fromStdString(dialogs.print_path.string()), "-"});
  EXPECT_TRUE(text.contains("Record 1") && text.contains("1/1 OCTAVE")) << text.toStdString();
  const QImage paper = RenderedPdf(dialogs.print_path, 30);
  EXPECT_GT(paper.width(), paper.height());
  EXPECT_GT(LongestDarkRun(paper), paper.width() * 8 / 10);

  // The pictures carry the title line above the chart.
  for (const char* name : {"bar.png", "bar.pdf", "bar.csv"}) {
    dialogs.save_path = folder / name;
    std::filesystem::remove(dialogs.save_path);
    Press(form, "Export");
  }
  const QImage exported(QString::fromStdString((folder / "bar.png").string()));
  EXPECT_EQ(exported.width(), view->width());
  const int title = exported.height() - view->height();
  EXPECT_GT(title, 10);
  EXPECT_EQ(pixel(exported, title, 50, 80), QColor(0, 0, 255));
  EXPECT_EQ(FileText(folder / "bar.pdf").substr(0, 5), "%PDF-");
  ExpectDataFile(FileText(folder / "bar.csv"), "graphs/band_levels.csv");

  dialogs.save_path = folder / "missing-folder" / "bar.png";
  Press(form, "Export");
  EXPECT_EQ(dialogs.shown.size(), 1U);
}

}  // namespace
}  // namespace halvane::test
