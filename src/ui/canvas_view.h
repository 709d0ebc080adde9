#pragma once
// A widget that shows a Canvas's display list stretched over its whole area, and keeps child
// widgets (status images, drop-down lists) at fixed positions in the canvas's user units.

#include <QColor>
#include <QWidget>
#include <vector>

#include "ui/canvas.h"
#include "ui/canvas_painter.h"

namespace halvane {

inline constexpr Color kWindowBackground{240, 240, 240};

class CanvasView : public QWidget {
  Q_OBJECT

 public:
  CanvasView(const Canvas& canvas, QWidget* parent = nullptr);

  // Keeps `child` with its top-left corner at `at` (user units) whenever the view is resized.
  void Anchor(QWidget* child, Point at);
  QPoint ToPixels(Point at) const;
  // A text measure for the canvas that matches this view's current size.
  TextMeasure MakeTextMeasure();

  // Paints the display list into `target` of any paint device, as the view paints itself.
  void PaintInto(QPainter& painter, const QRectF& target);

 signals:
  void DoubleClicked();
  // A left click, at its place in user units.
  void Clicked(halvane::Point at);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  struct Anchored {
    QWidget* widget;
    Point at;
  };
  void PlaceAnchored();

  const Canvas& canvas_;
  CanvasPainter painter_;
  std::vector<Anchored> anchored_;
};

}  // namespace halvane
