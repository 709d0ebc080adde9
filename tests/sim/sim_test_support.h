#pragma once
// Helpers of the simulated meter's tests: a wall clock moved by hand and readers of reply bytes.

#include <array>
#include <chrono>
#include <cstdint>

#include "link/reports.h"
#include "sim/simulated_meter.h"

namespace halvane {

struct ManualClock {
  std::chrono::system_clock::time_point now =
      std::chrono::sys_days{std::chrono::year{2013} / 8 / 9} + std::chrono::hours{1} +
      std::chrono::minutes{14} + std::chrono::seconds{19};

  SimulatedMeter::WallClock Reader() {
    return [this] { return now; };
  }
};

inline constexpr std::array<std::uint8_t, kOutputReportSize> kLivePoll{0x00, 0x42};

inline InputReportBuffer Poll(SimulatedMeter& meter) {
  meter.Receive(kLivePoll);
  return meter.TakeReply().value();
}

// A level pair in tenths of a dB, high byte first.
inline int Tenths(const InputReportBuffer& reply, std::size_t high_index) {
  return reply[high_index] * 256 + reply[high_index + 1];
}
inline double Level(const InputReportBuffer& reply, std::size_t high_index) {
  return Tenths(reply, high_index) / 10.0;
}

inline int FromBcd(std::uint8_t value) {
  return (value >> 4) * 10 + (value & 0x0F);
}

}  // namespace halvane
