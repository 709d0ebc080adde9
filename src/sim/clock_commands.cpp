#include "sim/clock_commands.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <optional>

#include "sim/bcd.h"
#include "sim/calendar_time.h"

namespace halvane {

namespace {

constexpr std::uint8_t kReadClock = 0x01;
constexpr std::uint8_t kSetClock = 0x02;
constexpr std::size_t kFirstClockByte = 3;

// The time set by a clock set report; nothing when a byte is no BCD or the date does not exist.
std::optional<std::chrono::sys_seconds> TimeToSet(std::span<const std::uint8_t> report) {
  std::array<int, 6> fields{};
  for (std::size_t field = 0; field < fields.size(); ++field) {
    const std::optional<int> value = FromBcd(ReportByte(report, kFirstClockByte + field));
    if (!value) {
      return std::nullopt;
    }
    fields[field] = *value;
  }
  return TimePointOf(CalendarTime{.year = 2000 + fields[0],
                                  .month = fields[1],
                                  .day = fields[2],
                                  .hour = fields[3],
                                  .minute = fields[4],
                                  .second = fields[5]});
}

}  // namespace

void AddClockCommands(CommandTable& table) {
  table.AddSubCommand(kSettingCommandClass, kReadClock,
                      [](std::span<const std::uint8_t>, CommandContext& context) {
                        const CalendarTime now = CalendarTimeAt(context.MeterTime());
                        context.Answer({ToBcd(now.year % 100), ToBcd(now.month), ToBcd(now.day),
                                        ToBcd(now.hour), ToBcd(now.minute), ToBcd(now.second)});
                      });
  table.AddSubCommand(kSettingCommandClass, kSetClock,
                      [](std::span<const std::uint8_t> report, CommandContext& context) {
                        if (const auto time = TimeToSet(report)) {
                          // From now on the clock runs on from the time set.
                          context.state.clock_offset = *time - context.wall_time;
                        }
                        context.Acknowledge();
                      });
}

}  // namespace halvane
