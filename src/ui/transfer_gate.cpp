#include "ui/transfer_gate.h"

#include <QCoreApplication>
#include <QInputEvent>

namespace halvane {

namespace {

constexpr qint64 kRepaintIntervalMs = 40;

}  // namespace

TransferGate::TransferGate(QWidget& main_window) : main_window_(&main_window) {
  QCoreApplication::instance()->installEventFilter(this);
}

TransferGate::~TransferGate() {
  QCoreApplication::processEvents();
  QCoreApplication::instance()->removeEventFilter(this);
}

bool TransferGate::Repaint() {
  if (!since_repaint_.isValid() || since_repaint_.elapsed() >= kRepaintIntervalMs) {
    QCoreApplication::processEvents();
    since_repaint_.start();
  }
  return !main_window_closed_;
}

bool TransferGate::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Close && watched == main_window_) {
    main_window_closed_ = true;
  }
  return dynamic_cast<QInputEvent*>(event) != nullptr;
}

}  // namespace halvane
