#include "cli/stop_signals.h"

#include <csignal>
#include <ctime>

namespace halvane {

namespace {

volatile std::sig_atomic_t stop_requested = 0;

extern "C" void RequestStop(int) {
  stop_requested = 1;
}

}  // namespace

void CatchStopSignals() {
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);
}

bool StopRequested() {
  return stop_requested != 0;
}

void SleepUntil(std::chrono::steady_clock::time_point deadline) {
  const auto left = deadline - std::chrono::steady_clock::now();
  if (left <= std::chrono::steady_clock::duration::zero() || StopRequested()) {
    return;
  }
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
  const timespec pause{
      static_cast<std::time_t>(seconds.count()),
      static_cast<long>(
          std::chrono::duration_cast<std::chrono::nanoseconds>(left - seconds).count())};
  // A signal ends the sleep early (EINTR), whatever SA_RESTART says.
  nanosleep(&pause, nullptr);
}

}  // namespace halvane
