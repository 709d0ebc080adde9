// Every screen family painted at the main window's opening size, on the 1920 x 1080 screen the
// window tests run on: no text's ink leaves the box it is written on, the header or footer strip
// it stands in, or the drawing area. At the minimum size the same check finds spills.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <sstream>

#include "tests/gui/panel_fixture.h"
#include "tests/live/display_list.h"
#include "ui/canvas_view.h"

namespace halvane::test {
namespace {

constexpr int kInkMargin = 16;  // pixels left of and above its top-left point that a text may ink

// The widest texts a screen can show: five-digit levels, every flag, a tag with a descender.
Reply WidestReply(std::uint8_t display_mode, unsigned bar_level) {
  Reply reply;
  reply.Set(1, 0b1101'1000).Set(2, 0b0000'0100).Set(4, display_mode).Set(5, 4).Set(12, 88);
  reply.Set(6, 0x26).Set(9, 0x23).Set(14, 0x23).Set(18, 130).Set(19, 0x10).Set(21, 3).Set(22, 20);
  for (std::size_t high = 23; high + 1 < reply.bytes.size(); high += 2) {
    reply.SetLevel(high, 1234);
  }
  return reply.SetLevel(45, bar_level);  // above the range shows "OV", below it "UN"
}

QRectF PixelRect(Point corner1, Point corner2, QSizeF area) {
  const auto map = [&](Point p) {
    return QPointF(p.x * area.width() / kPanelWidthUnits, p.y * area.height() / kPanelHeightUnits);
  };
  return QRectF(map(corner1), map(corner2)).normalized();
}

// The pixels that `text` alone inks at least half, painted on a small image around its top-left
// point with the mapping of the whole area.
QRect InkOf(const TextItem& text, QSize area) {
  const QPoint origin =
      PixelRect(text.at, text.at, area).topLeft().toPoint() - QPoint(kInkMargin, kInkMargin);
  const double em = text.font.size_pt * 2;
  QImage image(static_cast<int>(em * static_cast<double>(text.text.size() + 2)),
               static_cast<int>(em * 2), QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  CanvasPainter().Paint(painter, {text}, kPanelWidthUnits, kPanelHeightUnits,
                        QRectF(-QPointF(origin), QSizeF(area)));
  painter.end();
  QRect ink;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(line[x]) >= 128) {
        ink |= QRect(x, y, 1, 1);
      }
    }
  }
  return ink.translated(origin);
}

// A text's room: the last box drawn before it under its top-left point, else the header or
// footer strip, else the whole drawing area.
QRectF RoomOf(const Canvas& canvas, std::size_t text_index, QSizeF area) {
  const Point at = std::get<TextItem>(canvas.Items()[text_index]).at;
  for (std::size_t i = text_index; i-- > 0;) {
    const auto* box = std::get_if<BoxItem>(&canvas.Items()[i]);
    if (box &&
        PixelRect(box->corner1, box->corner2, area).contains(PixelRect(at, at, area).topLeft())) {
      return PixelRect(box->corner1, box->corner2, area);
    }
  }
  if (at.y >= 5 && at.y < 12) {
    return PixelRect({0, 5}, {kPanelWidthUnits, 12}, area);
  }
  return PixelRect({0, at.y >= 117 ? 117.0 : 0.0}, {kPanelWidthUnits, kPanelHeightUnits}, area);
}

// The texts whose ink leaves their room by more than the half pixel a filled box may round to.
std::string SpillsOf(const Reply& reply, QSize area) {
  Canvas canvas(kPanelWidthUnits, kPanelHeightUnits);
  CanvasView view(canvas);
  view.resize(area);
  canvas.SetTextMeasure(view.MakeTextMeasure());
  DrawLiveScreen(canvas, reply.Decode());
  std::ostringstream spills;
  for (std::size_t i = 0; i < canvas.Items().size(); ++i) {
    if (const auto* text = std::get_if<TextItem>(&canvas.Items()[i])) {
      const QRectF room = RoomOf(canvas, i, area).adjusted(-0.5, -0.5, 0.5, 0.5);
      if (!room.contains(QRectF(InkOf(*text, area)))) {
        spills << '"' << text->text << "\" at " << text->at.x << ", " << text->at.y << "\n";
      }
    }
  }
  return spills.str();
}

using LegibilityTest = PanelFixture;

TEST_F(LegibilityTest, EveryFamilyFitsItsBoxesAtTheOpeningSizeAndSpillsAtTheMinimum) {
  panel.Timer1().stop();  // the screens are drawn from replies made up here
  panel.show();
  QApplication::processEvents();
  const QSize area = panel.DrawingArea().size();
  for (const auto& [mode, bar_level] : {std::pair<std::uint8_t, unsigned>{0, 1400},
                                        {0, 100},
                                        {1, 1234},
                                        {2, 1234},
                                        {3, 1234},
                                        {4, 1234},
                                        {5, 1234},
                                        {6, 1234}}) {
    EXPECT_EQ(SpillsOf(WidestReply(mode, bar_level), area), "")
        << "mode " << int{mode} << " at " << area.width() << " x " << area.height();
  }

  const QSize small_screen = panel.OpeningSize(QRect(0, 0, 1366, 768));
  EXPECT_LE(small_screen.height() + 40, 768) << "a smaller screen keeps the title bar on it";
  panel.resize(1, 1);  // the window keeps its minimum size, 907 x 631
  QApplication::processEvents();
  const std::string spills = SpillsOf(WidestReply(0, 1400), panel.DrawingArea().size());
  for (const char* text : {"\"123.4\" at 145", "\"SUB\"", "\"Ntrig\""}) {
    EXPECT_NE(spills.find(text), std::string::npos) << text << " in\n" << spills;
  }
}

}  // namespace
}  // namespace halvane::test
