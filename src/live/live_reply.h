#pragma once
// The meter's answer to the live poll (0x00 0x42), decoded. Byte numbers index the input report,
// whose byte 0 is the report ID.

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "link/reports.h"

namespace halvane {

inline constexpr std::uint8_t kLivePollCommand = 0x42;
// How often the main window's Timer1, and so every live poll, asks the meter.
inline constexpr std::chrono::milliseconds kLivePollInterval{160};
// Where the band levels of the octave screens start: 11 octave pairs, then 34 third-octave pairs.
inline constexpr std::size_t kOctaveBandsIndex = 45;
inline constexpr std::size_t kThirdBandsIndex = 67;

struct LiveReading {
  InputReportBuffer Bytes{};  // the reply; bytes it did not carry are 0

  bool MemoryFull = false;        // byte 1 bit 3
  bool AutoMemoryFull = false;    // byte 1 bit 4
  bool RecordManually = false;    // byte 1 bit 6
  bool StorageIsFlash = false;    // byte 1 bit 7
  bool Recording = false;         // byte 2 bit 7, ImaRec
  bool Paused = false;            // byte 2 bit 6, ImaPause
  bool UsbActive = false;         // byte 2 bit 5, ImaUsb
  bool Stopped = false;           // byte 2 bit 3, ImaStop
  bool ComparatorOutput = false;  // byte 2 bit 2, "Cmp"

  int DisplayMode = 0;   // byte 4
  int BatteryLevel = 0;  // byte 5
  // Bytes 6 to 11 as two-digit hex texts: year, month, day, hour, minute, second.
  std::array<std::string, 6> MeterClock;
  int ManualRecordNumber = 0;  // byte 12
  int AutoRecordNumber = 0;    // byte 13
  // Bytes 14 to 16 as two-digit hex texts: hours, minutes, seconds of the measurement time.
  std::array<std::string, 3> MeasurementTime;
  int TriggerMode = 0;  // byte 17
  int RangeTop = 0;     // byte 18
  int RangeBottom = 0;  // RangeTop - 90 from 120 on, else 20
  std::string MainFreqWeighting, SubFreqWeighting;
  std::string MainTimeWeighting, SubTimeWeighting;
  std::string MainItemLabel, SubItemLabel;
  std::array<std::string, 11> SubItemLevels;  // bytes 23 to 44
  int BandCursor = 0;                         // byte 22

  // Level text and number of the pair starting at byte `high_index` (high byte first).
  std::string Level(std::size_t high_index) const;
  double LevelNumber(std::size_t high_index) const;
};

// Decodes a reply of any length; bytes beyond its end count as 0.
LiveReading DecodeLiveReply(std::span<const std::uint8_t> reply);

// The ComboTrigger entry and the header tag for trigger mode 0 to 4; nullopt for other modes.
struct TriggerDisplay {
  std::string_view entry;
  std::string_view tag;
};
std::optional<TriggerDisplay> TriggerDisplayFor(int trigger_mode);

}  // namespace halvane
