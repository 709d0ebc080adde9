#pragma once
// Which handler answers an output report. A report is keyed by its command class (byte 1) and,
// for the classes that carry one, its sub-command (byte 2); each family of commands registers
// its own handlers.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <span>

#include "link/reports.h"
#include "sim/level_model.h"
#include "sim/meter_state.h"
#include "sim/page_stream.h"

namespace halvane {

// The class of the commands that read or change a setting; byte 2 picks the setting.
inline constexpr std::uint8_t kSettingCommandClass = 0x41;

// What a handler may use and change while it answers one report.
struct CommandContext {
  MeterState& state;
  LevelModel& levels;
  std::chrono::system_clock::time_point wall_time;  // when the report arrived
  std::deque<InputReportBuffer>& replies;           // the handler appends its replies here
  PageStream& pages;                                // a long transfer, read once `replies` is empty

  // The meter's own clock when the report arrived.
  std::chrono::system_clock::time_point MeterTime() const { return wall_time + state.clock_offset; }
  // Queues one reply carrying `bytes` from byte 1 on, zeros behind them.
  void Answer(std::initializer_list<int> bytes);
  // Queues the all-zero reply that acknowledges a command.
  void Acknowledge() { Answer({}); }
};

// Byte `index` of a report; 0 when the report is shorter, as the rest of a short report reads.
inline std::uint8_t ReportByte(std::span<const std::uint8_t> report, std::size_t index) {
  return index < report.size() ? report[index] : std::uint8_t{0};
}

class CommandTable {
 public:
  // The report as received, report ID first.
  using Handler = std::function<void(std::span<const std::uint8_t> report, CommandContext&)>;

  // A class whose byte 2 is data (or absent) has one handler for the whole class.
  void AddClass(std::uint8_t command_class, Handler handler);
  // A class whose byte 2 picks the command has one handler per sub-command.
  void AddSubCommand(std::uint8_t command_class, std::uint8_t sub_command, Handler handler);

  // The handler for this report; null when the meter knows no such command.
  const Handler* Find(std::span<const std::uint8_t> report) const;

 private:
  std::map<std::uint8_t, Handler> class_handlers_;
  std::map<std::pair<std::uint8_t, std::uint8_t>, Handler> sub_command_handlers_;
};

}  // namespace halvane
