// The cursor graph an item opens: what it plots, the track modes as the graph's state, the axis
// boxes and "Reset Scale", the cursors with their readout and span statistics, the date/time
// axis, printing, the exports read back, and the reopen on a new item.

#include <qcustomplot.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "graphs/record_time_ticker.h"
#include "tests/graphs/graph_fixture.h"

namespace halvane::test {
namespace {

// LP(Sub) of a 1/3 OCTAVE file (column 44) reads 50.5, 60.5, ---.-, 70.5, 40.5 over records 1
// to 5: the tests run under a comma-decimal locale, where a reader that heeds it reads 50.
std::string SubLevels(std::size_t record, std::size_t column) {
  const char* levels[] = {"50.5", "60.5", "---.-", "70.5", "40.5"};
  return column == 44 ? levels[record - 1] : "55.5";
}

class CursorGraphTest : public GraphFixture {
 protected:
  Plot& OpenItem(const std::string& file, const QString& item) {
    OpenRecordFile(file);
    Choose(Lists().ComboNoItem, "Item");
    Choose(Lists().ComboItem, item);
    return *plot.CursorGraph();
  }
  static void ExpectRanges(Plot& graph, QCPRange x, QCPRange y) {
    EXPECT_EQ(graph.CWGraph1().xAxis->range(), x);
    EXPECT_EQ(graph.CWGraph1().yAxis->range(), y);
  }
  static std::vector<double> Boxes(Plot& graph) {
    return {graph.AxisMin(1).value(), graph.AxisMax(1).value(), graph.AxisMin(2).value(),
            graph.AxisMax(2).value()};
  }
};

TEST_F(CursorGraphTest, PlotsTheItemOnTopWithTheBoxesAndAxesOfTheFile) {
  Plot& graph = OpenItem(RecordFile(RecordMode::ThirdOctave, 5, 5, SubLevels), "LP(Sub)");
  EXPECT_TRUE(plot.CursorGraphOpen());
  EXPECT_TRUE(Lists().ComboItem->isHidden());
  EXPECT_EQ(editor.opened.size(), 1U);
  EXPECT_TRUE(graph.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(graph.findChild<QLabel*>("Label4")->text(), "LP(Sub)dB");
  const QSharedPointer<QCPGraphDataContainer> data = graph.CWGraph1().graph(0)->data();
  ASSERT_EQ(data->size(), 5);
  EXPECT_EQ(data->at(0)->value, 50.5);
  EXPECT_EQ(data->at(3)->key, 4);
  EXPECT_TRUE(std::isnan(data->at(2)->value));  // a gap, not a drop to 0
  EXPECT_EQ(Boxes(graph), (std::vector<double>{1, 5, 40, 130}));
  ExpectRanges(graph, {1, 5}, {40, 130});
  EXPECT_EQ(qobject_cast<QCPTextElement*>(graph.CWGraph1().plotLayout()->element(0, 0))->text(),
            "LP(Sub) of record.txt: records 1 to 5, 2013-08-09T23:59:59 to "
            "2013-08-10T00:00:03");

  // The boxes follow the view, as far as their limits go; changing one box re-applies both
  // axes from all four boxes.
  graph.CWGraph1().xAxis->setRange(-5, 20);
  graph.CWGraph1().yAxis->setRange(50, 60);
  EXPECT_EQ(Boxes(graph), (std::vector<double>{1, 5, 50, 60}));
  graph.AxisMax(2).setValue(100);
  ExpectRanges(graph, {1, 5}, {50, 100});
  graph.AxisMax(1).setValue(99);  // beyond the records: held to them
  EXPECT_EQ(graph.AxisMax(1).value(), 5);

  graph.CWGraph1().xAxis->setRange(2, 3);
  graph.findChild<QPushButton*>("CmdReset")->click();
  EXPECT_EQ(Boxes(graph), (std::vector<double>{1, 5, 40, 130}));
  ExpectRanges(graph, {1, 5}, {40, 130});

  // The wheel zooms about the mouse in "Normal" too; with Ctrl the x axis alone.
  QCustomPlot& cw = graph.CWGraph1();
  graph.resize(1000, 600);
  cw.replot();
  const QPointF at(cw.xAxis->coordToPixel(2), cw.yAxis->coordToPixel(70));
  for (const Qt::KeyboardModifiers modifiers : {Qt::NoModifier, Qt::ControlModifier}) {
    QWheelEvent wheel(at, cw.mapToGlobal(at), {}, {0, 120}, Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&cw, &wheel);
  }
  EXPECT_NEAR(cw.xAxis->pixelToCoord(at.x()), 2, 1e-6);
  EXPECT_NEAR(cw.xAxis->range().size(), 4 * 0.85 * 0.85, 1e-9);
  EXPECT_NEAR(cw.yAxis->range().size(), 90 * 0.85, 1e-9);
  EXPECT_NEAR(graph.AxisMax(2).value(), cw.yAxis->range().upper, 0.05);
}

// Each entry of the track list in turn, and back to the first: the axes dragged, the axes a
// selected rectangle zooms, the cursors shown and the description, written out.
TEST_F(CursorGraphTest, EachTrackModeSetsTheGraphsDragZoomAndCursors) {
  Plot& graph = OpenItem(RecordFile(RecordMode::Slm, 5, 5), "Leq(Main)");
  QCustomPlot& cw = graph.CWGraph1();
  auto* combo1 = graph.findChild<QComboBox*>("Combo1");
  std::string modes;
  for (int entry = combo1->currentIndex(), step = 0; step <= combo1->count(); ++step) {
    combo1->setCurrentIndex((entry + step) % combo1->count());
    const auto axes = [&](QCPAxis* x, QCPAxis* y) {
      return std::string(x == cw.xAxis ? "x" : "") + (y == cw.yAxis ? "y" : "");
    };
    QCPAxisRect& rect = *cw.axisRect();
    modes += combo1->currentText().toStdString() + ": drag " +
             axes(rect.rangeDrag() & Qt::Horizontal ? cw.xAxis : nullptr,
                  rect.rangeDrag() & Qt::Vertical ? cw.yAxis : nullptr) +
             (cw.interactions().testFlag(QCP::iRangeDrag) ? " on" : " off") + ", zoom " +
             (cw.selectionRectMode() == QCP::srmZoom
                  ? axes(rect.rangeZoomAxis(Qt::Horizontal), rect.rangeZoomAxis(Qt::Vertical))
                  : "none") +
             ", cursors " +
             (graph.Cursor(1).visible() && graph.Cursor(2).visible() ? "shown" : "hidden") +
             "\n  " +
             graph.findChild<QPlainTextEdit*>("txtDescription")->toPlainText().toStdString() + "\n";
  }
  ExpectDataFile(modes, "graphs/track_modes.txt");
}

TEST_F(CursorGraphTest, CursorsReadOutAndMeasureTheSpanBetweenThem) {
  Plot& graph = OpenItem(RecordFile(RecordMode::ThirdOctave, 5, 5, SubLevels), "LP(Sub)");
  graph.resize(1000, 600);
  graph.show();
  // Zoomed to records 2 to 4 and 50 to 70 dB: cursor 1 starts in the middle of that.
  graph.CWGraph1().xAxis->setRange(2, 4);
  graph.CWGraph1().yAxis->setRange(50, 70);
  graph.findChild<QComboBox*>("Combo1")->setCurrentText("Cursor Coordinates");
  EXPECT_EQ(graph.Cursor(1).position->coords(), QPointF(3, 60));
  EXPECT_EQ(graph.findChild<QLabel*>("XPosition")->text(), "3");
  EXPECT_EQ(graph.findChild<QLabel*>("YPosition")->text(), "60.0");

  // Dragging with the mouse takes the nearer cursor.
  QCustomPlot& cw = graph.CWGraph1();
  cw.replot();
  const QPoint at(static_cast<int>(cw.xAxis->coordToPixel(2)),
                  static_cast<int>(cw.yAxis->coordToPixel(55)));
  QTest::mousePress(&cw, Qt::LeftButton, {}, at);
  QTest::mouseRelease(&cw, Qt::LeftButton, {}, at);
  EXPECT_EQ(graph.Cursor(1).position->coords().x(), 2);
  EXPECT_NEAR(graph.findChild<QLabel*>("YPosition")->text().toDouble(), 55, 0.1);

  graph.MoveCursor(1, 1, 60);
  graph.MoveCursor(2, 5.2, 62.5);
  graph.findChild<QCheckBox*>("ChkTimes")->setChecked(true);
  EXPECT_EQ(graph.findChild<QLabel*>("LblCursor2")->text(), "No.s 5   dB 62.5");
  // Four records on, across midnight.
  EXPECT_EQ(graph.findChild<QLabel*>("LblBetween")->text(), "2 - 1: 4 records, 0:00:04, +2.5 dB");
  EXPECT_EQ(graph.findChild<QLabel*>("LblTime")->text(), "Time : 2013-08-09T23:59:59");
  EXPECT_EQ(graph.findChild<QLabel*>("LblSpan")->text().toStdString(),
            "Records 5 (1 without a level)\nLeq 64.9  Lmax 70.5  Lmin 40.5\n"
            "L10 70.5  L50 50.5  L90 40.5");
  graph.findChild<QComboBox*>("Combo1")->setCurrentText("PanX");
  EXPECT_TRUE(graph.findChild<QLabel*>("LblSpan")->text().isEmpty());
}

// The height of the tallest block of pixel rows with ink left of the graph's y axis, where its
// tick labels and its label stand: a text drawn at another size changes it.
int TextHeightLeftOfAxis(const QImage& image, const QRect& axis_rect) {
  int tallest = 0;
  int run = 0;
  for (int y = axis_rect.top(); y <= std::min(axis_rect.bottom(), image.height() - 1); ++y) {
    bool ink = false;
    for (int x = 0; x < axis_rect.left() - 8 && !ink; ++x) {
      ink = qGray(image.pixel(x, y)) < 128;
    }
    run = ink ? run + 1 : 0;
    tallest = std::max(tallest, run);
  }
  return tallest;
}

TEST_F(CursorGraphTest, PrintsAndExportsWhatReadsBack) {
  Plot& graph = OpenItem(RecordFile(RecordMode::ThirdOctave, 5, 5, SubLevels), "LP(Sub)");
  graph.resize(1000, 600);
  dialogs.print_path = folder / "plot.pdf";
  graph.findChild<QPushButton*>("CmdPrint")->click();
  EXPECT_EQ(FileText(dialogs.print_path).substr(0, 5), "%PDF-");
  EXPECT_FALSE(graph.findChild<QGroupBox*>("FrmGraphic")->isHidden());

  // Dated records, the second one past midnight.
  dialogs.save_path = folder / "plot.csv";
  graph.Export();
  ExpectDataFile(FileText(dialogs.save_path), "graphs/item_export.csv");

  // The PDF, rendered back, has its texts at the size the PNG has them.
  dialogs.save_path = folder / "plot.png";
  graph.Export();
  const QImage png(QString::fromStdString(dialogs.save_path.string()));
  EXPECT_EQ(png.size(), graph.CWGraph1().size());
  dialogs.save_path = folder / "plot.pdf";
  graph.Export();
  const QImage pdf = RenderedPdf(dialogs.save_path, png.logicalDpiX());
  ASSERT_NEAR(pdf.height(), png.height(), 1);
  const QRect axis_rect = graph.CWGraph1().axisRect()->rect();
  const int png_height = TextHeightLeftOfAxis(png, axis_rect);
  EXPECT_GT(png_height, 5);
  EXPECT_NEAR(TextHeightLeftOfAxis(pdf, axis_rect), png_height, 2);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(CursorGraphTest, OddFilesGiveSoundAxesAndANewItemReopensTheWindow) {
  // Stated counts of none and of more than the file holds, and an empty range.
  for (const auto& [stated, held, range_top, x, y] :
       {std::tuple<std::uint64_t, std::size_t, const char*, QCPRange, QCPRange>{
            0, 3, "130", {1, 2}, {40, 130}},
        {UINT64_MAX / 2, 3, "130", {1, 3}, {40, 130}},
        {3, 3, "40", {1, 3}, {40, 50}},
        {1, 1, "30", {1, 2}, {40, 50}}}) {
    Plot& graph =
        OpenItem(RecordFile(RecordMode::Slm, stated, held, WhereText, range_top), "LP(Main)");
    ExpectRanges(graph, x, y);
    // A file that holds fewer records than its header states says so.
    auto* short_file = graph.findChild<QLabel*>("LblShortFile");
    EXPECT_EQ(short_file != nullptr, stated > held);
    if (short_file != nullptr) {
      EXPECT_TRUE(short_file->text().startsWith("This file holds 3 of the 92233720"));
    }
  }

  Plot& first = OpenItem(RecordFile(RecordMode::Slm, 3, 3), "LP(Main)");
  QPointer<Plot> first_window(&first);
  first.findChild<QComboBox*>("Combo1")->setCurrentText("ZoomX");
  EXPECT_TRUE(first.findChild<QCheckBox*>("ChkTimes")->isEnabled());
  first.findChild<QCheckBox*>("ChkTimes")->setChecked(true);
  EXPECT_FALSE(first.CWGraph1().xAxis->ticker().dynamicCast<RecordTimeTicker>().isNull());

  Choose(Lists().ComboItem, "Leq(Sub)");
  DeleteClosedWindows();
  EXPECT_TRUE(first_window.isNull());
  EXPECT_EQ(plot.CursorGraph()->findChild<QComboBox*>("Combo1")->currentText(), "Normal");
  plot.CursorGraph()->close();
  DeleteClosedWindows();
  EXPECT_FALSE(plot.CursorGraphOpen());
}

}  // namespace
}  // namespace halvane::test
