#include "history/history_poll.h"

#include <chrono>

namespace halvane {

namespace {

constexpr int kSoundLevelMeterScreen = 0;
constexpr int kLastOctaveScreen = 7;
constexpr std::size_t kItemCode = 21;
constexpr int kLpItem = 0;
constexpr std::size_t kMainCurrentValue = 133;
constexpr std::size_t kMainAllPass = 153;
constexpr std::size_t kSubLp = 23;

TenthsDb PairAt(const LiveReading& reading, std::size_t high_index) {
  return static_cast<TenthsDb>(reading.Bytes[high_index] << 8 | reading.Bytes[high_index + 1]);
}

template <typename Clock>
std::int64_t MillisecondsOf(Clock) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch())
      .count();
}

}  // namespace

PollTime SystemPollTime() {
  return {MillisecondsOf(std::chrono::steady_clock()), MillisecondsOf(std::chrono::system_clock())};
}

HistoryPoll HistoryPollFromReading(PollTime time, const LiveReading* reading) {
  HistoryPoll poll;
  poll.time = time;
  poll.answered = reading != nullptr;
  if (reading == nullptr || reading->DisplayMode < kSoundLevelMeterScreen ||
      reading->DisplayMode > kLastOctaveScreen) {
    return poll;
  }
  poll.measuring = true;
  const bool level_meter_screen = reading->DisplayMode == kSoundLevelMeterScreen;
  poll.main = PairAt(*reading, level_meter_screen ? kMainCurrentValue : kMainAllPass);
  poll.sub = PairAt(*reading, kSubLp);
  const bool main_lp = (reading->Bytes[kItemCode] & 0x0F) == kLpItem;
  poll.quantity.channels = {
      ChannelQuantity{reading->DisplayMode, reading->MainItemLabel, main_lp},
      ChannelQuantity{reading->DisplayMode,
                      "L" + reading->SubFreqWeighting + reading->SubTimeWeighting, true}};
  return poll;
}

}  // namespace halvane
