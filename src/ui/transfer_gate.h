#pragma once
// A transfer runs on the user-interface thread. Meanwhile the windows must repaint to show its
// progress, but nothing the user does may start a second command: neither at once nor, held in
// the queue, after the transfer (a second "Memory" would read the whole flash again). The gate
// lets every event through but the user's input, which it drops. Closing the main window
// passes, and tells the transfer to stop.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace halvane {

class TransferGate : public QObject {
 public:
  explicit TransferGate(QWidget& main_window);
  // Drops the input still waiting, so that none reaches the windows after the transfer.
  ~TransferGate() override;
  TransferGate(const TransferGate&) = delete;
  TransferGate& operator=(const TransferGate&) = delete;

  // Lets the windows repaint, at most every few frames' time however often it is called;
  // false once the main window has been closed.
  bool Repaint();
  bool MainWindowClosed() const { return main_window_closed_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QWidget> main_window_;
  bool main_window_closed_ = false;
  QElapsedTimer since_repaint_;
};

}  // namespace halvane
