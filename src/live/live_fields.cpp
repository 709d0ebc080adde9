#include "live/live_fields.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <string_view>

#include "files/calendar_time.h"
#include "live/band_labels.h"
#include "live/meter.h"
#include "text/number_text.h"

namespace halvane {

namespace {

constexpr std::size_t kMainLevel = 133;
constexpr std::size_t kMainStatistics = 135;
constexpr std::size_t kMainAllPass = 153;
constexpr std::size_t kSubAllPass = 159;
constexpr std::size_t kSubCurrent = 25;
constexpr std::size_t kSubStatistics = 23;
constexpr std::size_t kOctaveBands = 45;
constexpr std::size_t kThirdOctaveBands = 67;

constexpr std::array<std::string_view, 9> kMainStatisticNames{"leq", "le",  "lmax", "lmin", "l05",
                                                              "l10", "l50", "l90",  "l95"};
// The sub list in reply order; its second entry, the current value, is sub_level.
constexpr std::array<std::string_view, 11> kSubStatisticNames{
    "lp", "", "leq", "le", "lmax", "lmin", "l05", "l10", "l50", "l90", "l95"};

enum class Screen { LevelMeter, OctaveBars, OctaveTables, None };

struct ScreenBands {
  Screen screen;
  std::string_view name;
  bool octaves;
  bool thirds;
};

// By display mode 0 to 7.
constexpr std::array<ScreenBands, 8> kScreens{{
    {Screen::LevelMeter, "SLM", false, false},
    {Screen::OctaveBars, "1/1 OCT", true, false},
    {Screen::OctaveBars, "1/3 OCT", false, true},
    {Screen::OctaveBars, "1/1 & 1/3 OCT", true, true},
    {Screen::OctaveTables, "1/1 OCT", true, false},
    {Screen::OctaveTables, "1/3 OCT", false, true},
    {Screen::OctaveTables, "1/1 & 1/3 OCT", true, true},
    {Screen::OctaveTables, "1/1 & 1/3 OCT", true, true},
}};

ScreenBands BandsOf(int display_mode) {
  if (display_mode < 0 || display_mode >= static_cast<int>(kScreens.size())) {
    return {Screen::None, "Non-Measurement Mode", false, false};
  }
  return kScreens[static_cast<std::size_t>(display_mode)];
}

class FieldList {
 public:
  void Add(std::string_view name, LiveValue value) {
    fields_.push_back({std::string(name), std::move(value)});
  }
  // A level the meter shows as "---.-" (exactly 0) has no value.
  void AddLevel(std::string_view name, const LiveReading& reading, std::size_t high_index,
                bool carried) {
    const double level = reading.LevelNumber(high_index);
    Add(name, carried && level != 0 ? LiveValue(level) : LiveValue());
  }
  std::vector<LiveField> Take() { return std::move(fields_); }

 private:
  std::vector<LiveField> fields_;
};

// The meter's clock as ISO 8601; none when a byte is not two BCD digits (a corrupt reply), so
// that the field never holds a time that is not one.
LiveValue MeterClockValue(const LiveReading& r) {
  const auto& c = r.MeterClock;
  if (!std::all_of(c.begin(), c.end(),
                   [](const std::string& part) { return IsTwoDecimalDigits(part); })) {
    return {};
  }
  return "20" + c[0] + "-" + c[1] + "-" + c[2] + "T" + c[3] + ":" + c[4] + ":" + c[5];
}

void AddBands(FieldList& fields, const LiveReading& r, const ScreenBands& bands) {
  // The bar screens carry the level above the range bottom, the tables the level itself.
  const double offset = bands.screen == Screen::OctaveBars ? r.RangeBottom : 0;
  const auto add_band = [&](std::string_view prefix, std::string_view label, std::size_t index,
                            bool carried) {
    const std::string name = std::string(prefix) + std::string(label);
    fields.Add(name, carried ? LiveValue(r.LevelNumber(index) + offset) : LiveValue());
  };
  for (std::size_t band = 0; band < OctaveBandLabels.size(); ++band) {
    add_band("oct_", OctaveBandLabels[band], kOctaveBands + 2 * band, bands.octaves);
  }
  for (std::size_t band = 0; band + 1 < ThirdOctaveBandLabels.size(); ++band) {
    add_band("third_", ThirdOctaveBandLabels[band], kThirdOctaveBands + 2 * band, bands.thirds);
  }
}

}  // namespace

LiveSample LiveSampleAt(std::chrono::system_clock::time_point time, const LiveReading& reading) {
  const auto since_epoch = time.time_since_epoch();
  const auto whole_seconds = std::chrono::floor<std::chrono::seconds>(since_epoch);
  const auto milliseconds =
      std::chrono::floor<std::chrono::milliseconds>(since_epoch - whole_seconds).count();
  const auto seconds = static_cast<std::time_t>(whole_seconds.count());
  const std::tm utc = UtcCalendar(seconds);
  std::array<char, 48> text{};
  const std::size_t length = std::strftime(text.data(), text.size(), "%Y-%m-%dT%H:%M:%S", &utc);
  std::snprintf(text.data() + length, text.size() - length, ".%03dZ",
                static_cast<int>(milliseconds));
  LiveSample sample;
  sample.pc_time = text.data();
  sample.pc_time_ns = std::chrono::duration_cast<std::chrono::nanoseconds>(since_epoch).count();
  sample.reading = reading;
  return sample;
}

std::vector<LiveField> LiveFields(const LiveSample& sample) {
  const LiveReading& r = sample.reading;
  const ScreenBands bands = BandsOf(r.DisplayMode);
  const bool level_meter = bands.screen == Screen::LevelMeter;
  const bool octave = bands.screen == Screen::OctaveBars || bands.screen == Screen::OctaveTables;
  FieldList fields;
  fields.Add("time", sample.pc_time);
  fields.Add("display_mode", std::int64_t{r.DisplayMode});
  fields.Add("screen", std::string(bands.name));
  fields.Add("main_freq_weighting", r.MainFreqWeighting);
  fields.Add("main_time_weighting", r.MainTimeWeighting);
  fields.Add("main_item", r.MainItemLabel);
  fields.Add("sub_freq_weighting", r.SubFreqWeighting);
  fields.Add("sub_time_weighting", r.SubTimeWeighting);
  fields.Add("sub_item", r.SubItemLabel);
  fields.Add("range_top", std::int64_t{r.RangeTop});
  fields.Add("range_bottom", std::int64_t{r.RangeBottom});
  fields.Add("recording", r.Recording);
  fields.Add("paused", r.Paused);
  fields.Add("stopped", r.Stopped);
  fields.Add("usb", r.UsbActive);
  fields.Add("comparator", r.ComparatorOutput);
  fields.Add("memory_full", r.MemoryFull);
  fields.Add("auto_memory_full", r.AutoMemoryFull);
  fields.Add("storage", std::string(r.StorageIsFlash ? "flash" : "sd"));
  fields.Add("battery", std::int64_t{r.BatteryLevel});
  fields.Add("meter_clock", MeterClockValue(r));
  fields.AddLevel("main_level", r, level_meter ? kMainLevel : kMainAllPass, level_meter || octave);
  fields.AddLevel("sub_level", r, level_meter ? kSubCurrent : kSubAllPass, level_meter || octave);
  for (std::size_t i = 0; i < kMainStatisticNames.size(); ++i) {
    fields.AddLevel("main_" + std::string(kMainStatisticNames[i]), r, kMainStatistics + 2 * i,
                    level_meter);
  }
  for (std::size_t i = 0; i < kSubStatisticNames.size(); ++i) {
    if (!kSubStatisticNames[i].empty()) {
      fields.AddLevel("sub_" + std::string(kSubStatisticNames[i]), r, kSubStatistics + 2 * i,
                      level_meter);
    }
  }
  AddBands(fields, r, bands);
  return fields.Take();
}

}  // namespace halvane
