#include "ui/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <array>

#include "ui/canvas_painter.h"

namespace halvane {

namespace {

struct ToolbarGlyph {
  std::string_view key;
  const char* glyph;
  QColor background;
};

// Settings in blue, windows in green, stored data in orange, the eraser in red.
const std::array<ToolbarGlyph, 15> kToolbarGlyphs{{
    {"RecMode", "M/A", QColor(30, 90, 170)},
    {"Storage", "FL/SD", QColor(30, 90, 170)},
    {"RTC", "RTC", QColor(40, 130, 70)},
    {"Comparator", "CMP", QColor(40, 130, 70)},
    {"Trigger", "TRG", QColor(30, 90, 170)},
    {"BackLight", "BL", QColor(30, 90, 170)},
    {"Period", "TIME", QColor(30, 90, 170)},
    {"AC", "A/C", QColor(30, 90, 170)},
    {"FS", "F/S", QColor(30, 90, 170)},
    {"Intv", "INT", QColor(30, 90, 170)},
    {"Memory", "FL", QColor(200, 110, 20)},
    {"SD", "SD", QColor(200, 110, 20)},
    {"CtrButton", "KEYS", QColor(40, 130, 70)},
    {"Erase", "DEL", QColor(180, 40, 40)},
    {"Plot", "PLOT", QColor(200, 110, 20)},
}};

constexpr int kToolbarIconSize = 32;
constexpr int kStatusImageSize = 16;

QPixmap GlyphPixmap(const ToolbarGlyph& glyph) {
  QPixmap pixmap(kToolbarIconSize, kToolbarIconSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(glyph.background);
  painter.drawRoundedRect(QRectF(1, 1, kToolbarIconSize - 2, kToolbarIconSize - 2), 5, 5);
  QFont font(kDrawingFontFamily);
  font.setBold(true);
  font.setPixelSize(std::string_view(glyph.glyph).size() > 3 ? 8 : 10);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(pixmap.rect(), Qt::AlignCenter, QString::fromLatin1(glyph.glyph));
  return pixmap;
}

}  // namespace

QIcon ToolbarIcon(std::string_view key) {
  for (const ToolbarGlyph& glyph : kToolbarGlyphs) {
    if (glyph.key == key) {
      return QIcon(GlyphPixmap(glyph));
    }
  }
  return QIcon();
}

QPixmap StatusImagePixmap(StatusImage image) {
  QPixmap pixmap(kStatusImageSize, kStatusImageSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  switch (image) {
    case StatusImage::Record:
      painter.setBrush(QColor(220, 30, 30));
      painter.drawEllipse(QRectF(2, 2, 12, 12));
      break;
    case StatusImage::Pause:
      painter.setBrush(QColor(230, 170, 0));
      painter.drawRect(QRectF(3, 2, 4, 12));
      painter.drawRect(QRectF(9, 2, 4, 12));
      break;
    case StatusImage::Stop:
      painter.setBrush(QColor(60, 60, 60));
      painter.drawRect(QRectF(3, 3, 10, 10));
      break;
    case StatusImage::Usb: {
      painter.setBrush(QColor(20, 90, 200));
      painter.drawRoundedRect(QRectF(0, 3, 16, 10), 2, 2);
      QFont font(kDrawingFontFamily);
      font.setBold(true);
      font.setPixelSize(7);
      painter.setFont(font);
      painter.setPen(Qt::white);
      painter.drawText(QRectF(0, 3, 16, 10), Qt::AlignCenter, "USB");
      break;
    }
  }
  return pixmap;
}

}  // namespace halvane
