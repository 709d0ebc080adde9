#pragma once
// The simulated meter's settings and status flags: everything its replies report besides the
// levels. Plain data; commands and tests change it directly.

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace halvane {

// A level in whole dB in one band: a third-octave band 0 to 32, or 33 for the all-pass level.
struct LevelAndBand {
  int level_db = 0;
  int band = 0;
};

inline constexpr int kAllPassBand = 33;

struct MeterState {
  int display_mode = 0;   // 0 SLM, 1-3 octave bars, 4-7 octave tables, other: not measuring
  int battery_level = 4;  // 0 to 4 segments

  bool storage_is_flash = true;  // false: SD card
  bool record_manually = false;  // false: recording automatically
  bool memory_full = false;
  bool auto_memory_full = false;

  bool recording = false;
  bool paused = false;
  bool stopped = false;
  bool usb_active = true;
  // Set by each live poll from the comparator settings and the levels.
  bool comparator_output = false;

  int trigger_mode = 0;  // 0 off, 1 level 1, 2 level 2, 3 external, 4 time
  int range_top = 130;   // dB

  // Frequency weighting codes 0 A, 1 C, 2 Z; time weighting codes 0 F, 1 S, 2 t, 3 I.
  int main_freq_weighting = 0;
  int main_time_weighting = 0;
  int sub_freq_weighting = 1;
  int sub_time_weighting = 1;

  int item_code = 1;     // 0 Lp, 1 Leq, 2 LE, 3 Lmax, 4 Lmin, 5 L05, 6 L10, 7 L50, 8 L90, 9 L95
  int band_cursor = 20;  // third-octave band 0 to 32; 20 lies in the 1 kHz octave

  // Which octave screens the MODE and OCT keys go to: 0 1/1, 1 1/3, 2 both.
  int octave_view = 0;
  // The display mode that the MENU key goes back to.
  int display_mode_before_menu = 0;

  int manual_record_number = 0;
  int auto_record_number = 0;

  int backlight = 3;  // 1 off, 2 30 s, 3 1 min, 4 3 min
  std::chrono::seconds recording_period{std::chrono::minutes{10}};
  std::chrono::seconds sampling_interval{1};
  std::chrono::seconds trigger_time{std::chrono::hours{12}};  // time of day
  // Level triggers 1 and 2.
  std::array<LevelAndBand, 2> level_triggers{{{85, 19}, {90, kAllPassBand}}};

  bool comparator_enabled = false;
  LevelAndBand comparator_threshold{75, 19};

  // Grows with the wall clock while recording and not paused.
  std::chrono::milliseconds measurement_time{0};
  // The meter's clock minus the wall clock; setting the meter's clock changes only this.
  std::chrono::system_clock::duration clock_offset{0};

  // The data logger. One set text per SD card entry, in entry order (a char per byte; nothing
  // for an empty entry), and the used area of the flash memory.
  std::vector<std::optional<std::string>> sd_entries{};
  std::vector<std::uint8_t> flash_image{};
};

// The bottom of the level range that goes with a range top.
inline int RangeBottomFor(int range_top) {
  return range_top >= 120 ? range_top - 90 : 20;
}

}  // namespace halvane
