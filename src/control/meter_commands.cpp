#include "control/meter_commands.h"

#include <algorithm>

namespace halvane {

void FillCommand(OutputReportBuffer& report, std::uint8_t command_class,
                 std::initializer_list<std::uint8_t> payload) {
  report[0] = 0x00;
  report[1] = command_class;
  std::copy_n(payload.begin(), std::min(payload.size(), report.size() - 2), report.begin() + 2);
}

const InputReportBuffer& ExchangeSetting(USB& usb, std::initializer_list<std::uint8_t> payload) {
  FillCommand(usb.OutputReport(), kSettingClass, payload);
  usb.ExchangeReports();
  return usb.InputReportCopy();
}

void ExchangeTimeSetting(USB& usb, std::uint8_t sub_command, const TimeFields& time) {
  ExchangeSetting(
      usb, {sub_command, static_cast<std::uint8_t>(time.hours),
            static_cast<std::uint8_t>(time.minutes), static_cast<std::uint8_t>(time.seconds)});
}

void FillKeyCommand(OutputReportBuffer& report, const MeterKey& key) {
  FillCommand(report, kKeyClass, {key.mask2, key.mask3});
}

int PressesToReach(std::string_view current, std::string_view wanted,
                   std::span<const std::string_view> cycle) {
  const auto from = std::find(cycle.begin(), cycle.end(), current);
  const auto to = std::find(cycle.begin(), cycle.end(), wanted);
  if (from == cycle.end() || to == cycle.end()) {
    return 0;
  }
  const auto size = static_cast<int>(cycle.size());
  return static_cast<int>(((to - from) % size + size) % size);
}

std::uint8_t ToPackedBcd(int value) {
  return static_cast<std::uint8_t>((value / 10 % 10) * 16 + value % 10);
}

}  // namespace halvane
