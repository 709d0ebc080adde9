#include "ui/canvas_painter.h"
#include "ui/qt_text.h"

#include <algorithm>
#include <cmath>

namespace halvane {

namespace {

QColor ToQColor(Color color) {
  return QColor(color.r, color.g, color.b);
}

}  // namespace

const CanvasPainter::CachedFont& CanvasPainter::FontFor(const Font& font) {
  const auto key = std::make_tuple(static_cast<int>(std::lround(font.size_pt * 100)), font.bold,
                                   font.fixed_pitch);
  auto found = fonts_.find(key);
  if (found == fonts_.end()) {
    QFont qfont(font.fixed_pitch ? kFixedPitchFontFamily : kDrawingFontFamily);
    qfont.setPointSizeF(font.size_pt);
    qfont.setBold(font.bold);
    found = fonts_.emplace(key, CachedFont{qfont, QFontMetricsF(qfont)}).first;
  }
  return found->second;
}

double CanvasPainter::TextWidth(std::string_view text, const Font& font, double width_units,
                                double width_pixels) {
  if (width_pixels <= 0) {
    return 0;
  }
  const double pixels = FontFor(font).metrics.horizontalAdvance(ToQString(text));
  return pixels * width_units / width_pixels;
}

void CanvasPainter::Paint(QPainter& painter, const std::vector<DrawItem>& items, double width_units,
                          double height_units, const QRectF& target) {
  const double sx = target.width() / width_units;
  const double sy = target.height() / height_units;
  auto map = [&](Point p) { return QPointF(target.x() + p.x * sx, target.y() + p.y * sy); };

  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setClipRect(target);
  for (const DrawItem& item : items) {
    if (const auto* line = std::get_if<LineItem>(&item)) {
      QPen pen(ToQColor(line->pen.color));
      pen.setWidth(line->pen.width);
      pen.setStyle(line->pen.style == LineStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
      painter.setPen(pen);
      painter.drawLine(map(line->from), map(line->to));
    } else if (const auto* box = std::get_if<BoxItem>(&item)) {
      // Boxes include their border, so even a zero-width box covers one pixel column.
      QRectF rect = QRectF(map(box->corner1), map(box->corner2)).normalized();
      rect.setWidth(std::max(rect.width(), 1.0));
      rect.setHeight(std::max(rect.height(), 1.0));
      painter.fillRect(rect, ToQColor(box->fill));
    } else if (const auto* text = std::get_if<TextItem>(&item)) {
      const CachedFont& cached = FontFor(text->font);
      painter.setFont(cached.font);
      painter.setPen(ToQColor(text->color));
      const QPointF top_left = map(text->at);
      painter.drawText(QPointF(top_left.x(), top_left.y() + cached.metrics.ascent()),
                       ToQString(text->text));
    }
  }
  painter.restore();
}

}  // namespace halvane
