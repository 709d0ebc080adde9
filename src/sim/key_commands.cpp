#include "sim/key_commands.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "sim/display_mode_keys.h"

namespace halvane {

namespace {

constexpr int kFreqWeightings = 3;  // A, C, Z
constexpr int kTimeWeightings = 4;  // F, S, t, I
constexpr int kItems = 10;          // Lp to L95
constexpr int kLowestRangeTop = 60;
constexpr int kHighestRangeTop = 130;
constexpr int kLastThirdOctaveBand = 32;
constexpr int kOctaveBarsMode = 1;

// The band cursor's step: the 1/1 bar screen moves it one octave at a time and keeps it on a
// band whose octave, (band + 1) / 3 - 1, is one of the 11.
void MoveBandCursor(MeterState& state, int direction) {
  const bool by_octave = state.display_mode == kOctaveBarsMode;
  state.band_cursor = std::clamp(state.band_cursor + direction * (by_octave ? 3 : 1),
                                 by_octave ? 2 : 0, kLastThirdOctaveBand);
}

void StartOrStop(MeterState& state) {
  if (state.recording) {
    state.recording = false;
    state.paused = false;
    return;
  }
  state.recording = true;
  state.measurement_time = {};
  ++(state.record_manually ? state.manual_record_number : state.auto_record_number);
}

// A key: its bits, byte 2 low and byte 3 high, and what a press does.
struct Key {
  std::uint16_t bits;
  void (*press)(MeterState&);
};

// ENTER (0x0004) and GRP (0x8000) act only in menus the simulated meter does not have.
constexpr std::array kKeys{
    Key{0x0001,  // FREQ
        [](MeterState& s) {
          s.main_freq_weighting = (s.main_freq_weighting + 1) % kFreqWeightings;
        }},
    Key{0x0002,  // TIME
        [](MeterState& s) {
          s.main_time_weighting = (s.main_time_weighting + 1) % kTimeWeightings;
        }},
    Key{0x0008,  // STORE
        [](MeterState& s) { s.manual_record_number += s.record_manually ? 1 : 0; }},
    Key{0x0010, [](MeterState& s) { s.item_code = (s.item_code + 1) % kItems; }},           // UP
    Key{0x0020, [](MeterState& s) { s.item_code = (s.item_code + kItems - 1) % kItems; }},  // DOWN
    Key{0x0040, [](MeterState& s) { MoveBandCursor(s, +1); }},                              // RIGHT
    Key{0x0080, [](MeterState& s) { MoveBandCursor(s, -1); }},                              // LEFT
    Key{0x0100,  // PAUSE/CONT
        [](MeterState& s) { s.paused = s.recording && !s.paused; }},
    Key{0x0200, PressMode},
    Key{0x0400,  // LEVEL UP
        [](MeterState& s) { s.range_top = std::min(s.range_top + 10, kHighestRangeTop); }},
    Key{0x0800, StartOrStop},  // START/STOP, also the backlight key
    Key{0x1000, PressOct},
    Key{0x2000, PressMenu},
    Key{0x4000,  // LEVEL DOWN
        [](MeterState& s) { s.range_top = std::max(s.range_top - 10, kLowestRangeTop); }},
};

}  // namespace

void AddKeyCommands(CommandTable& table) {
  table.AddClass(
      kKeyCommandClass, [](std::span<const std::uint8_t> report, CommandContext& context) {
        const auto bits =
            static_cast<std::uint16_t>(ReportByte(report, 2) | ReportByte(report, 3) << 8);
        const auto key = std::find_if(kKeys.begin(), kKeys.end(), [bits](const Key& candidate) {
          return candidate.bits == bits;
        });
        if (key != kKeys.end()) {
          key->press(context.state);
        }
        context.Acknowledge();
      });
}

}  // namespace halvane
