#include "ui/icons.h"

#include <QPainter>
#include <array>

#include "ui/canvas_painter.h"

namespace halvane {

namespace {

// Each toolbar button's pictogram among the resources: what the button works on.
struct ToolbarPictogram {
  std::string_view key;
  const char* resource;
};

constexpr std::array<ToolbarPictogram, 16> kToolbarPictograms{{
    {"RecMode", ":/toolbar/recording_mode.svg"},
    {"Storage", ":/toolbar/storage_device.svg"},
    {"RTC", ":/toolbar/clock.svg"},
    {"Comparator", ":/toolbar/comparator.svg"},
    {"Trigger", ":/toolbar/trigger.svg"},
    {"BackLight", ":/toolbar/backlight.svg"},
    {"Period", ":/toolbar/measurement_time.svg"},
    {"AC", ":/toolbar/frequency_weighting.svg"},
    {"FS", ":/toolbar/time_weighting.svg"},
    {"Intv", ":/toolbar/interval.svg"},
    {"Memory", ":/toolbar/flash_memory.svg"},
    {"SD", ":/toolbar/sd_card.svg"},
    {"CtrButton", ":/toolbar/keypad.svg"},
    {"Erase", ":/toolbar/erase.svg"},
    {"Plot", ":/toolbar/plot_file.svg"},
    {"History", ":/toolbar/level_history.svg"},
}};

constexpr int kStatusImageSize = 16;

}  // namespace

QIcon ToolbarIcon(std::string_view key) {
  for (const ToolbarPictogram& pictogram : kToolbarPictograms) {
    if (pictogram.key == key) {
      return QIcon(pictogram.resource);
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
