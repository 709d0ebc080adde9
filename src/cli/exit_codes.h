#pragma once
// The exit statuses scripts can tell apart.

namespace halvane {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;   // a file could not be written
inline constexpr int kExitUsage = 2;     // a wrong command line, input file, item or number
inline constexpr int kExitNoMeter = 3;   // no meter answered
inline constexpr int kExitTransfer = 4;  // the meter stopped answering during a transfer

}  // namespace halvane
