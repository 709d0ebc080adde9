#include "ui/canvas_painter.h"

#include <gtest/gtest.h>

#include <QImage>

namespace halvane {
namespace {

QColor PixelAt(const QImage& image, int x, int y) {
  return image.pixelColor(x, y);
}

class CanvasPainterTest : public ::testing::Test {
 protected:
  // 560 x 120 units on 1120 x 240 pixels: two pixels a unit.
  QImage Render(const Canvas& drawn) {
    QImage image(1120, 240, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    CanvasPainter().Paint(painter, drawn.Items(), drawn.Width(), drawn.Height(),
                          QRectF(0, 0, 1120, 240));
    return image;
  }
  Canvas canvas{560, 120};
};

TEST_F(CanvasPainterTest, BoxesFillTheirCornersDottedLinesLeaveGapsAndTextHangsBelowRight) {
  canvas.Box({100, 50}, {110, 40}, ConsoleColor(9));
  canvas.Line({0, 10}, {560, 10}, Pen{kBlack, LineStyle::Solid, 1});
  canvas.Line({0, 30}, {560, 30}, Pen{kBlack, LineStyle::Dotted, 1});
  canvas.Text({200, 50}, "MMM", Font{24, true}, ConsoleColor(4));
  const QImage image = Render(canvas);
  EXPECT_EQ(PixelAt(image, 210, 90), QColor(0, 0, 255));
  EXPECT_EQ(PixelAt(image, 195, 90), QColor(Qt::white));
  EXPECT_EQ(PixelAt(image, 210, 105), QColor(Qt::white));
  int solid_gaps = 0;
  int dotted_gaps = 0;
  for (int x = 10; x < 1100; ++x) {
    solid_gaps += PixelAt(image, x, 20) == QColor(Qt::white);
    dotted_gaps += PixelAt(image, x, 60) == QColor(Qt::white);
  }
  EXPECT_EQ(solid_gaps, 0);
  EXPECT_GT(dotted_gaps, 300);
  // The text's top left corner is its point: red ink only below and right of (400, 100) pixels.
  int inside = 0;
  int above_or_left = 0;
  for (int y = 60; y < 180; ++y) {
    for (int x = 300; x < 600; ++x) {
      const bool inked = PixelAt(image, x, y).red() > 60 && PixelAt(image, x, y).green() < 60;
      (y >= 100 && x >= 400 ? inside : above_or_left) += inked;
    }
  }
  EXPECT_GT(inside, 100);
  EXPECT_EQ(above_or_left, 0);
}

}  // namespace
}  // namespace halvane
