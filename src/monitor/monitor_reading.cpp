#include "monitor/monitor_reading.h"

#include <cmath>
#include <variant>

namespace halvane {

namespace {

constexpr std::size_t kMain = 0;
constexpr std::size_t kSub = 1;
constexpr int kSoundLevelMeterMode = 0;
constexpr int kLastOctaveMode = 7;

const LiveValue& ValueOf(const std::vector<LiveField>& fields, std::string_view name) {
  static const LiveValue kNone;
  for (const LiveField& field : fields) {
    if (field.name == name) {
      return field.value;
    }
  }
  return kNone;
}

std::string TextOf(const std::vector<LiveField>& fields, std::string_view name) {
  const LiveValue& value = ValueOf(fields, name);
  return std::holds_alternative<std::string>(value) ? std::get<std::string>(value) : "";
}

// The level of a field as an Lp; a level shown as "---.-" has none.
ChannelLevel LpOf(const LiveValue& value, std::string quantity) {
  if (!std::holds_alternative<double>(value)) {
    return {std::move(quantity), std::nullopt, "the meter shows no level (---.-)"};
  }
  return {
      std::move(quantity), static_cast<TenthsDb>(std::lround(std::get<double>(value) * 10)), {}};
}

}  // namespace

MonitorReading MonitorReadingOf(const LiveSample& sample) {
  const std::vector<LiveField> fields = LiveFields(sample);
  const LiveReading& reading = sample.reading;
  MonitorReading result;
  result.time_ms = sample.pc_time_ns / 1'000'000;
  const int mode = reading.DisplayMode;
  if (mode == kSoundLevelMeterMode) {
    const std::string main_lp = "L" + reading.MainFreqWeighting + reading.MainTimeWeighting;
    result.channels[kSub] =
        LpOf(ValueOf(fields, "sub_lp"), "L" + reading.SubFreqWeighting + reading.SubTimeWeighting);
    if (reading.MainItemLabel == main_lp) {
      result.channels[kMain] = LpOf(ValueOf(fields, "main_level"), main_lp);
    } else {
      result.channels[kMain] = {
          reading.MainItemLabel, std::nullopt,
          "the main channel shows " + reading.MainItemLabel + ", not its Lp (see --main-lp)"};
    }
    return result;
  }
  if (mode < 0 || mode > kLastOctaveMode) {
    result.channels.fill({"", std::nullopt, "the meter is not measuring"});
    return result;
  }
  const std::string screen = TextOf(fields, "screen");
  result.channels.fill({screen, std::nullopt, "the " + screen + " screen shows no Lp of it"});
  const std::string band_quantity = "L" + reading.MainTimeWeighting;
  for (const LiveField& field : fields) {
    if ((field.name.starts_with("oct_") || field.name.starts_with("third_")) &&
        std::holds_alternative<double>(field.value)) {
      result.bands.emplace_back(field.name, LpOf(field.value, band_quantity));
    }
  }
  return result;
}

}  // namespace halvane
