// The "Plot" button's lists and the bar graph window they open: the record shown, the band
// cursor, the minimum size, the pixels, printing and export.

#include <QAction>
#include <QImage>
#include <QTest>

#include "graphs/bar_form.h"
#include "tests/graphs/graph_fixture.h"
#include "tests/live/display_list.h"
#include "ui/canvas_view.h"

namespace halvane {
namespace {

using test::FileText;
using testing::ExpectTexts;

// Record r, level column c reads 40.5 + 10 r + c dB: the tests run under a comma-decimal
// locale, where a reader that heeds it drops the half.
std::string Level(std::size_t record, std::size_t column) {
  return std::to_string(40 + 10 * record + column) + ".5";
}

class BarFormTest : public test::GraphFixture {
 protected:
  BarForm& OpenRecord(const QString& number) {
    Choose(Lists().ComboNoItem, "No.s");
    Choose(Lists().ComboNo, number);
    return *plot.BarGraph();
  }
  void Press(BarForm& form, const char* key) { form.findChild<QAction*>(key)->trigger(); }
};

TEST_F(BarFormTest, PlotFillsTheListsFromTheHeaderAndTheFileItHolds) {
  dialogs.open_path.clear();
  controls.Toolbar().Click("Plot");
  EXPECT_TRUE(Lists().ComboNoItem->isHidden());
  EXPECT_EQ(dialogs.filters, std::vector<std::string>{"Data Files (*.txt);;All Files (*)"});

  OpenRecordFile(test::RecordFile(RecordMode::OctaveAndThirdOctave, 3, 3));
  EXPECT_EQ(Lists().ComboItem->count(), 10 + 33 + 11 + 10 + 1);
  EXPECT_EQ(Lists().ComboItem->currentText(), "Exit");
  EXPECT_EQ(Lists().ComboNo->count(), 4);
  EXPECT_EQ(Lists().ComboNo->itemText(3), "3");
  EXPECT_EQ(Lists().ComboNoItem->count(), 3);
  EXPECT_FALSE(Lists().ComboNoItem->isHidden());
  // The dialog starts where downloads are kept; the lists and the status line say what each
  // choice draws.
  EXPECT_EQ(dialogs.open_folders.back(), folder / "records");
  const int no_s = Lists().ComboNoItem->findText("No.s");
  EXPECT_TRUE(Lists().ComboNoItem->itemData(no_s, Qt::ToolTipRole).toString().contains("spectrum"));
  EXPECT_TRUE(
      panel.statusBar()->currentMessage().startsWith("record.txt: 1/1 & 1/3 OCTAVE, 3 "
                                                     "records from 2013/08/09 23:59:58."));

  Choose(Lists().ComboNoItem, "Item");
  EXPECT_FALSE(Lists().ComboItem->isHidden());
  EXPECT_TRUE(Lists().ComboNo->isHidden());
  EXPECT_TRUE(Lists().ComboNoItem->isHidden());
  Choose(Lists().ComboNoItem, "No.s");
  EXPECT_FALSE(Lists().ComboNo->isHidden());
  EXPECT_TRUE(Lists().ComboItem->isHidden());
  Choose(Lists().ComboNo, "Exit");
  EXPECT_TRUE(Lists().ComboNo->isHidden());

  // A hand-edited count offers only the records the file holds; SLM has no record graph.
  OpenRecordFile(test::RecordFile(RecordMode::Slm, 99999999999, 2));
  EXPECT_EQ(Lists().ComboNo->count(), 3);
  EXPECT_EQ(Lists().ComboNoItem->itemText(1), "Item");
  EXPECT_TRUE(Lists().SpinNo->isHidden());

  // A file that is not a record file says so and leaves the lists alone.
  Choose(Lists().ComboNoItem, "Exit");
  const auto path = OpenRecordFile("Hello\r\n");
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Not a record file: " + path.string()});
  EXPECT_TRUE(Lists().ComboNoItem->isHidden());
  EXPECT_EQ(Lists().ComboNo->count(), 3);

  // Past a thousand records, the list keeps a thousand and a number box offers every one.
  OpenRecordFile(test::RecordFile(RecordMode::Octave, 99999999999, kListedRecordNumbers + 1));
  EXPECT_EQ(Lists().ComboNo->count(), static_cast<int>(kListedRecordNumbers) + 1);
  Choose(Lists().ComboNoItem, "No.s");
  ASSERT_FALSE(Lists().SpinNo->isHidden());
  EXPECT_EQ(Lists().SpinNo->maximum(), static_cast<int>(kListedRecordNumbers) + 1);
  Lists().SpinNo->setValue(Lists().SpinNo->maximum());
  EXPECT_EQ(Lists().ComboNo->currentText(), "1001");
  EXPECT_TRUE(Lists().ComboNo->isHidden()) << "the bar graph found the record";
  EXPECT_TRUE(Lists().SpinNo->isHidden());
}

TEST_F(BarFormTest, ShowsTheChosenRecordAndMovesItsCursorWithWrapAround) {
  const auto path = OpenRecordFile(test::RecordFile(RecordMode::Octave, 3, 3, Level));
  BarForm& form = OpenRecord("2");
  EXPECT_EQ(form.windowTitle(), "BarGraph");
  EXPECT_EQ(editor.opened, std::vector<std::filesystem::path>{path});
  EXPECT_TRUE(Lists().ComboNo->isHidden());
  ExpectTexts(form.DrawingCanvas(),
              {{{30, 10}, "1/1 OCTAVE    16 Hz   71.5 dB"}, {{30, 105}, "Main LAF      61.5 dB"}});
  EXPECT_EQ(form.findChild<QLabel*>("LblTitle")->text(),
            "Record 2   2013-08-10T00:00:00   record.txt");

  Press(form, "LeftC");
  EXPECT_EQ(form.BandCursor(), 10);
  ExpectTexts(form.DrawingCanvas(), {{{30, 10}, "1/1 OCTAVE   16k Hz   81.5 dB"}});
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
  ExpectTexts(form.DrawingCanvas(), {{{30, 10}, "1/1 OCTAVE    63 Hz   83.5 dB"}});
  EXPECT_EQ(editor.opened.size(), 1U);
  Press(form, "NextRecord");
  EXPECT_EQ(Lists().ComboNo->currentText(), "3") << "the last record";
  Press(form, "PrevRecord");
  ExpectTexts(form.DrawingCanvas(), {{{30, 10}, "1/1 OCTAVE    63 Hz   73.5 dB"}});
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
  OpenRecordFile(test::RecordFile(RecordMode::Octave, 1, 1, Level));
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
  EXPECT_EQ(pixel(image, 0, 50, 80), QColor(0, 0, 255));
  EXPECT_EQ(pixel(image, 0, 50, 40), QColor(Qt::white));

  // Printed as text and lines over the whole width of a landscape page.
  dialogs.print_path = folder / "bar.pdf";
  Press(form, "Print");
  EXPECT_FALSE(form.Toolbar1().isHidden());
  const QString text =
      test::ToolOutput("pdftotext", {QString::fromStdString(dialogs.print_path.string()), "-"});
  EXPECT_TRUE(text.contains("Record 1") && text.contains("1/1 OCTAVE")) << text.toStdString();
  const QImage paper = test::RenderedPdf(dialogs.print_path, 30);
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
  const std::vector<std::string> rows = test::TextLines(FileText(folder / "bar.csv"));
  ASSERT_EQ(rows.size(), 12U);
  EXPECT_EQ(rows[0], "Record,Date Time,Band [Hz],Bandwidth,Level [dB]\r");
  EXPECT_EQ(rows[11], "1,2013-08-09T23:59:59,16k,1/1 octave,71.5\r");

  dialogs.save_path = folder / "missing-folder" / "bar.png";
  Press(form, "Export");
  EXPECT_EQ(dialogs.messages.size(), 1U);
}

}  // namespace
}  // namespace halvane
