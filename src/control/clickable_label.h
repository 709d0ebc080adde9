#pragma once
// A label that reports a click: a left button press and release on it.

#include <QLabel>

namespace halvane {

class ClickableLabel : public QLabel {
  Q_OBJECT

 public:
  ClickableLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace halvane
