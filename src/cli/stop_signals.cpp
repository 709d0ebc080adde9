#include "cli/stop_signals.h"

#include <csignal>
#include <ctime>

#ifdef _WIN32
#include <windows.h>

#include <thread>
#endif

namespace halvane {

namespace {

volatile std::sig_atomic_t stop_requested = 0;

#ifdef _WIN32
// Windows has no such signals: Ctrl-C, Ctrl-Break and closing the console window arrive as
// console events, on a thread of their own.
BOOL WINAPI RequestStop(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
    return FALSE;
  }
  stop_requested = 1;
  return TRUE;
}
#else
extern "C" void RequestStop(int) {
  stop_requested = 1;
}
#endif

}  // namespace

void CatchStopSignals() {
#ifdef _WIN32
  SetConsoleCtrlHandler(RequestStop, TRUE);
#else
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);
#endif
}

bool StopRequested() {
  return stop_requested != 0;
}

void SleepUntil(std::chrono::steady_clock::time_point deadline) {
  const auto left = deadline - std::chrono::steady_clock::now();
  if (left <= std::chrono::steady_clock::duration::zero() || StopRequested()) {
    return;
  }
#ifdef _WIN32
  // A pause is one poll interval at most, so a stop waits no longer than that.
  std::this_thread::sleep_for(left);
#else
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
  const timespec pause{
      static_cast<std::time_t>(seconds.count()),
      static_cast<long>(
          std::chrono::duration_cast<std::chrono::nanoseconds>(left - seconds).count())};
  // A signal ends the sleep early (EINTR), whatever SA_RESTART says.
  nanosleep(&pause, nullptr);
#endif
}

}  // namespace halvane
