#pragma once
// Keeps the main window's live poll off while a handler talks to the meter, so that no poll
// interleaves with its exchanges; the poll runs again on every way out of the handler.

#include <QTimer>
#include <chrono>
#include <functional>
#include <thread>

namespace halvane {

class PollPause {
 public:
  explicit PollPause(QTimer& timer1) : timer1_(timer1) { timer1_.stop(); }
  ~PollPause() { timer1_.start(); }
  PollPause(const PollPause&) = delete;
  PollPause& operator=(const PollPause&) = delete;

 private:
  QTimer& timer1_;
};

// A fixed pause between two commands (500 ms between key presses, 2000 ms after setting the
// clock). The program blocks for it; tests record it instead.
using Pause = std::function<void(int ms)>;

// Blocks the calling thread for `ms`; nothing else runs meanwhile.
inline void BlockingPause(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace halvane
