#include "sim/live_reply_builder.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "sim/bcd.h"

namespace halvane {

namespace {

constexpr std::size_t kLp = 0;
constexpr std::size_t kFirstStatistic = 1;  // Leq; LE to L95 follow in item-code order
constexpr std::size_t kItemCount = std::tuple_size_v<ChannelItems>;

std::uint8_t Bit(bool set, int bit) {
  return static_cast<std::uint8_t>(set ? 1 << bit : 0);
}

// A level pair: tenths of a dB, high byte first, as far as 16 bits reach.
void PutLevel(InputReportBuffer& reply, std::size_t high_index, double level_db) {
  const long tenths = std::clamp(std::lround(level_db * 10.0), 0L, 0xFFFFL);
  reply[high_index] = static_cast<std::uint8_t>(tenths >> 8);
  reply[high_index + 1] = static_cast<std::uint8_t>(tenths & 0xFF);
}

// The level of the channel's selected item; 0 for an unknown item code.
double ItemLevel(const ChannelItems& items, int item_code) {
  return item_code >= 0 && std::size_t(item_code) < items.size() ? items[std::size_t(item_code)]
                                                                 : 0.0;
}

void PutStatus(InputReportBuffer& reply, const MeterState& state, const CalendarTime& clock) {
  reply[1] = Bit(state.memory_full, 3) | Bit(state.auto_memory_full, 4) |
             Bit(state.record_manually, 6) | Bit(state.storage_is_flash, 7);
  reply[2] = Bit(state.recording, 7) | Bit(state.paused, 6) | Bit(state.usb_active, 5) |
             Bit(state.stopped, 3) | Bit(state.comparator_output, 2);
  reply[4] = Byte(state.display_mode);
  reply[5] = Byte(state.battery_level);
  reply[6] = ToBcd(clock.year % 100);
  reply[7] = ToBcd(clock.month);
  reply[8] = ToBcd(clock.day);
  reply[9] = ToBcd(clock.hour);
  reply[10] = ToBcd(clock.minute);
  reply[11] = ToBcd(clock.second);
  reply[12] = Byte(state.manual_record_number);
  reply[13] = Byte(state.auto_record_number);
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(state.measurement_time);
  reply[14] = ToBcd(static_cast<int>(seconds.count() / 3600 % 100));  // the meter shows two digits
  reply[15] = ToBcd(static_cast<int>(seconds.count() / 60 % 60));
  reply[16] = ToBcd(static_cast<int>(seconds.count() % 60));
  reply[17] = Byte(state.trigger_mode);
  reply[18] = Byte(state.range_top);
  reply[19] = Byte((state.sub_freq_weighting & 0x0F) << 4 | (state.main_freq_weighting & 0x0F));
  reply[20] = Byte((state.sub_time_weighting & 0x0F) << 4 | (state.main_time_weighting & 0x0F));
  reply[21] = Byte(state.item_code & 0x0F);
  reply[22] = Byte(state.band_cursor);
}

void PutChannels(InputReportBuffer& reply, const MeterState& state, const LiveLevels& levels) {
  PutLevel(reply, 23, levels.sub[kLp]);
  PutLevel(reply, 25, ItemLevel(levels.sub, state.item_code));
  PutLevel(reply, 133, ItemLevel(levels.main, state.item_code));
  for (std::size_t item = kFirstStatistic; item < kItemCount; ++item) {
    PutLevel(reply, 27 + 2 * (item - kFirstStatistic), levels.sub[item]);
    PutLevel(reply, 135 + 2 * (item - kFirstStatistic), levels.main[item]);
  }
  PutLevel(reply, 153, levels.main[kLp]);
  PutLevel(reply, 159, levels.sub[kLp]);
}

void PutCursorLevels(InputReportBuffer& reply, const MeterState& state, const LiveLevels& levels) {
  if (state.band_cursor < 0 || std::size_t(state.band_cursor) >= levels.third_octave.size()) {
    return;
  }
  const double third_level = levels.third_octave[std::size_t(state.band_cursor)];
  // The screens read the cursor's octave as (band + 1) / 3 - 1; bands 0 and 1 have none.
  const int octave = (state.band_cursor + 1) / 3 - 1;
  const double octave_level = octave >= 0 ? levels.octave[std::size_t(octave)] : 0.0;
  // The 1/3 bar screen has a single cursor readout, which carries the third-octave level.
  PutLevel(reply, 155, state.display_mode == 2 ? third_level : octave_level);
  PutLevel(reply, 157, third_level);
}

// The 11 octave bands from byte 45, then the 33 third-octave bands, each less `bottom_db`.
void PutBands(InputReportBuffer& reply, const LiveLevels& levels, double bottom_db) {
  std::size_t index = 45;
  for (double level : levels.octave) {
    PutLevel(reply, index, level - bottom_db);
    index += 2;
  }
  for (double level : levels.third_octave) {
    PutLevel(reply, index, level - bottom_db);
    index += 2;
  }
}

}  // namespace

InputReportBuffer BuildLiveReply(const MeterState& state, const LiveLevels& levels,
                                 const CalendarTime& meter_time) {
  InputReportBuffer reply{};
  PutStatus(reply, state, meter_time);
  PutChannels(reply, state, levels);
  PutCursorLevels(reply, state, levels);
  if (state.display_mode == 0) {
    PutLevel(reply, 45, levels.main[kLp]);  // the level bar
  } else if (state.display_mode >= 1 && state.display_mode <= 3) {
    // The bar screens show the all-pass levels in place of two sub-channel values, and bands as
    // heights above the bottom of the range.
    PutLevel(reply, 25, levels.main[kLp]);
    PutLevel(reply, 27, levels.sub[kLp]);
    PutBands(reply, levels, RangeBottomFor(state.range_top));
  } else if (state.display_mode >= 4 && state.display_mode <= 7) {
    PutBands(reply, levels, 0.0);
  }
  return reply;
}

}  // namespace halvane
