#pragma once
// Ctrl-C and SIGTERM (on Windows Ctrl-C, Ctrl-Break and closing the console) ask a
// long-running command to stop after the line it is writing.

#include <chrono>

namespace halvane {

// Catches the stop signals from now on; a write they interrupt is resumed. A closed pipe
// becomes a failed write instead of ending the program.
void CatchStopSignals();
bool StopRequested();
// Sleeps until `deadline`, or less when a stop signal arrives.
void SleepUntil(std::chrono::steady_clock::time_point deadline);

}  // namespace halvane
