#include "live/live_reply.h"

#include <algorithm>

#include "live/meter.h"

namespace halvane {
namespace {

bool Bit(std::uint8_t byte, int bit) {
  return ((byte >> bit) & 1U) != 0;
}

// A BCD byte as its two hexadecimal digits, as the meter's clock shows it.
std::string TwoHexDigits(std::uint8_t byte) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[byte >> 4], kDigits[byte & 0x0F]};
}

}  // namespace

std::string LiveReading::Level(std::size_t high_index) const {
  if (high_index >= Bytes.size() - 1) {
    return FormatLevel(0, 0);
  }
  return FormatLevel(Bytes[high_index], Bytes[high_index + 1]);
}

double LiveReading::LevelNumber(std::size_t high_index) const {
  if (high_index >= Bytes.size() - 1) {
    return 0;
  }
  return LevelValue(Bytes[high_index], Bytes[high_index + 1]);
}

LiveReading DecodeLiveReply(std::span<const std::uint8_t> reply) {
  LiveReading r;
  std::copy_n(reply.begin(), std::min(reply.size(), r.Bytes.size()), r.Bytes.begin());
  const InputReportBuffer& b = r.Bytes;

  r.MemoryFull = Bit(b[1], 3);
  r.AutoMemoryFull = Bit(b[1], 4);
  r.RecordManually = Bit(b[1], 6);
  r.StorageIsFlash = Bit(b[1], 7);
  r.Recording = Bit(b[2], 7);
  r.Paused = Bit(b[2], 6);
  r.UsbActive = Bit(b[2], 5);
  r.Stopped = Bit(b[2], 3);
  r.ComparatorOutput = Bit(b[2], 2);

  r.DisplayMode = b[4];
  r.BatteryLevel = b[5];
  for (std::size_t i = 0; i < r.MeterClock.size(); ++i) {
    r.MeterClock[i] = TwoHexDigits(b[6 + i]);
  }
  r.ManualRecordNumber = b[12];
  r.AutoRecordNumber = b[13];
  for (std::size_t i = 0; i < r.MeasurementTime.size(); ++i) {
    r.MeasurementTime[i] = TwoHexDigits(b[14 + i]);
  }
  r.TriggerMode = b[17];
  r.RangeTop = b[18];
  r.RangeBottom = r.RangeTop >= 120 ? r.RangeTop - 90 : 20;

  r.MainFreqWeighting = FreqWeightingLetter(b[19] & 0x0F);
  r.SubFreqWeighting = FreqWeightingLetter(b[19] >> 4);
  r.MainTimeWeighting = TimeWeightingLetter(b[20] & 0x0F);
  r.SubTimeWeighting = TimeWeightingLetter(b[20] >> 4);
  const int item = b[21] & 0x0F;
  r.MainItemLabel = ItemLabel(item, r.MainFreqWeighting, r.MainTimeWeighting);
  r.SubItemLabel = ItemLabel(item, r.SubFreqWeighting, r.SubTimeWeighting);
  r.BandCursor = b[22];
  for (std::size_t i = 0; i < r.SubItemLevels.size(); ++i) {
    r.SubItemLevels[i] = r.Level(23 + 2 * i);
  }
  return r;
}

std::optional<TriggerDisplay> TriggerDisplayFor(int trigger_mode) {
  static constexpr std::array<TriggerDisplay, 5> kModes{{{"Off", "Ntrig"},
                                                         {"Trigger Level1", "LV1"},
                                                         {"Trigger Level2", "LV2"},
                                                         {"External", "EXT"},
                                                         {"Time", "Time"}}};
  if (trigger_mode < 0 || trigger_mode >= static_cast<int>(kModes.size())) {
    return std::nullopt;
  }
  return kModes[static_cast<std::size_t>(trigger_mode)];
}

}  // namespace halvane
