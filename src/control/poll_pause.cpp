#include "control/poll_pause.h"

#include <chrono>
#include <thread>

namespace halvane {

void BlockingPause(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace halvane
