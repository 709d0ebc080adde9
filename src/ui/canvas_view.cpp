#include "ui/canvas_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace halvane {

CanvasView::CanvasView(const Canvas& canvas, QWidget* parent) : QWidget(parent), canvas_(canvas) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CanvasView::Anchor(QWidget* child, Point at) {
  anchored_.push_back(Anchored{child, at});
  child->move(ToPixels(at));
}

QPoint CanvasView::ToPixels(Point at) const {
  return QPoint(static_cast<int>(std::lround(at.x * width() / canvas_.Width())),
                static_cast<int>(std::lround(at.y * height() / canvas_.Height())));
}

TextMeasure CanvasView::MakeTextMeasure() {
  return [this](std::string_view text, const Font& font) {
    return painter_.TextWidth(text, font, canvas_.Width(), width());
  };
}

void CanvasView::PaintInto(QPainter& painter, const QRectF& target) {
  painter.fillRect(target, QColor(kWindowBackground.r, kWindowBackground.g, kWindowBackground.b));
  painter_.Paint(painter, canvas_.Items(), canvas_.Width(), canvas_.Height(), target);
}

void CanvasView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintInto(painter, QRectF(rect()));
}

void CanvasView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceAnchored();
}

void CanvasView::mouseDoubleClickEvent(QMouseEvent*) {
  emit DoubleClicked();
}

void CanvasView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && width() > 0 && height() > 0) {
    const QPointF at = event->position();
    emit Clicked(Point{at.x() * canvas_.Width() / width(), at.y() * canvas_.Height() / height()});
  }
}

void CanvasView::PlaceAnchored() {
  for (const Anchored& anchored : anchored_) {
    anchored.widget->move(ToPixels(anchored.at));
  }
}

}  // namespace halvane
