#pragma once
// Helpers of the simulated meter's tests: a wall clock moved by hand and readers of reply bytes.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

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

// Sends a command of these bytes behind the report ID and takes its one reply.
inline InputReportBuffer Send(SimulatedMeter& meter, const std::vector<std::uint8_t>& bytes) {
  std::vector<std::uint8_t> report{0x00};
  report.insert(report.end(), bytes.begin(), bytes.end());
  meter.Receive(report);
  const InputReportBuffer reply = meter.TakeReply().value();
  EXPECT_FALSE(meter.TakeReply().has_value()) << "a second reply to command " << int(bytes[1]);
  return reply;
}

// Reply bytes first to first + count - 1.
inline std::vector<int> ReplyBytes(const InputReportBuffer& reply, std::size_t first,
                                   std::size_t count) {
  return {reply.begin() + first, reply.begin() + first + count};
}

}  // namespace halvane
