#pragma once
// Guards a test that runs a modal dialog: a dialog still open when the watchdog fires fails the
// test and is rejected, so that a regression ends the test instead of hanging it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>

namespace halvane {

class ModalWatchdog {
 public:
  static constexpr int kLimitMs = 10000;

  ModalWatchdog() {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [] {
      for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (dialog != nullptr && dialog->isVisible() && dialog->isModal()) {
          ADD_FAILURE() << "a modal dialog was still open: " << dialog->objectName().toStdString();
          dialog->reject();
        }
      }
    });
    timer_.start(kLimitMs);
  }

 private:
  QTimer timer_;
};

}  // namespace halvane
