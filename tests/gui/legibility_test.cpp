// Every screen family painted at the main window's opening size: no text leaves the box it is
// written on, the header or footer strip it stands in, or the drawing area, and no yellow level
// leaves its black box. The same check finds the spills at the minimum size.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <sstream>

#include "../live/display_list.h"
#include "live/panel_layout.h"
#include "panel_fixture.h"
#include "ui/canvas_view.h"

namespace halvane {
namespace {

using testing::Reply;

constexpr int kInkMargin = 16;  // pixels around a text's top-left point that its ink may reach

// The widest texts each screen can show: five-digit levels, every flag, the tallest tags.
Reply WidestReply(std::uint8_t display_mode, unsigned bar_level) {
  Reply reply;
  reply.Set(1, 0b1101'1000).Set(2, 0b0000'0100).Set(4, display_mode).Set(5, 4);
  reply.Set(6, 0x26).Set(7, 0x12).Set(8, 0x31).Set(9, 0x23).Set(10, 0x59).Set(11, 0x58);
  reply.Set(12, 88).Set(14, 0x23).Set(15, 0x59).Set(16, 0x58);
  reply.Set(17, 0).Set(18, 130).Set(19, 0x10).Set(20, 0x10).Set(21, 3).Set(22, 20);
  for (std::size_t high = 23; high + 1 < reply.bytes.size(); high += 2) {
    reply.SetLevel(high, 1234);
  }
  return reply.SetLevel(45, bar_level);
}

QRectF PixelRect(Point corner1, Point corner2, QSizeF area) {
  const auto map = [&](Point p) {
    return QPointF(p.x * area.width() / kPanelWidthUnits, p.y * area.height() / kPanelHeightUnits);
  };
  return QRectF(map(corner1), map(corner2)).normalized();
}

// Whether every pixel of `ink` lies in `room`, as far as a filled box covers whole pixels.
bool Holds(const QRectF& room, const QRect& ink) {
  return ink.isEmpty() || room.adjusted(-0.5, -0.5, 0.5, 0.5).contains(QRectF(ink));
}

// The pixels that `text` alone inks, at least half covered. It is painted on a small image
// around its top-left point, placed as it is in the whole area.
QRect InkOf(const TextItem& text, QSize area) {
  const QPointF at = PixelRect(text.at, text.at, area).topLeft();
  const QPoint origin = at.toPoint() - QPoint(kInkMargin, kInkMargin);
  QImage image(QSize(static_cast<int>(text.text.size()) + 2, 2) * text.font.size_pt * 2 +
                   QSize(2 * kInkMargin, 2 * kInkMargin),
               QImage::Format_ARGB32);
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

// The room a text has: the last box drawn before it under its top-left point, else the header
// or footer strip, else the whole drawing area.
QRectF RoomOf(const Canvas& canvas, std::size_t text_index, QSizeF area) {
  const Point at = std::get<TextItem>(canvas.Items()[text_index]).at;
  for (std::size_t i = text_index; i-- > 0;) {
    if (const auto* box = std::get_if<BoxItem>(&canvas.Items()[i])) {
      if (PixelRect(box->corner1, box->corner2, area).contains(PixelRect(at, at, area).topLeft())) {
        return PixelRect(box->corner1, box->corner2, area);
      }
    }
  }
  if (at.y >= 5 && at.y < 12) {
    return PixelRect({0, 5}, {kPanelWidthUnits, 12}, area);
  }
  if (at.y >= 117) {
    return PixelRect({0, 117}, {kPanelWidthUnits, kPanelHeightUnits}, area);
  }
  return PixelRect({0, 0}, {kPanelWidthUnits, kPanelHeightUnits}, area);
}

bool IsYellowInk(QRgb pixel) {
  return qRed(pixel) > 100 && qGreen(pixel) > 100 &&
         qBlue(pixel) + 60 < std::min(qRed(pixel), qGreen(pixel));
}

// One line per text that leaves its room, and one for yellow outside every black box.
std::string SpillsOf(const Reply& reply, QSize area) {
  Canvas canvas(kPanelWidthUnits, kPanelHeightUnits);
  CanvasView view(canvas);
  view.resize(area);
  canvas.SetTextMeasure(view.MakeTextMeasure());
  DrawLiveScreen(canvas, reply.Decode());

  std::ostringstream spills;
  std::vector<QRectF> black_boxes;
  for (std::size_t i = 0; i < canvas.Items().size(); ++i) {
    if (const auto* box = std::get_if<BoxItem>(&canvas.Items()[i]); box && box->fill == kBlack) {
      black_boxes.push_back(PixelRect(box->corner1, box->corner2, area));
    }
    if (const auto* text = std::get_if<TextItem>(&canvas.Items()[i])) {
      if (!Holds(RoomOf(canvas, i, area), InkOf(*text, area))) {
        spills << '"' << text->text << "\" at " << text->at.x << ", " << text->at.y << "\n";
      }
    }
  }

  QImage image(area, QImage::Format_RGB32);
  QPainter painter(&image);
  view.PaintInto(painter, QRectF(image.rect()));
  painter.end();
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const auto in_box = [&](const QRectF& box) { return Holds(box, QRect(x, y, 1, 1)); };
      if (IsYellowInk(line[x]) && std::ranges::none_of(black_boxes, in_box)) {
        spills << "yellow at pixel " << x << ", " << y << "\n";
        return spills.str();
      }
    }
  }
  return spills.str();
}

struct Family {
  const char* name;
  std::uint8_t display_mode;
  unsigned bar_level;  // tenths of a dB; above the range shows "OV", below "UN"
};

constexpr Family kFamilies[] = {
    {"sound level meter over range", 0, 1400},
    {"sound level meter under range", 0, 100},
    {"1/1 bars", 1, 1234},
    {"1/3 bars", 2, 1234},
    {"both bars", 3, 1234},
    {"1/1 table", 4, 1234},
    {"1/3 table", 5, 1234},
    {"both tables", 6, 1234},
};

using LegibilityTest = PanelFixture;

// The window tests run on a screen of 1920 x 1080 pixels.
TEST_F(LegibilityTest, EveryFamilyFitsItsBoxesAtTheOpeningSizeOfAFullHdScreen) {
  panel->show();
  QApplication::processEvents();
  const QSize area = panel->DrawingArea().size();
  for (const Family& family : kFamilies) {
    EXPECT_EQ(SpillsOf(WidestReply(family.display_mode, family.bar_level), area), "")
        << family.name << " at " << area.width() << " x " << area.height();
  }
  const QSize small_screen = panel->OpeningSize(QRect(0, 0, 1366, 768));
  EXPECT_LT(small_screen.height(), panel->height()) << "the whole height of a smaller screen";
  EXPECT_LE(small_screen.height() + 40, 768) << "its title bar stays on the screen";
}

TEST_F(LegibilityTest, AtTheMinimumSizeLevelsAndBadgesSpill) {
  panel->show();
  panel->resize(1, 1);  // the window keeps its minimum size
  QApplication::processEvents();
  const QSize area = panel->DrawingArea().size();
  const std::string spills = SpillsOf(WidestReply(0, 1400), area);
  EXPECT_NE(spills.find("\"SUB\""), std::string::npos) << spills;
  EXPECT_NE(spills.find("\"123.4\""), std::string::npos) << spills;
  EXPECT_NE(spills.find("\"Ntrig\""), std::string::npos) << spills;
}

}  // namespace
}  // namespace halvane
