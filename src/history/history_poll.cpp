#include "history/history_poll.h"

namespace halvane {

namespace {

constexpr int kSoundLevelMeterScreen = 0;
constexpr int kLastOctaveScreen = 7;
constexpr std::size_t kMainCurrentValue = 133;
constexpr std::size_t kMainAllPass = 153;
constexpr std::size_t kSubLp = 23;

TenthsDb PairAt(const LiveReading& reading, std::size_t high_index) {
  return static_cast<TenthsDb>(reading.Bytes[high_index] << 8 | reading.Bytes[high_index + 1]);
}

}  // namespace

HistoryPoll HistoryPollFromReading(std::int64_t pc_time_ms, const LiveReading* reading) {
  HistoryPoll poll;
  poll.pc_time_ms = pc_time_ms;
  if (reading == nullptr || reading->DisplayMode < kSoundLevelMeterScreen ||
      reading->DisplayMode > kLastOctaveScreen) {
    return poll;
  }
  poll.measuring = true;
  const bool level_meter_screen = reading->DisplayMode == kSoundLevelMeterScreen;
  poll.main = PairAt(*reading, level_meter_screen ? kMainCurrentValue : kMainAllPass);
  poll.sub = PairAt(*reading, kSubLp);
  poll.quantity = {reading->DisplayMode, reading->MainItemLabel,
                   "L" + reading->SubFreqWeighting + reading->SubTimeWeighting};
  return poll;
}

}  // namespace halvane
